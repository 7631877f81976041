// Whether this build of the replacement host has its settings tree. A host
// without it still loads the plug-in and makes the pick; the options are then
// not kept between runs.
#pragma once

#if __has_include("mqhost/settings.hpp")
#define RUNNER_HOST_HAS_SETTINGS 1
#else
#define RUNNER_HOST_HAS_SETTINGS 0
#endif
