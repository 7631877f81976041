#include "tools/runner/output_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "tools/runner/run_error.hpp"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace runner {

namespace {

std::string Reason(int error) { return std::strerror(error); }

int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& text, const std::string& what) {
  const std::string temporary = path + ".tmp-" + std::to_string(ProcessId());
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) throw RunError(what + ": cannot be written: " + Reason(errno), kExitFault);
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const int writeError = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(temporary.c_str());
    throw RunError(what + ": cannot be written: " + Reason(written ? errno : writeError), kExitFault);
  }
#ifdef _WIN32
  const bool renamed = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
  const std::string renameReason = std::system_category().message(static_cast<int>(GetLastError()));
#else
  const bool renamed = std::rename(temporary.c_str(), path.c_str()) == 0;
  const std::string renameReason = Reason(errno);
#endif
  if (!renamed) {
    std::remove(temporary.c_str());
    throw RunError(what + ": cannot be replaced: " + renameReason, kExitFault);
  }
}

}  // namespace runner
