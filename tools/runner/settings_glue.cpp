#include "tools/runner/settings_glue.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "mqhost/settings.hpp"
#include "tools/runner/run_error.hpp"

namespace runner {

namespace {

// The host's messages name the file already.
std::string Message(const std::string& path, const std::string& error) {
  return error.find(path) != std::string::npos ? error : "settings " + path + ": " + error;
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

std::optional<int64_t> Number(const std::string& section, const char* key) {
  const std::optional<std::string> text = mqhost::SettingText(section, key);
  if (!text || text->empty()) return std::nullopt;
  char* end = nullptr;
  const long long value = std::strtoll(text->c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return value;
}

std::optional<bool> Flag(const std::string& section, const char* key) {
  const std::optional<int64_t> value = Number(section, key);
  if (!value) return std::nullopt;
  return *value != 0;
}

std::optional<int32_t> Coordinate(const std::string& section, const char* key) {
  const std::optional<int64_t> value = Number(section, key);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(*value);
}

}  // namespace

void LoadSettings(const std::string& path) {
  std::string error;
  if (!mqhost::LoadSettingsFile(path, &error)) {
    throw RunError(Message(path, error) +
                   " (mend or delete the file, or give another one with --settings, or leave --settings out "
                   "to start from the defaults)");
  }
}

void SaveSettings(const std::string& path) {
  PrepareSettingsFolder(path);
  std::string error;
  if (!mqhost::SaveSettingsFile(path, &error)) throw RunError(Message(path, error), kExitFault);
}

std::optional<DialogOptions> ReadDialogOptions(uint32_t product, uint32_t id) {
  char section[32];
  std::snprintf(section, sizeof section, "Plugin-%08X-%08X", product, id);
  if (!mqhost::HasSettingsSection(section)) return std::nullopt;
  DialogOptions options;
  // The keys are the runner's own copy, kept apart from the plug-in's on
  // purpose: a report that read the plug-in's names could not show a wrong one.
  options.transform = Flag(section, "transform");
  options.global = Flag(section, "global");
  options.copyRotation = Flag(section, "copyR");
  options.copyScale = Flag(section, "copyS");
  options.copyTranslation = Flag(section, "copyT");
  options.reference = Number(section, "target");
  options.x = Coordinate(section, "PosX");
  options.y = Coordinate(section, "PosY");
  return options;
}

}  // namespace runner
