// tervolin-run: loads the plug-in into the replacement host as the host
// modeller does, and reports what the host learns of it.
#include <cstdint>
#include <cstdio>
#include <string>

#include "mqhost/protocol.hpp"
#include "platform/dynamic_library.hpp"
#include "plugin/host_types.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace {

std::string DefaultPluginPath() {
#ifdef _WIN32
  char buffer[MAX_PATH * 4] = {};
  std::string path(buffer, GetModuleFileNameA(nullptr, buffer, sizeof buffer));
  return path.substr(0, path.find_last_of("\\/") + 1) + TERVOLIN_PLUGIN_FILE_NAME;
#else
  char buffer[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  std::string path(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  return path.substr(0, path.find_last_of('/') + 1) + TERVOLIN_PLUGIN_FILE_NAME;
#endif
}

template <typename Fn>
Fn Export(platform::LibraryHandle library, const char* name) {
  return reinterpret_cast<Fn>(platform::FindSymbol(library, name));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string pluginPath = argc > 2 && std::string(argv[1]) == "--plugin" ? argv[2] : DefaultPluginPath();
  platform::LibraryHandle library = platform::OpenLibrary(pluginPath.c_str());
  if (library == nullptr) {
    std::fprintf(stderr, "tervolin-run: %s: not a loadable plug-in library\n", pluginPath.c_str());
    return 2;
  }
  auto checkVersion = Export<uint32_t (*)(uint32_t)>(library, "MQCheckVersion");
  auto init = Export<int32_t (*)(const char*)>(library, "MQInit");
  auto getId = Export<void (*)(uint32_t*, uint32_t*)>(library, "MQGetPlugInID");
  auto getName = Export<const char* (*)()>(library, "MQGetPlugInName");
  auto getType = Export<int32_t (*)()>(library, "MQGetPlugInType");
  auto enumString = Export<const char* (*)(int32_t)>(library, "MQEnumString");
  if (!checkVersion || !init || !getId || !getName || !getType || !enumString) {
    std::fprintf(stderr, "tervolin-run: %s: lacks the plug-in exports\n", pluginPath.c_str());
    platform::CloseLibrary(library);
    return 2;
  }
  const uint32_t version = checkVersion(0x4501);
  if (version == 0) {
    std::fprintf(stderr, "tervolin-run: %s: refuses host version 0x4501\n", pluginPath.c_str());
    platform::CloseLibrary(library);
    return 2;
  }
  if (init(mqhost::LibraryPath().c_str()) == 0) {
    std::fprintf(stderr, "tervolin-run: %s: MQInit failed to bind the host functions\n", pluginPath.c_str());
    platform::CloseLibrary(library);
    return 2;
  }
  uint32_t product = 0;
  uint32_t id = 0;
  getId(&product, &id);
  std::printf("plug-in   %s\n", pluginPath.c_str());
  std::printf("name      %s\n", getName());
  std::printf("id        %08X-%08X\n", product, id);
  std::printf("type      %d\n", getType());
  std::printf("interface 0x%X\n", version);
  for (int32_t i = 0;; ++i) {
    const char* entry = enumString(i);
    if (entry == nullptr) break;
    std::printf("menu[%d]   %s\n", i, entry);
  }
  platform::CloseLibrary(library);
  const auto errors = mqhost::ProtocolErrors();
  for (const auto& error : errors) std::fprintf(stderr, "protocol error: %s\n", error.c_str());
  return errors.empty() ? 0 : 1;
}
