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

// The plug-in's writes, one line each, in the order they came: vertex
// positions and frames (MQObj_SetVertex, MQObj_SetFloatArray), settings
// changes (MQXmlElem_Value adding, removing or setting elements) and widget
// value sets (MQWidget_Value 0x302). Off by default; StartRecordingWrites
// empties the list and turns it on. Floats are written with their bits, so
// that two lists are equal only when every value is.
MQHOST_API void StartRecordingWrites();
MQHOST_API void StopRecordingWrites();
MQHOST_API std::vector<std::string> RecordedWrites();

// The file of this host library, as the plug-in's MQInit expects it.
MQHOST_API std::string LibraryPath();

}  // namespace mqhost
