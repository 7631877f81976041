// The wire reader of MQWidget_Value's requests (see widget_request_reader.hpp).
#include "host/src/widgets/widget_request_reader.hpp"

#include <cstring>
#include <utility>

namespace mqhost::widget_host {

namespace {

constexpr size_t kMaxPairs = 64;
constexpr size_t kMaxTextUnits = 65536;
constexpr size_t kMaxKeyword = 64;

}  // namespace

Request::Request(int32_t id, int32_t code) : id_(id), code_(code) {
  Store& store = TheStore();
  logIndex_ = store.log.size();
  LoggedRequest entry;
  entry.id = id;
  entry.code = code;
  // Most requests carry a name and up to three values: one allocation.
  entry.values.reserve(4);
  store.log.push_back(std::move(entry));
}

void Request::Error(const std::string& what) {
  ok_ = false;
  Fail(id_, code_, what);
}

size_t Request::Log(const char* name, WireType type, bool output) {
  LoggedValue value;
  value.name = name;
  value.type = type;
  value.output = output;
  std::vector<LoggedValue>& values = Entry().values;
  values.push_back(std::move(value));
  return values.size() - 1;
}

LoggedValue* Request::Logged(size_t position) {
  Store& store = TheStore();
  if (logIndex_ >= store.log.size()) return nullptr;  // the log was cleared meanwhile
  std::vector<LoggedValue>& values = store.log[logIndex_].values;
  return position < values.size() ? &values[position] : nullptr;
}

bool Request::Present(const char* name, const void* value) {
  if (value != nullptr) return true;
  Error(std::string("\"") + name + "\" has no value");
  return false;
}

bool Request::ReadBool(const char* name, const void* value, bool& out) {
  const size_t at = Log(name, WireType::Bool, false);
  if (!Present(name, value)) return false;
  unsigned char byte;
  std::memcpy(&byte, value, 1);
  Logged(at)->integer = byte;
  if (byte > 1) {
    Error(std::string("wrong wire type for \"") + name + "\": a bool byte holds " + std::to_string(byte));
    return false;
  }
  out = byte == 1;
  return true;
}

bool Request::ReadInt32(const char* name, const void* value, int32_t& out) {
  const size_t at = Log(name, WireType::Int32, false);
  if (!Present(name, value)) return false;
  std::memcpy(&out, value, sizeof out);
  Logged(at)->integer = out;
  return true;
}

bool Request::ReadInt64(const char* name, const void* value, int64_t& out) {
  const size_t at = Log(name, WireType::Int64, false);
  if (!Present(name, value)) return false;
  std::memcpy(&out, value, sizeof out);
  Logged(at)->integer = out;
  return true;
}

bool Request::ReadDouble(const char* name, const void* value, double& out) {
  const size_t at = Log(name, WireType::Double, false);
  if (!Present(name, value)) return false;
  std::memcpy(&out, value, sizeof out);
  Logged(at)->real = out;
  return true;
}

bool Request::ReadText(const char* name, const void* value, std::u16string& out) {
  const size_t at = Log(name, WireType::Text, false);
  if (!Present(name, value)) return false;
  const auto* units = static_cast<const unsigned char*>(value);
  out.clear();
  for (size_t i = 0;; ++i) {
    if (i == kMaxTextUnits) {
      Error(std::string("text \"") + name + "\" is not terminated within " + std::to_string(kMaxTextUnits) +
            " UTF-16 units");
      return false;
    }
    char16_t unit;
    std::memcpy(&unit, units + 2 * i, sizeof unit);
    if (unit == 0) break;
    out += unit;
  }
  Logged(at)->wide = out;
  Logged(at)->text = ToUtf8(out);
  return true;
}

bool Request::ReadKeyword(const char* name, const void* value, std::string& out,
                          std::initializer_list<const char*> allowed) {
  const size_t at = Log(name, WireType::Keyword, false);
  if (!Present(name, value)) return false;
  const auto* chars = static_cast<const char*>(value);
  out.clear();
  for (size_t i = 0; chars[i] != '\0'; ++i) {
    if (i == kMaxKeyword) {
      Error(std::string("keyword \"") + name + "\" is not terminated within " + std::to_string(kMaxKeyword) +
            " characters");
      return false;
    }
    out += chars[i];
  }
  Logged(at)->text = out;
  if (allowed.size() == 0) return true;
  for (const char* candidate : allowed) {
    if (out == candidate) return true;
  }
  Error(std::string("\"") + name + "\" = \"" + out + "\" is not a keyword it takes (a wrong wire type?)");
  return false;
}

bool Request::WriteInt32(const char* name, void* value, int32_t written) {
  const size_t at = Log(name, WireType::Int32, true);
  if (!Present(name, value)) return false;
  std::memcpy(value, &written, sizeof written);
  Logged(at)->integer = written;
  return true;
}

bool Request::WriteInt64(const char* name, void* value, int64_t written) {
  const size_t at = Log(name, WireType::Int64, true);
  if (!Present(name, value)) return false;
  std::memcpy(value, &written, sizeof written);
  Logged(at)->integer = written;
  return true;
}

bool Request::WriteBool(const char* name, void* value, bool written) {
  const size_t at = Log(name, WireType::Bool, true);
  if (!Present(name, value)) return false;
  const unsigned char byte = written ? 1 : 0;
  std::memcpy(value, &byte, 1);
  Logged(at)->integer = byte;
  return true;
}

void Request::Unknown(const char* name, const std::string& where) {
  Log(name, WireType::Unknown, false);
  Error(std::string("unknown name \"") + name + "\" in " + where);
}

bool ReadPairs(Request& request, void** list, std::vector<Pair>& pairs) {
  if (list == nullptr) {
    request.Error("no argument list");
    return false;
  }
  for (size_t i = 0; list[2 * i] != nullptr; ++i) {
    if (i == kMaxPairs) {
      request.Error("argument list not terminated within " + std::to_string(kMaxPairs) + " pairs");
      return false;
    }
    pairs.push_back({static_cast<const char*>(list[2 * i]), list[2 * i + 1]});
  }
  return true;
}

Widget* Target(Request& request) {
  const int32_t id = request.id();
  if (Widget* widget = Find(id)) return widget;
  const Store& store = TheStore();
  if (id == 0) {
    // After a refused creation, the unowned wrapper's requests are expected.
    if (!store.refusedCreation) request.Error("sent to id 0, which names no widget");
  } else if (store.deleted.count(id) != 0) {
    request.Error("widget #" + std::to_string(id) + " (" + ClassName(store.deleted.at(id)) + ") was deleted");
  } else {
    request.Error("unknown widget id " + std::to_string(id));
  }
  return nullptr;
}

}  // namespace mqhost::widget_host
