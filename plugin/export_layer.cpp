#include "plugin/export_layer.hpp"

#include "protocol/plugin_exports.hpp"

namespace tervolin {

uint32_t CheckHostVersion(uint32_t hostVersion) {
  return hostVersion >= mq::kHostInterfaceVersion ? mq::kPluginInterfaceVersion : 0;
}

const char* EnumStringFor(MQBasePlugin& plugin, int32_t index) {
  const int32_t type = plugin.GetPlugInType();
  if (type >= kPluginCreate && type <= kPluginSelect) {
    auto* menu = dynamic_cast<MQMenuBasePlugin*>(&plugin);
    return menu != nullptr ? menu->EnumString(index) : nullptr;
  }
  if (type == kPluginStation || type == kPluginCommand) {
    auto* station = dynamic_cast<MQStationPlugin*>(&plugin);
    return station != nullptr && index == 0 ? station->EnumString() : nullptr;
  }
  return nullptr;
}

namespace {
MQFilePlugin* AsFilePlugin(MQBasePlugin& plugin) {
  const int32_t type = plugin.GetPlugInType();
  if (type != kPluginImport && type != kPluginExport) return nullptr;
  return dynamic_cast<MQFilePlugin*>(&plugin);
}
}  // namespace

const char* EnumFileTypeFor(MQBasePlugin& plugin, int32_t index) {
  MQFilePlugin* file = AsFilePlugin(plugin);
  return file != nullptr ? file->EnumFileType(index) : nullptr;
}

const char* EnumFileExtFor(MQBasePlugin& plugin, int32_t index) {
  MQFilePlugin* file = AsFilePlugin(plugin);
  return file != nullptr ? file->EnumFileExt(index) : nullptr;
}

int32_t ProcessFileFor(MQBasePlugin& plugin, int32_t index, void* first, void* second) {
  // Only a file plug-in has a file operation; any other kind answers 0
  // rather than calling an operation it does not have.
  auto* file = dynamic_cast<MQFilePlugin*>(&plugin);
  return file != nullptr ? file->ProcessFile(index, first, second) : 0;
}

int32_t MenuCommandFor(MQBasePlugin& plugin, int32_t index, DocumentHandle document) {
  auto* menu = dynamic_cast<MQMenuBasePlugin*>(&plugin);
  return menu != nullptr ? menu->Execute(index, document) : 0;
}

}  // namespace tervolin
