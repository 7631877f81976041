// Reading and replacing files on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = detail::TemporaryBeside(followed).string();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    *reason = Because("a temporary file cannot be created beside it");
    return false;
  }
  Descriptor file(fd);
  bool written = WriteAll(file.get(), content);
  const char* failed = "the temporary file cannot be written";
  // The replaced file keeps its permissions.
  if (written && exists && ::fchmod(file.get(), existing.st_mode & 07777) != 0) {
    written = false;
    failed = "the temporary file cannot take the file's permissions";
  }
  if (written && ::fsync(file.get()) != 0) written = false;
  if (written && !file.Close()) written = false;
  if (written && ::rename(temporary.c_str(), target.c_str()) != 0) {
    written = false;
    failed = "it cannot be replaced";
  }
  if (!written) {
    *reason = Because(failed);
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
