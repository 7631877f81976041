#include "tools/runner/settings_glue.hpp"

#include "mqhost/settings.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/runner/settings_location.hpp"

namespace runner {

void LoadSettings(const std::string& path) {
  std::string error;
  if (!mqhost::LoadSettingsFile(path, &error)) throw RunError("settings " + path + ": " + error);
}

void SaveSettings(const std::string& path) {
  PrepareSettingsFolder(path);
  std::string error;
  if (!mqhost::SaveSettingsFile(path, &error)) throw RunError("settings " + path + ": " + error, kExitFault);
}

}  // namespace runner
