#include "mqhost/protocol.hpp"

#include <mutex>

#include "write_log.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace mqhost {

namespace {
struct ErrorLog {
  std::mutex mutex;
  std::vector<std::string> errors;
};

ErrorLog& Log() {
  static ErrorLog log;
  return log;
}
}  // namespace

void RecordProtocolError(const std::string& message) {
  ErrorLog& log = Log();
  std::lock_guard<std::mutex> lock(log.mutex);
  log.errors.push_back(message);
}

std::vector<std::string> ProtocolErrors() {
  ErrorLog& log = Log();
  std::lock_guard<std::mutex> lock(log.mutex);
  return log.errors;
}

void ClearProtocolErrors() {
  ErrorLog& log = Log();
  std::lock_guard<std::mutex> lock(log.mutex);
  log.errors.clear();
}

namespace {
// Calls arrive on one thread (the host's user-interface thread); the counter
// needs no lock.
uint64_t hostCalls = 0;
}  // namespace

uint64_t HostCallCount() { return hostCalls; }
void NoteHostCall() { ++hostCalls; }

namespace write_log {
bool recordingWrites = false;
namespace {
std::vector<std::string>& Lines() {
  static std::vector<std::string> lines;
  return lines;
}
}  // namespace
void Append(std::string line) { Lines().push_back(std::move(line)); }
}  // namespace write_log

void StartRecordingWrites() {
  write_log::Lines().clear();
  write_log::recordingWrites = true;
}
void StopRecordingWrites() { write_log::recordingWrites = false; }
std::vector<std::string> RecordedWrites() { return write_log::Lines(); }

std::string LibraryPath() {
#ifdef _WIN32
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&LibraryPath), &module);
  char buffer[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
  return std::string(buffer, length);
#else
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LibraryPath), &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
#endif
}

}  // namespace mqhost
