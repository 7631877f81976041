// Which parts of the replacement host's control interface this build has:
// its widgets (the scripted user and the dialog snapshot) and its settings
// tree. A host without them still loads the plug-in and makes the pick.
#pragma once

#if __has_include("mqhost/widgets.hpp")
#define RUNNER_HOST_HAS_WIDGETS 1
#else
#define RUNNER_HOST_HAS_WIDGETS 0
#endif

#if __has_include("mqhost/settings.hpp")
#define RUNNER_HOST_HAS_SETTINGS 1
#else
#define RUNNER_HOST_HAS_SETTINGS 0
#endif
