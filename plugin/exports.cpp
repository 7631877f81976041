// The fourteen functions the host modeller finds by name. Apart from
// MQCheckVersion and MQInit, each forwards to the plug-in object. They are
// declared from the export list first, so a definition here whose signature
// differs from the list does not compile.
//
// The host is C: nothing may unwind into it. Every export catches whatever
// its body throws (an allocation that fails under a menu pick, say) and
// answers its failure value: 0, or null for the texts. The operations write
// nothing before their last allocation, so a pick that fails this way leaves
// the document as it was.
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

namespace {

template <typename Result, typename Body>
Result Guarded(Result failure, Body body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

}  // namespace

TERVOLIN_EXPORT uint32_t MQCheckVersion(uint32_t hostVersion) {
  return Guarded(0u, [&] { return tervolin::CheckHostVersion(hostVersion); });
}

TERVOLIN_EXPORT int32_t MQInit(const char* hostFile) {
  return Guarded(0, [&] { return tervolin::BindHostFromFile(hostFile) ? 1 : 0; });
}

TERVOLIN_EXPORT void MQGetPlugInID(uint32_t* product, uint32_t* id) {
  Guarded(0, [&] {
    PluginInstance().GetPlugInID(product, id);
    return 0;
  });
}

TERVOLIN_EXPORT const char* MQGetPlugInName() {
  return Guarded<const char*>(nullptr, [] { return PluginInstance().GetPlugInName(); });
}

TERVOLIN_EXPORT int32_t MQGetPlugInType() {
  return Guarded(0, [] { return PluginInstance().GetPlugInType(); });
}

TERVOLIN_EXPORT const char* MQEnumString(int32_t index) {
  return Guarded<const char*>(nullptr, [&] { return tervolin::EnumStringFor(PluginInstance(), index); });
}

TERVOLIN_EXPORT const char* MQEnumFileType(int32_t index) {
  return Guarded<const char*>(nullptr, [&] { return tervolin::EnumFileTypeFor(PluginInstance(), index); });
}

TERVOLIN_EXPORT const char* MQEnumFileExt(int32_t index) {
  return Guarded<const char*>(nullptr, [&] { return tervolin::EnumFileExtFor(PluginInstance(), index); });
}

namespace {
int32_t FileCommand(int32_t index, void* first, void* second) {
  return Guarded(0, [&] { return tervolin::ProcessFileFor(PluginInstance(), index, first, second); });
}
int32_t MenuCommand(int32_t index, DocumentHandle document) {
  return Guarded(0, [&] { return tervolin::MenuCommandFor(PluginInstance(), index, document); });
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
  return Guarded(0, [&] { return tervolin::OnEventFor(PluginInstance(), document, code, arguments); });
}
