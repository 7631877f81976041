// The plug-in as the host modeller holds it: the library loaded, its fourteen
// exports found, the version checked, the host bound with MQInit, and its
// identity read. Unloaded when the session ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "loader/plugin_loader.hpp"
#include "protocol/host_types.hpp"
#include "protocol/plugin_exports.hpp"

namespace runner {

// The host version the runner announces to MQCheckVersion.
constexpr uint32_t kHostVersion = mq::kHostInterfaceVersion;

struct PluginIdentity {
  std::string path;
  std::string name;
  uint32_t product = 0;
  uint32_t id = 0;
  int32_t type = 0;
  uint32_t interfaceVersion = 0;  // MQCheckVersion's answer
  std::vector<std::string> menu;  // MQEnumString(0), (1), ... up to the first null
};

class PluginSession {
 public:
  // Loads the library and starts it against `hostPath` (the file given to
  // MQInit). Throws RunError naming the file and what failed.
  PluginSession(const std::string& pluginPath, const std::string& hostPath);
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  const PluginIdentity& identity() const { return identity_; }
  // The menu pick, as the host makes it: MQModifyObject(index, document).
  int32_t ModifyObject(int32_t index, DocumentHandle document) const;

 private:
  loader::LoadedPlugin plugin_;
  PluginIdentity identity_;
};

// The plug-in file built beside the running program.
std::string DefaultPluginPath();

}  // namespace runner
