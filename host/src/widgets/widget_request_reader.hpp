// The wire reader of MQWidget_Value's requests: one Request per call, which
// reads the (name, value) pairs of its argument list, reads and writes values
// of each wire type with their checks, logs every value it reads or writes,
// and records what was wrong as protocol errors. Internal to the host library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "host/src/widgets/widget_model.hpp"

namespace mqhost::widget_host {

struct Pair {
  const char* name;
  void* value;
};

class Request {
 public:
  Request(int32_t id, int32_t code);

  int32_t id() const { return id_; }
  int32_t code() const { return code_; }
  bool ok() const { return ok_; }

  // Records a protocol error about this request; ok() is false from then on.
  void Error(const std::string& what);

  // Appends a logged value and returns its position (the log may grow during
  // a modal run, so positions, not references, are kept).
  size_t Log(const char* name, WireType type, bool output);
  // The logged value at `position`; null when the log was cleared meanwhile.
  LoggedValue* Logged(size_t position);

  // False, after reporting, when `value` is null.
  bool Present(const char* name, const void* value);

  // Each reads one value of its wire type from `value`, logs it and reports
  // what is wrong with it; false when nothing could be read.
  bool ReadBool(const char* name, const void* value, bool& out);
  bool ReadInt32(const char* name, const void* value, int32_t& out);
  bool ReadInt64(const char* name, const void* value, int64_t& out);
  bool ReadDouble(const char* name, const void* value, double& out);
  bool ReadText(const char* name, const void* value, std::u16string& out);
  // A narrow keyword that must be one of `allowed` (any when empty).
  bool ReadKeyword(const char* name, const void* value, std::string& out,
                   std::initializer_list<const char*> allowed);

  // Each writes one output of its wire type into caller memory and logs it.
  bool WriteInt32(const char* name, void* value, int32_t written);
  bool WriteInt64(const char* name, void* value, int64_t written);
  bool WriteBool(const char* name, void* value, bool written);

  // Logs `name` and reports it as unknown in `where`.
  void Unknown(const char* name, const std::string& where);

 private:
  LoggedRequest& Entry() { return TheStore().log[logIndex_]; }

  int32_t id_;
  int32_t code_;
  size_t logIndex_ = 0;
  bool ok_ = true;
};

// Splits `list` into its pairs; false (after reporting) when there is no list
// or it is not terminated in time.
bool ReadPairs(Request& request, void** list, std::vector<Pair>& pairs);

// The live widget a request is addressed to; reports a missing, stale or
// unknown id.
Widget* Target(Request& request);

}  // namespace mqhost::widget_host
