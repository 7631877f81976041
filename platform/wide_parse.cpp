#include "platform/wide_parse.hpp"

#ifdef _WIN32
#include <cstdlib>
#else
#include <cstddef>
#include <limits>
#endif

namespace platform {

#ifdef _WIN32

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

int32_t ParseWideInt(const char16_t* text) {
  if (text == nullptr) return 0;
  return _wtoi(reinterpret_cast<const wchar_t*>(text));
}

int64_t ParseWideInt64(const char16_t* text) {
  if (text == nullptr) return 0;
  return _wtoi64(reinterpret_cast<const wchar_t*>(text));
}

#else

namespace {
bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Skips the blanks and the sign; returns the index of the first digit.
std::size_t SkipPrefix(const char16_t* text, bool& negative) {
  std::size_t i = 0;
  while (IsBlank(text[i])) ++i;
  negative = false;
  if (text[i] == u'+' || text[i] == u'-') {
    negative = text[i] == u'-';
    ++i;
  }
  return i;
}
}  // namespace

int32_t ParseWideInt(const char16_t* text) {
  if (text == nullptr) return 0;
  bool negative = false;
  std::size_t i = SkipPrefix(text, negative);
  // The magnitude stops growing once it is past the limit on its side.
  const int64_t limit =
      negative ? -int64_t{std::numeric_limits<int32_t>::min()} : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (; IsDigit(text[i]); ++i) {
    if (magnitude > limit) break;
    magnitude = magnitude * 10 + (text[i] - u'0');
  }
  if (magnitude > limit) magnitude = limit;
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int64_t ParseWideInt64(const char16_t* text) {
  if (text == nullptr) return 0;
  bool negative = false;
  std::size_t i = SkipPrefix(text, negative);
  // Unsigned arithmetic wraps modulo 2^64, as the runtime's does.
  uint64_t value = 0;
  for (; IsDigit(text[i]); ++i) value = value * 10u + static_cast<uint64_t>(text[i] - u'0');
  if (negative) value = 0u - value;
  // Two's complement reading of the 64 bits (well defined, unlike a cast of
  // an out-of-range value before C++20).
  return value <= static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
             ? static_cast<int64_t>(value)
             : -static_cast<int64_t>(~value) - 1;
}

#endif

}  // namespace platform
