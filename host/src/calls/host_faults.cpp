#include "host/src/calls/host_faults.hpp"

#include <algorithm>

namespace mqhost {

namespace {

struct Schedule {
  bool running = false;
  uint64_t state = 0;
  uint32_t percent = 0;
  uint32_t kinds = 0;
  std::vector<std::string> answered;
  std::vector<ObjectHandle> hidden;
};

Schedule& TheSchedule() {
  static Schedule schedule;
  return schedule;
}

// splitmix64: small, and the same sequence on every platform.
uint64_t Next(Schedule& schedule) {
  uint64_t z = (schedule.state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

const char* HostFaultName(HostFault fault) {
  switch (fault) {
    case HostFault::WidgetCreation: return "widget creation refused";
    case HostFault::SettingsTree: return "no settings tree";
    case HostFault::SettingsElement: return "no settings element";
    case HostFault::SendMessage: return "message failed";
    case HostFault::NullObject: return "null object";
    case HostFault::NoObjectIndex: return "no object index";
    case HostFault::CurrentObjectIndex: return "current object index out of range";
    case HostFault::NullScene: return "null scene";
    case HostFault::ClipboardOpen: return "clipboard held";
    case HostFault::ClipboardData: return "clipboard data refused";
  }
  return "unknown";
}

void ScheduleHostFaults(uint64_t seed, int percent, uint32_t kinds) {
  Schedule& schedule = TheSchedule();
  schedule.kinds = kinds;
  schedule.running = percent > 0;
  schedule.state = seed;
  schedule.percent = static_cast<uint32_t>(std::clamp(percent, 0, 100));
  schedule.answered.clear();
  host_faults::answeredCurrentIndex = -1;
}

void StopHostFaults() {
  TheSchedule().running = false;
  host_faults::answeredCurrentIndex = -1;
}

std::vector<std::string> AnsweredHostFaults() { return TheSchedule().answered; }

void HideObjectIndex(ObjectHandle object) { TheSchedule().hidden.push_back(object); }
void ClearHiddenObjects() { TheSchedule().hidden.clear(); }

namespace host_faults {

int32_t answeredCurrentIndex = -1;

bool Answer(HostFault fault, const char* where) {
  Schedule& schedule = TheSchedule();
  if (!schedule.running || (schedule.kinds & (1u << static_cast<int>(fault))) == 0) return false;
  if (Next(schedule) % 100 >= schedule.percent) return false;
  schedule.answered.push_back(std::string(HostFaultName(fault)) + ": " + where);
  return true;
}

uint32_t Draw(uint32_t bound) { return bound == 0 ? 0 : static_cast<uint32_t>(Next(TheSchedule()) % bound); }

bool Hidden(ObjectHandle object) {
  const auto& hidden = TheSchedule().hidden;
  return !hidden.empty() && std::find(hidden.begin(), hidden.end(), object) != hidden.end();
}

}  // namespace host_faults

}  // namespace mqhost
