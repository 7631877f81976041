#include "protocol/arg_list.hpp"

#include <cstring>

namespace tervolin {

namespace {

// The slot index of the value of the first pair named `name`, or -1.
// Reading stops at the terminating null name and never goes past it.
long FindPair(void* const* list, const char* name) {
  if (list == nullptr || name == nullptr) return -1;
  for (long i = 0; list[i] != nullptr; i += 2) {
    if (std::strcmp(static_cast<const char*>(list[i]), name) == 0) return i + 1;
  }
  return -1;
}

}  // namespace

void* LookupArgPointer(void* const* list, const char* name) {
  const long slot = FindPair(list, name);
  return slot < 0 ? nullptr : list[slot];
}

int32_t LookupArgInt(void* const* list, const char* name, int32_t fallback) {
  const long slot = FindPair(list, name);
  if (slot < 0 || list[slot] == nullptr) return fallback;
  int32_t value;
  std::memcpy(&value, list[slot], sizeof value);
  return value;
}

}  // namespace tervolin
