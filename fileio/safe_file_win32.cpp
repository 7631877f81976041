// Reading and replacing files on Windows.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "fileio/file_names.hpp"
#include "fileio/safe_file.hpp"

namespace fileio {

namespace {

using detail::PathOf;

std::string Because(const char* what, DWORD error) {
  return std::string(what) + ": " + std::system_category().message(static_cast<int>(error));
}

// A handle closed on every path out.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool Close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return CloseHandle(handle) != 0;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const std::string& content) {
  size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
    DWORD wrote = 0;
    if (WriteFile(file, content.data() + done, chunk, &wrote, nullptr) == 0 || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

// Reads what the file to be replaced keeps (attributes, creation time) through
// a handle opened as ReplaceFileW opens it, with read and delete access and
// every sharing: a program that holds the file without letting it be deleted
// is found here, before anything is written. A file with other hard links is
// refused: replacing it would leave the other names with the old content.
bool Examine(const std::wstring& target, FILE_BASIC_INFO* kept, std::string* reason) {
  Handle file(CreateFileW(target.c_str(), GENERIC_READ | DELETE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  BY_HANDLE_FILE_INFORMATION information{};
  if (file.get() == INVALID_HANDLE_VALUE || GetFileInformationByHandle(file.get(), &information) == 0) {
    *reason = Because("it cannot be replaced", GetLastError());
    return false;
  }
  if (information.nNumberOfLinks > 1) {
    *reason = detail::HasOtherLinks(information.nNumberOfLinks);
    return false;
  }
  // ReplaceFileW merges these itself on Windows; Wine's does not, so the
  // temporary takes them first. The content changed, so the file is marked
  // for the next backup whatever it was. Zero leaves a field as it is.
  constexpr DWORD kKeptAttributes =
      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  *kept = FILE_BASIC_INFO{};
  kept->FileAttributes = (information.dwFileAttributes & kKeptAttributes) | FILE_ATTRIBUTE_ARCHIVE;
  kept->CreationTime.LowPart = information.ftCreationTime.dwLowDateTime;
  kept->CreationTime.HighPart = static_cast<LONG>(information.ftCreationTime.dwHighDateTime);
  return true;
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, size_t limit, std::string* content, std::string* reason) {
  const std::wstring wide = PathOf(path).wstring();
  Handle file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return ReadResult::kMissing;
    *reason = Because("cannot be opened", error);
    return ReadResult::kFailed;
  }
  BY_HANDLE_FILE_INFORMATION information{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK ||
      GetFileInformationByHandle(file.get(), &information) == 0) {
    *reason = "is not a regular file (a device or a pipe)";
    return ReadResult::kFailed;
  }
  if ((information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    *reason = "is a folder, not a file";
    return ReadResult::kFailed;
  }
  const unsigned long long size =
      (static_cast<unsigned long long>(information.nFileSizeHigh) << 32) | information.nFileSizeLow;
  if (size > limit) {
    *reason = detail::TooLarge(limit);
    return ReadResult::kFailed;
  }
  content->clear();
  content->reserve(static_cast<size_t>(size));
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) == 0) {
      *reason = Because("cannot be read", GetLastError());
      return ReadResult::kFailed;
    }
    if (got == 0) return ReadResult::kRead;
    if (content->size() + got > limit) {
      *reason = detail::TooLarge(limit);
      return ReadResult::kFailed;
    }
    content->append(buffer, got);
  }
}

bool ReplaceWholeFile(const std::string& path, const std::string& content, std::string* reason) {
  std::filesystem::path followed;
  if (!detail::FollowLinks(PathOf(path), &followed, reason)) return false;
  // Every name handed to the system is absolute: Wine's ReplaceFileW fails on
  // a relative one (ERROR_DIRECTORY).
  std::error_code absoluteError;
  followed = std::filesystem::absolute(followed, absoluteError);
  if (absoluteError) {
    *reason = "its folder cannot be found: " + absoluteError.message();
    return false;
  }
  const std::wstring target = followed.wstring();
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      *reason = "it is a folder, not a file";
      return false;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
      *reason = "it is read-only";
      return false;
    }
  }
  FILE_BASIC_INFO kept{};
  if (exists && !Examine(target, &kept, reason)) return false;

  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  DWORD error = 0;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = detail::TemporaryBeside(followed).wstring();
    // CREATE_NEW fails on anything already at the name, a link included.
    created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    error = GetLastError();
    if (created == INVALID_HANDLE_VALUE && error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  if (created == INVALID_HANDLE_VALUE) {
    *reason = Because("a temporary file cannot be created beside it", error);
    return false;
  }
  Handle file(created);
  const char* failed = "the temporary file cannot be written";
  bool written = WriteAll(file.get(), content);
  if (written && exists && SetFileInformationByHandle(file.get(), FileBasicInfo, &kept, sizeof kept) == 0) {
    failed = "the temporary file cannot take the file's attributes";
    written = false;
  }
  written = written && FlushFileBuffers(file.get()) != 0;
  if (!written) error = GetLastError();
  if (written && !file.Close()) {
    written = false;
    error = GetLastError();
  }
  const bool replacing = written && exists;
  if (written) {
    // ReplaceFileW gives the new content the file's identity: its security
    // descriptor, attributes, creation time and other streams. No error of
    // that merge is ignored: a file that would take the temporary's default
    // permissions, or lose a stream, is left as it was and the failure told.
    // A new file is only renamed into place, never over something that
    // appeared there meanwhile.
    const BOOL moved = exists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr)
                              : MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    if (moved == 0) {
      written = false;
      error = GetLastError();
      failed = "it cannot be replaced";
    }
  }
  if (!written) {
    if (file.get() != INVALID_HANDLE_VALUE) file.Close();
    // Without a backup name ReplaceFileW can fail after it removed the file
    // (ERROR_UNABLE_TO_MOVE_REPLACEMENT): the temporary is then the only copy
    // of either content, and takes the file's name rather than being removed.
    if (replacing && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND) {
      if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0) return true;
      *reason = Because("it was removed and the new content cannot take its name", GetLastError()) +
                "; the new content is in " + std::filesystem::path(temporary).filename().u8string();
      return false;
    }
    *reason = Because(failed, error);
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace fileio
