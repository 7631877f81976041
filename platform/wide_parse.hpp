// Decimal parsing of UTF-16 text as the Windows runtime's _wtoi and _wtoi64
// read it: leading blanks (space, tab, line feed, vertical tab, form feed,
// carriage return) and one '+' or '-' are allowed, parsing stops at the first
// character that is not an ASCII digit, and text without digits gives 0.
// Beyond the result's range the two differ, as they do in the Windows runtime
// (msvcrt.dll): ParseWideInt saturates at INT32_MIN or INT32_MAX, while
// ParseWideInt64 does not check and wraps modulo 2^64, so its low 32 bits are
// always those of the written number. On Windows these are _wtoi and _wtoi64
// themselves. Only ASCII blanks and digits are defined here: the Windows
// runtime also skips some other Unicode blanks and, in _wtoi, reads
// full-width digits. A null pointer gives 0.
#pragma once

#include <cstdint>

namespace platform {

int32_t ParseWideInt(const char16_t* text);
int64_t ParseWideInt64(const char16_t* text);

}  // namespace platform
