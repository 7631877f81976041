// Internal to the host library: the log of the plug-in's writes (document,
// settings and widget values), kept only while a test has switched it on.
// The write calls test `recordingWrites` first, so that the log costs a
// branch when it is off.
#pragma once

#include <string>

namespace mqhost::write_log {

extern bool recordingWrites;
void Append(std::string line);

}  // namespace mqhost::write_log
