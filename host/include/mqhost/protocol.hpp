// The replacement host's strictness: every request it does not understand, a
// stale or foreign handle, an index out of range, a widget leaked or deleted
// twice is recorded here as a protocol error. Tests assert the list is empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mqhost/api.hpp"

namespace mqhost {

// Appends one error, naming the call and what was wrong with it.
MQHOST_API void RecordProtocolError(const std::string& message);
MQHOST_API std::vector<std::string> ProtocolErrors();
MQHOST_API void ClearProtocolErrors();

// Every host function the plug-in calls counts itself here, so that a test
// can tell that an export "sent no request".
MQHOST_API uint64_t HostCallCount();
// Called at the top of every exported host function.
MQHOST_API void NoteHostCall();

// The file of this host library, as the plug-in's MQInit expects it.
MQHOST_API std::string LibraryPath();

}  // namespace mqhost
