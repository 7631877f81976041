#include "work_dir.hpp"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace validator {

bool PrepareWorkDir(const std::string& path, std::string* error) {
  namespace fs = std::filesystem;
  const std::string subject = "--work-dir " + path + ": ";
  std::error_code failure;
  fs::create_directories(path, failure);
  if (failure) {
    *error = subject + "cannot be made: " + failure.message();
    return false;
  }
  if (!fs::is_directory(path, failure)) {
    *error = subject + "is not a folder";
    return false;
  }
  const fs::path probe = fs::path(path) / "tervolin-validate-probe.tmp";
  const bool writable = static_cast<bool>(std::ofstream(probe, std::ios::binary) << "probe");
  fs::remove(probe, failure);
  if (!writable) {
    *error = subject + "files cannot be written in it";
    return false;
  }
  return true;
}

}  // namespace validator
