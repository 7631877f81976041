#include "host/src/calls/write_log.hpp"

#include <vector>

#include "mqhost/write_recorder.hpp"

namespace mqhost {

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

}  // namespace mqhost
