#include "tools/runner/plugin_session.hpp"

#include <cstdio>

#include "tools/runner/run_error.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace runner {

namespace {

// The fourteen names the host modeller looks up; a library that lacks one is
// not a plug-in it would load.
const char* const kExportNames[] = {
    "MQCheckVersion", "MQInit",         "MQGetPlugInID",  "MQGetPlugInName", "MQGetPlugInType",
    "MQEnumString",   "MQEnumFileType", "MQEnumFileExt",  "MQImportFile",    "MQExportFile",
    "MQCreate",       "MQModifyObject", "MQModifySelect", "MQOnEvent",
};

template <typename Fn>
Fn Export(platform::LibraryHandle library, const char* name) {
  return reinterpret_cast<Fn>(platform::FindSymbol(library, name));
}

std::string Hex(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

}  // namespace

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

PluginSession::PluginSession(const std::string& pluginPath, const std::string& hostPath) {
  identity_.path = pluginPath;
  const std::string subject = "plug-in " + pluginPath;
  library_ = platform::OpenLibrary(pluginPath.c_str());
  if (library_ == nullptr) throw RunError(subject + ": missing, or not a loadable library");
  for (const char* name : kExportNames) {
    if (platform::FindSymbol(library_, name) == nullptr) {
      platform::CloseLibrary(library_);
      throw RunError(subject + ": not a plug-in: it does not export " + name);
    }
  }
  auto checkVersion = Export<uint32_t (*)(uint32_t)>(library_, "MQCheckVersion");
  auto init = Export<int32_t (*)(const char*)>(library_, "MQInit");
  auto getId = Export<void (*)(uint32_t*, uint32_t*)>(library_, "MQGetPlugInID");
  auto getName = Export<const char* (*)()>(library_, "MQGetPlugInName");
  auto getType = Export<int32_t (*)()>(library_, "MQGetPlugInType");
  auto enumString = Export<const char* (*)(int32_t)>(library_, "MQEnumString");
  modifyObject_ = Export<int32_t (*)(int32_t, DocumentHandle)>(library_, "MQModifyObject");

  identity_.interfaceVersion = checkVersion(kHostVersion);
  if (identity_.interfaceVersion == 0) {
    platform::CloseLibrary(library_);
    throw RunError(subject + ": MQCheckVersion refused host version " + Hex(kHostVersion));
  }
  if (init(hostPath.c_str()) == 0) {
    platform::CloseLibrary(library_);
    throw RunError(subject + ": MQInit failed to bind the host functions from " + hostPath +
                   " (the file is missing or lacks a function the plug-in binds)");
  }
  getId(&identity_.product, &identity_.id);
  const char* name = getName();
  identity_.name = name != nullptr ? name : "";
  identity_.type = getType();
  // A plug-in names a handful of menu entries at most; the bound keeps a
  // misbehaving one from running on forever.
  for (int32_t index = 0; index < 64; ++index) {
    const char* entry = enumString(index);
    if (entry == nullptr) break;
    identity_.menu.emplace_back(entry);
  }
}

PluginSession::~PluginSession() { platform::CloseLibrary(library_); }

int32_t PluginSession::ModifyObject(int32_t index, DocumentHandle document) const {
  return modifyObject_(index, document);
}

}  // namespace runner
