// The fourteen functions the host modeller finds by name. Apart from
// MQCheckVersion and MQInit, each forwards to the plug-in object. They are
// declared from the export list first, so a definition here whose signature
// differs from the list does not compile.
#include <cstdint>

#include "binding/host_api.hpp"
#include "plugin/export_layer.hpp"
#include "plugin/tervolin.hpp"
#include "protocol/plugin_exports.hpp"

#ifdef _WIN32
#define TERVOLIN_EXPORT extern "C" __declspec(dllexport)
#else
#define TERVOLIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// NOLINTNEXTLINE(bugprone-macro-parentheses): the parameters are a parenthesised list
#define TERVOLIN_DECLARE_EXPORT(name, ret, params) TERVOLIN_EXPORT ret name params;
TERVOLIN_PLUGIN_EXPORTS(TERVOLIN_DECLARE_EXPORT)
#undef TERVOLIN_DECLARE_EXPORT

using tervolin::PluginInstance;

TERVOLIN_EXPORT uint32_t MQCheckVersion(uint32_t hostVersion) {
  return tervolin::CheckHostVersion(hostVersion);
}

TERVOLIN_EXPORT int32_t MQInit(const char* hostFile) { return tervolin::BindHostFromFile(hostFile) ? 1 : 0; }

TERVOLIN_EXPORT void MQGetPlugInID(uint32_t* product, uint32_t* id) {
  PluginInstance().GetPlugInID(product, id);
}

TERVOLIN_EXPORT const char* MQGetPlugInName() { return PluginInstance().GetPlugInName(); }

TERVOLIN_EXPORT int32_t MQGetPlugInType() { return PluginInstance().GetPlugInType(); }

TERVOLIN_EXPORT const char* MQEnumString(int32_t index) {
  return tervolin::EnumStringFor(PluginInstance(), index);
}

TERVOLIN_EXPORT const char* MQEnumFileType(int32_t index) {
  return tervolin::EnumFileTypeFor(PluginInstance(), index);
}

TERVOLIN_EXPORT const char* MQEnumFileExt(int32_t index) {
  return tervolin::EnumFileExtFor(PluginInstance(), index);
}

namespace {
int32_t FileCommand(int32_t index, void* first, void* second) {
  return tervolin::ProcessFileFor(PluginInstance(), index, first, second);
}
int32_t MenuCommand(int32_t index, DocumentHandle document) {
  return tervolin::MenuCommandFor(PluginInstance(), index, document);
}
}  // namespace

TERVOLIN_EXPORT int32_t MQImportFile(int32_t index, void* first, void* second) {
  return FileCommand(index, first, second);
}

TERVOLIN_EXPORT int32_t MQExportFile(int32_t index, void* first, void* second) {
  return FileCommand(index, first, second);
}

TERVOLIN_EXPORT int32_t MQCreate(int32_t index, DocumentHandle document) {
  return MenuCommand(index, document);
}

TERVOLIN_EXPORT int32_t MQModifyObject(int32_t index, DocumentHandle document) {
  return MenuCommand(index, document);
}

TERVOLIN_EXPORT int32_t MQModifySelect(int32_t index, DocumentHandle document) {
  return MenuCommand(index, document);
}

TERVOLIN_EXPORT int32_t MQOnEvent(DocumentHandle document, int32_t code, void* arguments) {
  return tervolin::OnEventFor(PluginInstance(), document, code, arguments);
}
