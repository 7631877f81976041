// The runner's one error type: a message that names the input and the reason,
// and the exit status the run ends with.
#pragma once

#include <stdexcept>
#include <string>

namespace runner {

// Exit statuses: the pick ran and the host saw no fault (0); the pick ran but
// the host recorded protocol errors or a result could not be kept (1); the
// input was bad and nothing ran or nothing was written (2).
constexpr int kExitOk = 0;
constexpr int kExitFault = 1;
constexpr int kExitBadInput = 2;

class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& message, int exitStatus = kExitBadInput)
      : std::runtime_error(message), exitStatus_(exitStatus) {}
  int exitStatus() const { return exitStatus_; }

 private:
  int exitStatus_;
};

}  // namespace runner
