// The fourteen functions a plug-in library exports, which the host finds by
// name. This list is the one place their names and signatures are written:
// the plug-in's definitions, the linker's export list (exports.map, made by
// CMake), the export-table test's expected names, and the lookups of the
// loader, the runner and the validator all come from it.
//
// TERVOLIN_PLUGIN_EXPORT(name, return type, (parameters)). The host calls:
// - MQCheckVersion first, with its own version; 0 refuses the host, any other
//   answer is the interface version the plug-in was written for.
// - MQInit once, with the file that exports the host functions; 0 means the
//   plug-in could not bind them and is not used.
// - MQGetPlugInID, MQGetPlugInName, MQGetPlugInType, MQEnumString for the
//   identity and the menu; MQEnumString returns null past the last entry.
// - MQEnumFileType, MQEnumFileExt, MQImportFile, MQExportFile only on import
//   and export plug-ins; others answer null or 0.
// - MQCreate, MQModifyObject, MQModifySelect for a menu pick by entry index;
//   the answer is the picked operation's truth value, not whether the
//   document changed: 0 for a cancelled dialog, a refused or impossible
//   operation and the clipboard copy (which changes nothing even when it
//   succeeds); 1 for an operation that did its work, and for a confirmed
//   dialog whose code names no operation, which changes nothing either.
// - MQOnEvent for host events by code; the arguments are an event's
//   (name, pointer) list or, for a few codes, a pointer to an int32 flag.
// None of them lets an exception out.
#pragma once

#include <cstdint>

#include "protocol/host_types.hpp"

// clang-format off
#define TERVOLIN_PLUGIN_EXPORTS(TERVOLIN_PLUGIN_EXPORT) \
  TERVOLIN_PLUGIN_EXPORT(MQCheckVersion, uint32_t, (uint32_t hostVersion)) \
  TERVOLIN_PLUGIN_EXPORT(MQInit, int32_t, (const char* hostFile)) \
  TERVOLIN_PLUGIN_EXPORT(MQGetPlugInID, void, (uint32_t* product, uint32_t* id)) \
  TERVOLIN_PLUGIN_EXPORT(MQGetPlugInName, const char*, ()) \
  TERVOLIN_PLUGIN_EXPORT(MQGetPlugInType, int32_t, ()) \
  TERVOLIN_PLUGIN_EXPORT(MQEnumString, const char*, (int32_t index)) \
  TERVOLIN_PLUGIN_EXPORT(MQEnumFileType, const char*, (int32_t index)) \
  TERVOLIN_PLUGIN_EXPORT(MQEnumFileExt, const char*, (int32_t index)) \
  TERVOLIN_PLUGIN_EXPORT(MQImportFile, int32_t, (int32_t index, void* first, void* second)) \
  TERVOLIN_PLUGIN_EXPORT(MQExportFile, int32_t, (int32_t index, void* first, void* second)) \
  TERVOLIN_PLUGIN_EXPORT(MQCreate, int32_t, (int32_t index, DocumentHandle document)) \
  TERVOLIN_PLUGIN_EXPORT(MQModifyObject, int32_t, (int32_t index, DocumentHandle document)) \
  TERVOLIN_PLUGIN_EXPORT(MQModifySelect, int32_t, (int32_t index, DocumentHandle document)) \
  TERVOLIN_PLUGIN_EXPORT(MQOnEvent, int32_t, (DocumentHandle document, int32_t code, void* arguments))
// clang-format on

namespace mq {

// The host modeller's plug-in interface version: what a host announces to
// MQCheckVersion, and the oldest host this plug-in takes.
inline constexpr uint32_t kHostInterfaceVersion = 0x4501;
// What MQCheckVersion answers a host it takes: the interface version the
// plug-in was written for.
inline constexpr uint32_t kPluginInterfaceVersion = 0x451;

}  // namespace mq

namespace tervolin {

// NOLINTBEGIN(bugprone-macro-parentheses): the parameters are a parenthesised list
// The function pointer type of each export: PluginExport::MQInit and so on.
namespace plugin_export {
#define TERVOLIN_EXPORT_TYPE(name, ret, params) using name = ret(*) params;
TERVOLIN_PLUGIN_EXPORTS(TERVOLIN_EXPORT_TYPE)
#undef TERVOLIN_EXPORT_TYPE
}  // namespace plugin_export

// The names, in the order of the list.
#define TERVOLIN_EXPORT_NAME(name, ret, params) #name,
inline constexpr const char* kPluginExportNames[] = {TERVOLIN_PLUGIN_EXPORTS(TERVOLIN_EXPORT_NAME)};
#undef TERVOLIN_EXPORT_NAME
// NOLINTEND(bugprone-macro-parentheses)

inline constexpr int kPluginExportCount =
    static_cast<int>(sizeof kPluginExportNames / sizeof kPluginExportNames[0]);
static_assert(kPluginExportCount == 14, "a plug-in exports exactly fourteen functions");

}  // namespace tervolin
