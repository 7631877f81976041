// Argument-list lookups on lists built from the input: names from the set the
// plug-in reads and arbitrary bytes, values null or pointing at input bytes.
// Every answer is compared with a plain first-match search.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "protocol/arg_list.hpp"

namespace {

const char* const kNames[] = {"type", "target_id", "sender_id", "finished", "key",   "button_state",
                              "x",    "width",     "id",        "root",     "index", ""};

void* Reference(const std::vector<void*>& list, const char* name) {
  for (size_t i = 0; list[i] != nullptr; i += 2) {
    if (std::strcmp(static_cast<const char*>(list[i]), name) == 0) return list[i + 1];
  }
  return nullptr;
}

bool Present(const std::vector<void*>& list, const char* name) {
  for (size_t i = 0; list[i] != nullptr; i += 2) {
    if (std::strcmp(static_cast<const char*>(list[i]), name) == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const size_t pairs = input.ConsumeIntegralInRange<size_t>(0, 24);
  std::vector<std::string> names;
  std::vector<int32_t> values(pairs);
  names.reserve(pairs + 1);
  for (size_t i = 0; i < pairs; ++i) {
    if (input.ConsumeBool()) {
      names.emplace_back(kNames[input.ConsumeIntegralInRange<size_t>(0, std::size(kNames) - 1)]);
    } else {
      names.push_back(input.ConsumeRandomLengthString(16));
    }
    values[i] = input.ConsumeIntegral<int32_t>();
  }
  std::vector<void*> list;
  for (size_t i = 0; i < pairs; ++i) {
    list.push_back(names[i].data());
    list.push_back(input.ConsumeBool() ? nullptr : &values[i]);
  }
  list.push_back(nullptr);
  list.push_back(nullptr);

  std::vector<std::string> queries(std::begin(kNames), std::end(kNames));
  queries.push_back(input.ConsumeRemainingBytesAsString());
  for (const std::string& query : queries) {
    const char* name = query.c_str();
    void* const expected = Reference(list, name);
    if (tervolin::LookupArgPointer(list.data(), name) != expected) std::abort();
    int32_t expectedInt = -77;
    if (expected != nullptr) std::memcpy(&expectedInt, expected, sizeof expectedInt);
    if (tervolin::LookupArgInt(list.data(), name, -77) != expectedInt) std::abort();
    if (!Present(list, name) && tervolin::LookupArgPointer(list.data(), name) != nullptr) std::abort();
  }
  if (tervolin::LookupArgPointer(nullptr, "type") != nullptr) std::abort();
  if (tervolin::LookupArgInt(nullptr, "type", 5) != 5) std::abort();
  return 0;
}
