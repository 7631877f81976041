// Reading and replacing files on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fileio/file_names.hpp"
#include "fileio/safe_file.hpp"

namespace fileio {

namespace {

using detail::PathOf;

std::string Because(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// A file descriptor closed on every path out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting the result (a delayed write error shows here).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const ssize_t wrote = ::write(fd, content.data() + done, content.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

// A regular file that nobody may write is refused rather than replaced:
// the rename would succeed, since it needs only the folder's permission.
bool Writable(const std::string& target, const struct stat& status) {
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  return ::access(target.c_str(), W_OK) == 0;
}

// The mode a new file gets: what the process's umask leaves of 0666. The
// umask is read from the kernel's status file where there is one, since
// setting it to learn it races with other threads creating files.
mode_t NewFileMode() {
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &mask) == 1;
    }
    std::fclose(status);
    if (found) return 0666 & ~static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

bool Unsupported(int error) { return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS; }

// Copies every extended attribute of `from` (ACLs included: they are kept as
// attributes) onto `to`. A file system without them is no failure; any other
// failure sets `failed`.
void CopyAttributes(const std::string& from, int to, std::string* failed) {
  std::vector<char> names(4096);
  ssize_t length = 0;
  for (;;) {
    length = ::listxattr(from.c_str(), names.data(), names.size());
    if (length >= 0) break;
    if (Unsupported(errno)) return;
    if (errno != ERANGE || names.size() > (1u << 20)) {
      *failed = Because("its extended attributes cannot be read");
      return;
    }
    names.resize(names.size() * 4);
  }
  std::vector<char> value;
  for (ssize_t at = 0; at < length; at += static_cast<ssize_t>(std::strlen(names.data() + at)) + 1) {
    const char* name = names.data() + at;
    const ssize_t size = ::getxattr(from.c_str(), name, nullptr, 0);
    if (size < 0) continue;  // gone since it was listed
    value.resize(static_cast<size_t>(size) + 1);
    const ssize_t got = ::getxattr(from.c_str(), name, value.data(), value.size());
    if (got < 0 || ::fsetxattr(to, name, value.data(), static_cast<size_t>(got), 0) != 0) {
      if (got >= 0 && Unsupported(errno)) continue;
      // A security label (SELinux, Smack) is the policy's to give: a user
      // may not be allowed to copy it, and the new file gets its own.
      if (got >= 0 && std::strncmp(name, "security.", 9) == 0) continue;
      *failed = Because((std::string("its extended attribute ") + name + " cannot be kept").c_str());
      return;
    }
  }
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, size_t limit, std::string* content, std::string* reason) {
  // Without O_NONBLOCK, opening a pipe waits for a writer that may never come.
  Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (file.get() < 0) {
    if (errno == ENOENT) return ReadResult::kMissing;
    *reason = Because("cannot be opened");
    return ReadResult::kFailed;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) {
    *reason = Because("cannot be examined");
    return ReadResult::kFailed;
  }
  if (S_ISDIR(status.st_mode)) {
    *reason = "is a folder, not a file";
    return ReadResult::kFailed;
  }
  if (!S_ISREG(status.st_mode)) {
    *reason = "is not a regular file (a device, a pipe or a socket)";
    return ReadResult::kFailed;
  }
  if (static_cast<unsigned long long>(status.st_size) > limit) {
    *reason = detail::TooLarge(limit);
    return ReadResult::kFailed;
  }
  content->clear();
  content->reserve(static_cast<size_t>(status.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *reason = Because("cannot be read");
      return ReadResult::kFailed;
    }
    if (got == 0) return ReadResult::kRead;
    // The file may grow while it is read.
    if (content->size() + static_cast<size_t>(got) > limit) {
      *reason = detail::TooLarge(limit);
      return ReadResult::kFailed;
    }
    content->append(buffer, static_cast<size_t>(got));
  }
}

bool ReplaceWholeFile(const std::string& path, const std::string& content, std::string* reason) {
  std::filesystem::path followed;
  if (!detail::FollowLinks(PathOf(path), &followed, reason)) return false;
  const std::string target = followed.string();
  struct stat existing {};
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) {
    *reason = "it is a folder, not a file";
    return false;
  }
  if (exists && !S_ISREG(existing.st_mode)) {
    *reason = "it is not a regular file (a device, a pipe or a socket)";
    return false;
  }
  if (exists && !Writable(target, existing)) {
    *reason = "it is read-only";
    return false;
  }
  // Replacing the file would give its other names the old content, unseen.
  if (exists && existing.st_nlink > 1) {
    *reason = detail::HasOtherLinks(existing.st_nlink);
    return false;
  }

  // Until the end the temporary is open to the owner alone, and to no more
  // than the target: another user cannot read the new content while it is
  // written.
  const mode_t finalMode = exists ? (existing.st_mode & 07777) : NewFileMode();
  const mode_t privateMode = finalMode & 0600;
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = detail::TemporaryBeside(followed).string();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, privateMode);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    *reason = Because("a temporary file cannot be created beside it");
    return false;
  }
  Descriptor file(fd);
  std::string failed;
  if (::fchmod(file.get(), privateMode) != 0) failed = Because("the temporary file cannot be made private");
  if (failed.empty() && !WriteAll(file.get(), content))
    failed = Because("the temporary file cannot be written");
  // The replaced file keeps its owner and group (a run as root must not take
  // a user's file), its attributes and ACLs, then its permissions; chown
  // comes first, since it clears the set-ID bits.
  if (failed.empty() && exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()) &&
      ::fchown(file.get(), existing.st_uid, existing.st_gid) != 0) {
    failed = Because("its owner and group cannot be kept");
  }
  if (failed.empty() && exists) CopyAttributes(target, file.get(), &failed);
  if (failed.empty() && ::fchmod(file.get(), finalMode) != 0) {
    failed = Because("the temporary file cannot take the file's permissions");
  }
  if (failed.empty() && ::fsync(file.get()) != 0) failed = Because("the temporary file cannot be written");
  if (failed.empty() && !file.Close()) failed = Because("the temporary file cannot be written");
  if (failed.empty() && ::rename(temporary.c_str(), target.c_str()) != 0)
    failed = Because("it cannot be replaced");
  if (!failed.empty()) {
    *reason = failed;
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename lives in the folder: flush it too, so that a crash just after
  // cannot bring the old file back. The file is replaced either way, so a
  // folder that cannot be flushed (some file systems refuse) is no failure.
  const int folder = ::open(followed.parent_path().empty() ? "." : followed.parent_path().c_str(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

}  // namespace fileio
