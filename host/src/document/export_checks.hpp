// Internal to the host library: the argument checks shared by the document
// host functions (document_exports.cpp, element_exports.cpp). Each check is
// a compare inline; its error path, which records the protocol error naming
// the call, is out of line and cold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/src/calls/write_log.hpp"
#include "host/src/document/document_model.hpp"
#include "mqhost/error_log.hpp"

namespace mqhost::exports {

inline void Fail(const char* function, const std::string& problem) {
  RecordProtocolError(std::string(function) + ": " + problem);
}

[[gnu::cold]] inline bool RejectPointer(const char* function) {
  Fail(function, "null output or input pointer");
  return false;
}

inline bool CheckPointer(const void* pointer, const char* function) {
  if (pointer != nullptr) return true;
  return RejectPointer(function);
}

// Records that an index was out of range; answers false.
[[gnu::cold]] inline bool RejectIndex(int index, size_t count, const char* what, const char* function) {
  const std::string noun = what;
  const std::string plural = noun == "vertex" ? "vertices" : noun + "s";
  Fail(function, noun + " index " + std::to_string(index) + " is out of range (" + std::to_string(count) +
                     " " + (count == 1 ? noun : plural) + ")");
  return false;
}

// True when 0 <= index < count; otherwise records what was out of range. One
// unsigned compare: a negative index converts to a size beyond any count.
inline bool InRange(int index, size_t count) { return static_cast<size_t>(index) < count; }

inline bool CheckIndex(int index, size_t count, const char* what, const char* function) {
  if (InRange(index, count)) return true;
  return RejectIndex(index, count, what, function);
}

// "object 2 vertex 7 3f800000 ...": the object by its slot, then each float's
// bits, so that equal lines mean equal values.
[[gnu::cold]] inline void LogWrite(const model::ObjectRecord& object, const std::string& what,
                                   const float* values, int count) {
  std::string line = "object " + std::to_string(object.index) + " " + what;
  for (int k = 0; k < count; ++k) {
    uint32_t bits = 0;
    std::memcpy(&bits, &values[k], sizeof bits);
    char hex[12];
    std::snprintf(hex, sizeof hex, " %08x", static_cast<unsigned>(bits));
    line += hex;
  }
  write_log::Append(std::move(line));
}

inline void CopyPoint(const Point3& point, float* values) {
  values[0] = point.x;
  values[1] = point.y;
  values[2] = point.z;
}

}  // namespace mqhost::exports
