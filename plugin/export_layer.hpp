// The generic bodies of the exports. Each takes the plug-in object it serves,
// so the same layer drives any plug-in kind: the library's exports pass the
// one `Tervolin`, tests pass plug-in objects of the other kinds.
//
// Generic part: the file enumerations, ProcessFileFor and the station,
// command and import rows of OnEventFor (event_dispatch.cpp) serve those other
// kinds; this object plug-in reaches only the version check, the menu
// enumeration and MenuCommandFor, and answers every event with 0.
#pragma once

#include <cstdint>

#include "plugin/plugin_kinds.hpp"

namespace tervolin {

// The plug-in interface version (protocol/plugin_exports.hpp) to a host of
// that version or later, 0 to an older one.
uint32_t CheckHostVersion(uint32_t hostVersion);

const char* EnumStringFor(MQBasePlugin& plugin, int32_t index);
const char* EnumFileTypeFor(MQBasePlugin& plugin, int32_t index);
const char* EnumFileExtFor(MQBasePlugin& plugin, int32_t index);
int32_t ProcessFileFor(MQBasePlugin& plugin, int32_t index, void* first, void* second);
int32_t MenuCommandFor(MQBasePlugin& plugin, int32_t index, DocumentHandle document);

// Event dispatch by plug-in kind; `arguments` is the event's (name, pointer)
// list, or for a few codes a pointer to an int32 flag.
int32_t OnEventFor(MQBasePlugin& plugin, DocumentHandle document, int32_t code, void* arguments);

}  // namespace tervolin
