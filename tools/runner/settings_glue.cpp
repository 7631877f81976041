#include "tools/runner/settings_glue.hpp"

#include "tools/runner/host_features.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/runner/settings_location.hpp"

#if RUNNER_HOST_HAS_SETTINGS
#include "mqhost/settings.hpp"
#endif

namespace runner {

#if RUNNER_HOST_HAS_SETTINGS

bool SettingsAvailable() { return true; }

void LoadSettings(const std::string& path) {
  std::string error;
  if (!mqhost::LoadSettingsFile(path, &error)) throw RunError("settings " + path + ": " + error);
}

void SaveSettings(const std::string& path) {
  PrepareSettingsFolder(path);
  std::string error;
  if (!mqhost::SaveSettingsFile(path, &error)) throw RunError("settings " + path + ": " + error, kExitFault);
}

#else

bool SettingsAvailable() { return false; }
void LoadSettings(const std::string&) {}
void SaveSettings(const std::string&) {}

#endif

}  // namespace runner
