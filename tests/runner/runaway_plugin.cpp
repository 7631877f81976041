// A plug-in library whose menu pick writes an infinite origin into the
// current object, as a faulty plug-in might: the runner must then refuse to
// write the scene rather than write a value that cannot be read back. The
// exports it does not answer are stub_exports.cpp's.
#include <dlfcn.h>

#include <cstdint>
#include <limits>

#include "protocol/host_types.hpp"
#include "tests/runner/stub_exports.hpp"

namespace {
using GetCurrentIndex = int (*)(DocumentHandle);
using GetObject = ObjectHandle (*)(DocumentHandle, int);
using SetFloatArray = void (*)(ObjectHandle, int, const float*);
GetCurrentIndex getCurrentIndex = nullptr;
GetObject getObject = nullptr;
SetFloatArray setFloatArray = nullptr;
}  // namespace

TEST_PLUGIN_EXPORT uint32_t MQCheckVersion(uint32_t /*hostVersion*/) { return mq::kPluginInterfaceVersion; }
TEST_PLUGIN_EXPORT int32_t MQInit(const char* hostFile) {
  void* library = dlopen(hostFile, RTLD_NOW);
  if (library == nullptr) return 0;
  getCurrentIndex = reinterpret_cast<GetCurrentIndex>(dlsym(library, "MQDoc_GetCurrentObjectIndex"));
  getObject = reinterpret_cast<GetObject>(dlsym(library, "MQDoc_GetObject"));
  setFloatArray = reinterpret_cast<SetFloatArray>(dlsym(library, "MQObj_SetFloatArray"));
  return getCurrentIndex != nullptr && getObject != nullptr && setFloatArray != nullptr ? 1 : 0;
}
TEST_PLUGIN_EXPORT void MQGetPlugInID(uint32_t* product, uint32_t* id) { *product = *id = 1; }
TEST_PLUGIN_EXPORT const char* MQGetPlugInName() { return "writes an infinite origin"; }
TEST_PLUGIN_EXPORT int32_t MQGetPlugInType() { return 4; }
TEST_PLUGIN_EXPORT const char* MQEnumString(int32_t index) { return index == 0 ? "Runaway" : nullptr; }
TEST_PLUGIN_EXPORT int32_t MQModifyObject(int32_t /*index*/, DocumentHandle document) {
  const float origin[3] = {0, std::numeric_limits<float>::infinity(), 0};
  setFloatArray(getObject(document, getCurrentIndex(document)), mq::kLocalTranslation, origin);
  return 1;
}
