// The validator reaches the plug-in through the shared loader.
#pragma once

#include "loader/plugin_loader.hpp"

namespace validator {
using loader::ExecutableDir;
using loader::LoadedPlugin;
using loader::PluginExports;
}  // namespace validator
