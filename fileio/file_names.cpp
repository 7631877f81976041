#include "fileio/file_names.hpp"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <system_error>

#include "fileio/safe_file.hpp"

namespace fileio::detail {

namespace {

// Deep enough for any chain a user makes; a loop ends here too.
constexpr int kMaxLinks = 40;

uint64_t Seed() {
  uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  try {
    std::random_device device;
    seed ^= (static_cast<uint64_t>(device()) << 32) ^ device();
  } catch (const std::exception&) {
    // No entropy source: the clock and the counter still make the name unique
    // enough, and the exclusive creation catches the rest.
  }
  return seed;
}

// Keeps a temporary's name short whatever the target's: at most this many
// bytes of the target's name, cut where a UTF-8 character starts.
constexpr size_t kNameKept = 24;

#if !defined(_WIN32)
// The kernel's rule for links in shared folders, applied here because the
// link is resolved in user space and the result renamed into place (so the
// kernel's own check never runs): in a sticky folder that everyone may write,
// a link is followed only when it belongs to the folder's owner or to the
// user running.
bool MayFollow(const std::filesystem::path& link, std::string* reason) {
  const std::filesystem::path parent = link.parent_path().empty() ? "." : link.parent_path();
  struct stat folder {};
  struct stat linkStatus {};
  if (::stat(parent.c_str(), &folder) != 0 || ::lstat(link.c_str(), &linkStatus) != 0) return true;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  if (!shared || linkStatus.st_uid == folder.st_uid || linkStatus.st_uid == ::geteuid()) return true;
  *reason =
      "it is a symbolic link that another user made in a shared folder (sticky and writable by "
      "everyone), so it is not followed";
  return false;
}
#else
bool MayFollow(const std::filesystem::path& /*link*/, std::string* /*reason*/) { return true; }
#endif

}  // namespace

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::u8path(utf8);  // NOLINT: u8path is what takes UTF-8 in C++17
}

bool FollowLinks(const std::filesystem::path& path, std::filesystem::path* target, std::string* reason) {
  std::filesystem::path current = path;
  for (int step = 0; step <= kMaxLinks; ++step) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error))) {
      *target = current;
      return true;
    }
    const std::filesystem::path next = std::filesystem::read_symlink(current, error);
    if (error) {
      *target = current;
      return true;
    }
    if (!MayFollow(current, reason)) return false;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  *reason = "it is a chain of more than " + std::to_string(kMaxLinks) + " symbolic links";
  return false;
}

std::string RandomSuffix() {
  static std::atomic<uint64_t> counter{0};
  thread_local std::mt19937_64 random(Seed());
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, "%016llx%04llx", static_cast<unsigned long long>(random()),
                static_cast<unsigned long long>(counter++ & 0xFFFF));
  return suffix;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
  std::string kept = target.filename().u8string();
  if (kept.size() > kNameKept) {
    size_t cut = kNameKept;
    while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;
    kept.resize(cut);
  }
  return target.parent_path() / PathOf("." + kept + "." + RandomSuffix() + ".tmp");
}

std::string TooLarge(size_t limit) {
  return "is larger than " + std::to_string(limit >> 20) + " MiB, more than this program reads";
}

std::string HasOtherLinks(unsigned long long links) {
  return "it has " + std::to_string(links) +
         " hard links, and replacing it would part them (the other names would keep the old "
         "content); write to a copy, or remove the other links first";
}

}  // namespace fileio::detail

namespace fileio {

bool MakePrivateFolder(const std::string& parent, const std::string& prefix, std::string* made,
                       std::string* reason) {
  namespace fs = std::filesystem;
  std::error_code failure;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = detail::PathOf(parent) / detail::PathOf(prefix + "-" + detail::RandomSuffix());
    // False without an error when the name is taken, whatever holds it: a
    // folder, a file or a link is never taken over.
    if (fs::create_directory(candidate, failure)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, failure);
      *made = candidate.u8string();
      return true;
    }
    if (failure) break;
  }
  *reason = failure ? failure.message() : "every name tried was taken";
  return false;
}

}  // namespace fileio
