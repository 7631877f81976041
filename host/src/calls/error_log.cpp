#include "mqhost/error_log.hpp"

#include <mutex>

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

}  // namespace mqhost
