// The plug-in library loaded as the host modeller loads it, with its
// fourteen exports looked up by name. Shared by the tests, the validator and
// the other tools that drive a built plug-in.
#pragma once

#include <cstdint>
#include <string>

#include "platform/dynamic_library.hpp"
#include "protocol/plugin_exports.hpp"

namespace loader {

// One field per export of protocol/plugin_exports.hpp, typed from the list.
struct PluginExports {
#define LOADER_EXPORT_FIELD(name, ret, params) tervolin::plugin_export::name name = nullptr;
  TERVOLIN_PLUGIN_EXPORTS(LOADER_EXPORT_FIELD)
#undef LOADER_EXPORT_FIELD
};

class LoadedPlugin {
 public:
  explicit LoadedPlugin(const std::string& path);
  ~LoadedPlugin();
  LoadedPlugin(const LoadedPlugin&) = delete;
  LoadedPlugin& operator=(const LoadedPlugin&) = delete;

  bool loaded() const { return library_ != nullptr; }
  // True when all fourteen exports were found; `missing` names the first one
  // that was not.
  bool complete() const { return missing_.empty() && loaded(); }
  const std::string& missing() const { return missing_; }
  const PluginExports& api() const { return api_; }

  // MQCheckVersion with the host interface version and MQInit with the
  // replacement host, as the host modeller starts a plug-in. True when both
  // succeed.
  bool Start(const std::string& hostPath);

 private:
  platform::LibraryHandle library_ = nullptr;
  PluginExports api_;
  std::string missing_;
};

// Folder of the running program, where the build puts the plug-in and the
// host libraries; ends with the path separator.
std::string ExecutableDir();

}  // namespace loader
