#include "tools/runner/output_file.hpp"

#include <cctype>
#include <cstring>
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
  // Through a link the file written is the link's target, and it too must be
  // named for the format written: a scene is never put into notes.txt because
  // a link to it was called out.json.
  for (const auto& [option, path] : outputs) {
    const char* const ending = option == "--out" ? ".json" : option == "--settings" ? nullptr : ".svg";
    if (path.empty() || ending == nullptr) continue;
    const fs::path target = Resolved(path);
    // A folder or a device there is refused when written, as not a file.
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) continue;
    std::string name = target.filename().u8string();
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const size_t length = std::strlen(ending);
    if (name.size() < length || name.compare(name.size() - length, length, ending) != 0) {
      throw RunError(Named(option, path) + ": leads to " + target.u8string() + ", a file not named " +
                     ending + "; give a file of that format's name");
    }
  }
}

}  // namespace runner
