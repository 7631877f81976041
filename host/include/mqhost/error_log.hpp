// The replacement host's strictness: every request it does not understand, a
// stale or foreign handle, an index out of range, a widget leaked or deleted
// twice is recorded here as a protocol error. Tests assert the list is empty.
#pragma once

#include <string>
#include <vector>

#include "mqhost/api.hpp"

namespace mqhost {

// Appends one error, naming the call and what was wrong with it.
MQHOST_API void RecordProtocolError(const std::string& message);
MQHOST_API std::vector<std::string> ProtocolErrors();
MQHOST_API void ClearProtocolErrors();

}  // namespace mqhost
