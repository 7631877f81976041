#include "work_dir.hpp"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace validator {

ScratchFolder::~ScratchFolder() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
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
  std::random_device entropy;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[48];
    std::snprintf(name, sizeof name, "tervolin-validate-%08x%08x", static_cast<unsigned>(entropy()),
                  static_cast<unsigned>(entropy()));
    const fs::path candidate = fs::path(workDir) / name;
    // False without an error when the name is taken, whatever holds it: a
    // folder, a file or a link is never taken over.
    if (fs::create_directory(candidate, failure)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, failure);
      path_ = candidate.string();
      return true;
    }
    if (failure) break;
  }
  *error = subject + "files cannot be written in it" + (failure ? ": " + failure.message() : "");
  return false;
}

}  // namespace validator
