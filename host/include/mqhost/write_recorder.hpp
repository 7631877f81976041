// The plug-in's writes, one line each, in the order they came: vertex
// positions and frames (MQObj_SetVertex, MQObj_SetFloatArray), settings
// changes (MQXmlElem_Value adding, removing or setting elements) and widget
// value sets (MQWidget_Value 0x302). Off by default; StartRecordingWrites
// empties the list and turns it on. Floats are written with their bits, so
// that two lists are equal only when every value is.
#pragma once

#include <string>
#include <vector>

#include "mqhost/api.hpp"

namespace mqhost {

MQHOST_API void StartRecordingWrites();
MQHOST_API void StopRecordingWrites();
MQHOST_API std::vector<std::string> RecordedWrites();

}  // namespace mqhost
