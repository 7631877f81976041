#include "tools/runner/output_file.hpp"

#include <filesystem>
#include <system_error>

#include "fileio/safe_file.hpp"
#include "tools/runner/run_error.hpp"
#include "tools/runner/scene_input.hpp"

namespace runner {

namespace {

namespace fs = std::filesystem;

// The file a path finally names: every link followed, a dangling one to the
// file it would create, then the folders spelled out.
fs::path Resolved(const std::string& utf8) {
  std::error_code error;
  fs::path path = fs::absolute(fs::u8path(utf8), error);  // NOLINT: u8path is what takes UTF-8 in C++17
  for (int step = 0; step < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++step) {
    const fs::path next = fs::read_symlink(path, error);
    if (error) break;
    path = next.is_absolute() ? next : path.parent_path() / next;
  }
  const fs::path spelled = fs::weakly_canonical(path, error);
  return error ? path.lexically_normal() : spelled;
}

std::string Named(const std::string& option, const std::string& path) { return option + " " + path; }

bool SameFile(const std::string& a, const std::string& b) {
  const fs::path first = Resolved(a);
  const fs::path second = Resolved(b);
  // Hard links: one file under two names, the same device and inode.
  std::error_code error;
  if (fs::equivalent(first, second, error) && !error) return true;
  return first == second;
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& text, const std::string& what) {
  std::string reason;
  if (!fileio::ReplaceWholeFile(path, text, &reason)) {
    throw RunError(what + ": not written: " + reason, kExitFault);
  }
}

void CheckOutputsDiffer(const std::string& scenePath,
                        const std::vector<std::pair<std::string, std::string>>& outputs) {
  for (size_t i = 0; i < outputs.size(); ++i) {
    const auto& [option, path] = outputs[i];
    if (path.empty()) continue;
    // A JSON scene may be written back over itself: that edits it in place.
    // An OBJ file read is never overwritten with JSON.
    if (!scenePath.empty() && SameFile(scenePath, path)) {
      if (option != "--out") {
        throw RunError(Named(option, path) + ": is the scene file being read (" + scenePath +
                       "); give it a file of its own");
      }
      if (IsObjPath(scenePath)) {
        throw RunError(Named(option, path) + ": is the OBJ file being read (" + scenePath +
                       "), and the scene is written as JSON; give a file of its own");
      }
    }
    for (size_t j = i + 1; j < outputs.size(); ++j) {
      if (outputs[j].second.empty()) continue;
      if (SameFile(path, outputs[j].second)) {
        throw RunError(Named(outputs[j].first, outputs[j].second) + ": is the same file as " +
                       Named(option, path) + "; give each its own file");
      }
    }
  }
}

}  // namespace runner
