#include "work_dir.hpp"

#include <filesystem>
#include <system_error>

#include "fileio/safe_file.hpp"

namespace validator {

ScratchFolder::~ScratchFolder() { Remove(); }

void ScratchFolder::Remove() {
  if (path_.empty() || removed_.exchange(true)) return;
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::u8path(path_),
                              ignored);  // NOLINT: u8path takes UTF-8 in C++17
}

bool ScratchFolder::Make(const std::string& workDir, std::string* error) {
  namespace fs = std::filesystem;
  const std::string subject = "--work-dir " + workDir + ": ";
  std::error_code failure;
  fs::create_directories(workDir, failure);
  if (failure) {
    *error = subject + "cannot be made: " + failure.message();
    return false;
  }
  if (!fs::is_directory(workDir, failure)) {
    *error = subject + "is not a folder";
    return false;
  }
  std::string reason;
  if (!fileio::MakePrivateFolder(workDir, "tervolin-validate", &path_, &reason)) {
    path_.clear();
    *error = subject + "files cannot be written in it: " + reason;
    return false;
  }
  return true;
}

}  // namespace validator
