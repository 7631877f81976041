#include "tools/runner/output_file.hpp"

#include <filesystem>
#include <system_error>

#include "fileio/safe_file.hpp"
#include "tools/runner/run_error.hpp"

namespace runner {

namespace {

namespace fs = std::filesystem;

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  const fs::path first = fs::u8path(a);   // NOLINT: u8path is what takes UTF-8 in C++17
  const fs::path second = fs::u8path(b);  // NOLINT
  if (fs::equivalent(first, second, error) && !error) return true;
  // Files not made yet: the same once the paths are spelled out.
  const fs::path spelledA = fs::weakly_canonical(fs::absolute(first, error), error);
  const fs::path spelledB = fs::weakly_canonical(fs::absolute(second, error), error);
  return spelledA == spelledB;
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& text, const std::string& what) {
  std::string reason;
  if (!fileio::ReplaceWholeFile(path, text, &reason)) {
    throw RunError(what + ": not written: " + reason, kExitFault);
  }
}

void CheckOutputFolder(const std::string& option, const std::string& path) {
  std::error_code error;
  const fs::path file = fs::u8path(path);  // NOLINT: u8path is what takes UTF-8 in C++17
  if (fs::symlink_status(file, error).type() == fs::file_type::symlink) return;
  const fs::path folder = file.parent_path();
  if (folder.empty()) return;
  const fs::file_status status = fs::status(folder, error);
  if (status.type() == fs::file_type::not_found) {
    throw RunError(option + " " + path + ": the folder " + folder.u8string() + " does not exist");
  }
  if (!fs::is_directory(status))
    throw RunError(option + " " + path + ": " + folder.u8string() + " is not a folder");
}

void CheckOutputsDiffer(const std::vector<std::pair<std::string, std::string>>& outputs) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (size_t j = i + 1; j < outputs.size(); ++j) {
      if (outputs[i].second.empty() || outputs[j].second.empty()) continue;
      if (SameFile(outputs[i].second, outputs[j].second)) {
        throw RunError(outputs[j].first + " " + outputs[j].second + ": is the same file as " +
                       outputs[i].first + " " + outputs[i].second + "; give each its own file");
      }
    }
  }
}

}  // namespace runner
