#include "loader/plugin_loader.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace loader {

namespace {
template <typename Fn>
void Find(platform::LibraryHandle library, const char* name, Fn& field, std::string* missing) {
  field = reinterpret_cast<Fn>(platform::FindSymbol(library, name));
  if (field == nullptr && missing->empty()) *missing = name;
}
}  // namespace

LoadedPlugin::LoadedPlugin(const std::string& path) : library_(platform::OpenLibrary(path.c_str())) {
  if (library_ == nullptr) return;
#define FIND_EXPORT(name, ret, params) Find(library_, #name, api_.name, &missing_);
  TERVOLIN_PLUGIN_EXPORTS(FIND_EXPORT)
#undef FIND_EXPORT
}

LoadedPlugin::~LoadedPlugin() { platform::CloseLibrary(library_); }

bool LoadedPlugin::Start(const std::string& hostPath) {
  if (!complete()) return false;
  if (api_.MQCheckVersion(mq::kHostInterfaceVersion) == 0) return false;
  return api_.MQInit(hostPath.c_str()) != 0;
}

std::string ExecutableDir() {
#ifdef _WIN32
  char buffer[MAX_PATH * 4] = {};
  const std::string path(buffer, GetModuleFileNameA(nullptr, buffer, sizeof buffer));
  return path.substr(0, path.find_last_of("\\/") + 1);
#else
  char buffer[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  const std::string path(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  return path.substr(0, path.find_last_of('/') + 1);
#endif
}

}  // namespace loader
