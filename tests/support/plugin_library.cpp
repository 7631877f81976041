#include "support/plugin_library.hpp"

#include <string>

#include "mqhost/protocol.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace testing_support {

std::string ExecutableDir() {
#ifdef _WIN32
  char buffer[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string path(buffer, length);
  return path.substr(0, path.find_last_of("\\/"));
#else
  char buffer[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string path(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  return path.substr(0, path.find_last_of('/'));
#endif
}

namespace {
std::string Beside(const char* name) {
#ifdef _WIN32
  return ExecutableDir() + "\\" + name;
#else
  return ExecutableDir() + "/" + name;
#endif
}

template <typename Fn>
bool Find(platform::LibraryHandle library, const char* name, Fn& field) {
  void* symbol = platform::FindSymbol(library, name);
  field = reinterpret_cast<Fn>(symbol);
  return symbol != nullptr;
}
}  // namespace

std::string PluginPath() { return Beside(TERVOLIN_PLUGIN_FILE_NAME); }
std::string HostPath() { return mqhost::LibraryPath(); }
std::string IncompleteHostPath() { return Beside(TERVOLIN_INCOMPLETE_HOST_FILE_NAME); }

PluginLibrary::PluginLibrary(const std::string& path) : library_(platform::OpenLibrary(path.c_str())) {
  if (library_ == nullptr) return;
  bool all = true;
#define FIND_EXPORT(name) all = Find(library_, #name, api_.name) && all;
  FIND_EXPORT(MQCheckVersion)
  FIND_EXPORT(MQInit)
  FIND_EXPORT(MQGetPlugInID)
  FIND_EXPORT(MQGetPlugInName)
  FIND_EXPORT(MQGetPlugInType)
  FIND_EXPORT(MQEnumString)
  FIND_EXPORT(MQEnumFileType)
  FIND_EXPORT(MQEnumFileExt)
  FIND_EXPORT(MQImportFile)
  FIND_EXPORT(MQExportFile)
  FIND_EXPORT(MQCreate)
  FIND_EXPORT(MQModifyObject)
  FIND_EXPORT(MQModifySelect)
  FIND_EXPORT(MQOnEvent)
#undef FIND_EXPORT
  complete_ = all;
}

PluginLibrary::~PluginLibrary() { platform::CloseLibrary(library_); }

bool PluginLibrary::Start() {
  if (!complete_) return false;
  if (api_.MQCheckVersion(0x4501) == 0) return false;
  return api_.MQInit(HostPath().c_str()) != 0;
}

}  // namespace testing_support
