#include "tools/runner/plugin_session.hpp"

#include <cstdio>

#include "tools/runner/run_error.hpp"

namespace runner {

namespace {

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace

std::string DefaultPluginPath() { return loader::ExecutableDir() + TERVOLIN_PLUGIN_FILE_NAME; }

PluginSession::PluginSession(const std::string& pluginPath, const std::string& hostPath)
    : plugin_(pluginPath) {
  identity_.path = pluginPath;
  const std::string subject = "plug-in " + pluginPath;
  if (!plugin_.loaded()) throw RunError(subject + ": missing, or not a loadable library");
  // A library that lacks one of the fourteen names is not a plug-in the host
  // modeller would load.
  if (!plugin_.complete())
    throw RunError(subject + ": not a plug-in: it does not export " + plugin_.missing());
  const loader::PluginExports& api = plugin_.api();

  identity_.interfaceVersion = api.MQCheckVersion(kHostVersion);
  if (identity_.interfaceVersion == 0) {
    throw RunError(subject + ": MQCheckVersion refused host version " + Hex(kHostVersion));
  }
  if (api.MQInit(hostPath.c_str()) == 0) {
    throw RunError(subject + ": MQInit failed to bind the host functions from " + hostPath +
                   " (the file is missing or lacks a function the plug-in binds)");
  }
  api.MQGetPlugInID(&identity_.product, &identity_.id);
  const char* name = api.MQGetPlugInName();
  identity_.name = name != nullptr ? name : "";
  identity_.type = api.MQGetPlugInType();
  // A plug-in names a handful of menu entries at most; the bound keeps a
  // misbehaving one from running on forever.
  for (int32_t index = 0; index < 64; ++index) {
    const char* entry = api.MQEnumString(index);
    if (entry == nullptr) break;
    identity_.menu.emplace_back(entry);
  }
}

PluginSession::~PluginSession() = default;

int32_t PluginSession::ModifyObject(int32_t index, DocumentHandle document) const {
  return plugin_.api().MQModifyObject(index, document);
}

}  // namespace runner
