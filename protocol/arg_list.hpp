// Argument lists: arrays of pointer-sized slots holding (name, value) pairs,
// ended by a null name. Names are narrow and matched byte for byte; the first
// matching pair wins, even when its value is null.
#pragma once

#include <cstdint>

namespace tervolin {

// The value of the first pair named `name`; null when the list is null or has
// no such pair.
void* LookupArgPointer(void* const* list, const char* name);

// The int32 the first pair named `name` points to; `fallback` when the list is
// null, no pair matches, or the matching pair's value is null.
int32_t LookupArgInt(void* const* list, const char* name, int32_t fallback);

}  // namespace tervolin
