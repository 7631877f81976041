// Loading the built plug-in into a test process and reaching its fourteen
// exports, as the host modeller does.
#pragma once

#include <cstdint>
#include <string>

#include "loader/plugin_loader.hpp"
#include "protocol/host_types.hpp"

namespace testing_support {

using loader::PluginExports;

// Folder of the running test program; the plug-in and the hosts are built
// beside it.
std::string ExecutableDir();
std::string PluginPath();
std::string HostPath();
std::string IncompleteHostPath();

// The plug-in library, loaded for the lifetime of the object; by default the
// one built beside the test program.
class PluginLibrary : public loader::LoadedPlugin {
 public:
  explicit PluginLibrary(const std::string& path = PluginPath()) : LoadedPlugin(path) {}
  // Version check and MQInit against the replacement host, as the host does
  // at start-up. True when both succeed.
  bool Start() { return LoadedPlugin::Start(HostPath()); }
};

}  // namespace testing_support
