#include "tools/runner/settings_glue.hpp"

#include "mqhost/settings.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/runner/settings_location.hpp"

namespace runner {

namespace {

// The host's messages name the file already.
std::string Message(const std::string& path, const std::string& error) {
  return error.find(path) != std::string::npos ? error : "settings " + path + ": " + error;
}

}  // namespace

void LoadSettings(const std::string& path) {
  std::string error;
  if (!mqhost::LoadSettingsFile(path, &error)) throw RunError(Message(path, error));
}

void SaveSettings(const std::string& path) {
  PrepareSettingsFolder(path);
  std::string error;
  if (!mqhost::SaveSettingsFile(path, &error)) throw RunError(Message(path, error), kExitFault);
}

}  // namespace runner
