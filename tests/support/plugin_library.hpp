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
// The host library that the tests bind the host functions from and start the
// plug-in with: the one given to UseHost (the test programs' --host=PATH),
// else $TERVOLIN_HOST_LIBRARY, else the replacement host this program links.
// The tests set documents, settings and the scripted user up through the
// linked host's control interface, so a host given here must share that
// state: the linked library itself, or a library that forwards to it.
std::string HostPath();
void UseHost(const std::string& path);
std::string DefaultHostPath();
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
