#include "tools/runner/settings_location.hpp"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "tools/runner/run_error.hpp"

namespace runner {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::string DefaultSettingsPath() {
#ifdef _WIN32
  const std::string appData = Environment("APPDATA");
  if (appData.empty()) return {};
  return appData + "\\Tervolin\\settings.xml";
#else
  const std::string config = Environment("XDG_CONFIG_HOME");
  // An XDG path must be absolute; a relative one is to be ignored.
  if (!config.empty() && config[0] == '/') return config + "/tervolin/settings.xml";
  const std::string home = Environment("HOME");
  if (home.empty()) return {};
  return home + "/.config/tervolin/settings.xml";
#endif
}

void PrepareSettingsFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  if (folder.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    throw RunError("settings " + path + ": its folder cannot be made: " + error.message(), kExitFault);
  }
}

}  // namespace runner
