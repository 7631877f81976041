// A plug-in library that answers every host version with 0: the host must not
// go on to MQInit. It exports the fourteen names so that only the version
// check fails.
#include <cstdint>

#define EXPORT extern "C" __attribute__((visibility("default")))

EXPORT uint32_t MQCheckVersion(uint32_t) { return 0; }
EXPORT int32_t MQInit(const char*) { return 1; }
EXPORT void MQGetPlugInID(uint32_t* product, uint32_t* id) { *product = *id = 0; }
EXPORT const char* MQGetPlugInName() { return "refuses every host"; }
EXPORT int32_t MQGetPlugInType() { return 4; }
EXPORT const char* MQEnumString(int32_t) { return nullptr; }
EXPORT const char* MQEnumFileType(int32_t) { return nullptr; }
EXPORT const char* MQEnumFileExt(int32_t) { return nullptr; }
EXPORT int32_t MQImportFile(int32_t, void*, void*) { return 0; }
EXPORT int32_t MQExportFile(int32_t, void*, void*) { return 0; }
EXPORT int32_t MQCreate(int32_t, void*) { return 0; }
EXPORT int32_t MQModifyObject(int32_t, void*) { return 0; }
EXPORT int32_t MQModifySelect(int32_t, void*) { return 0; }
EXPORT int32_t MQOnEvent(void*, int32_t, void*) { return 0; }
