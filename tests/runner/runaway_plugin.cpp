// A plug-in library whose menu pick writes an infinite origin into the
// current object, as a faulty plug-in might: the runner must then refuse to
// write the scene rather than write a value that cannot be read back.
#include <dlfcn.h>

#include <cstdint>
#include <limits>

#define EXPORT extern "C" __attribute__((visibility("default")))

namespace {
using GetCurrentIndex = int (*)(void*);
using GetObject = void* (*)(void*, int);
using SetFloatArray = void (*)(void*, int, const float*);
GetCurrentIndex getCurrentIndex = nullptr;
GetObject getObject = nullptr;
SetFloatArray setFloatArray = nullptr;
constexpr int kLocalTranslation = 771;
}  // namespace

EXPORT uint32_t MQCheckVersion(uint32_t) { return 0x451; }
EXPORT int32_t MQInit(const char* host) {
  void* library = dlopen(host, RTLD_NOW);
  if (library == nullptr) return 0;
  getCurrentIndex = reinterpret_cast<GetCurrentIndex>(dlsym(library, "MQDoc_GetCurrentObjectIndex"));
  getObject = reinterpret_cast<GetObject>(dlsym(library, "MQDoc_GetObject"));
  setFloatArray = reinterpret_cast<SetFloatArray>(dlsym(library, "MQObj_SetFloatArray"));
  return getCurrentIndex != nullptr && getObject != nullptr && setFloatArray != nullptr ? 1 : 0;
}
EXPORT void MQGetPlugInID(uint32_t* product, uint32_t* id) { *product = *id = 1; }
EXPORT const char* MQGetPlugInName() { return "writes an infinite origin"; }
EXPORT int32_t MQGetPlugInType() { return 4; }
EXPORT const char* MQEnumString(int32_t index) { return index == 0 ? "Runaway" : nullptr; }
EXPORT const char* MQEnumFileType(int32_t) { return nullptr; }
EXPORT const char* MQEnumFileExt(int32_t) { return nullptr; }
EXPORT int32_t MQImportFile(int32_t, void*, void*) { return 0; }
EXPORT int32_t MQExportFile(int32_t, void*, void*) { return 0; }
EXPORT int32_t MQCreate(int32_t, void*) { return 0; }
EXPORT int32_t MQModifyObject(int32_t, void* document) {
  const float origin[3] = {0, std::numeric_limits<float>::infinity(), 0};
  setFloatArray(getObject(document, getCurrentIndex(document)), kLocalTranslation, origin);
  return 1;
}
EXPORT int32_t MQModifySelect(int32_t, void*) { return 0; }
EXPORT int32_t MQOnEvent(void*, int32_t, void*) { return 0; }
