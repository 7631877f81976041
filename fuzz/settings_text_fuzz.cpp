// The settings texts as the plug-in reads them: a key's UTF-8 text converted
// to UTF-16 and parsed as a decimal number, and the conversions back. Any
// bytes may come from a hand-edited settings file. Checks: conversions give
// well-formed text and round-trip what is already well-formed; the numbers
// match a plain reading of the same rules.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text.hpp"
#include "platform/wide_parse.hpp"

namespace {

// Well-formed UTF-16: every surrogate is paired.
bool WellFormed(const std::u16string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

bool Blank(char16_t c) { return c == ' ' || (c >= 9 && c <= 13); }

// Digits after blanks and one sign, accumulated modulo 2^64.
uint64_t Digits(const char16_t* text, bool* negative, bool* overflow32) {
  while (Blank(*text)) ++text;
  *negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  uint64_t value = 0;
  *overflow32 = false;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + static_cast<uint64_t>(*text - '0');
    if (value > 2147483648u) *overflow32 = true;
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The bytes as a zero-terminated narrow text, cut at the first zero as the
  // host's element text would be.
  const std::string narrow(reinterpret_cast<const char*>(data), size);
  const std::string text(narrow.c_str());
  const std::u16string wide = platform::Utf8ToWide(text.c_str());
  if (!WellFormed(wide)) std::abort();
  const std::string back = platform::WideToUtf8(wide.c_str());
  if (platform::Utf8ToWide(back.c_str()) != wide) std::abort();  // converted text is stable
  if (platform::WideToUtf8(platform::Utf8ToWide(back.c_str()).c_str()) != back) std::abort();
  if (platform::AnsiToUtf8(back.c_str()) != back) std::abort();  // the ANSI page is UTF-8 here

  // The bytes as UTF-16 units (a wide text from the host), paired or not.
  std::u16string units;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  const std::string utf8 = platform::WideToUtf8(units.c_str());
  const std::u16string reread = platform::Utf8ToWide(utf8.c_str());
  if (!WellFormed(reread)) std::abort();
  if (WellFormed(units) && reread != units) std::abort();  // well-formed text round-trips

  // Numbers, as LoadInt and LoadUInt read a key.
  const std::u16string* const numbers[] = {&wide, &units};
  for (const std::u16string* number : numbers) {
    bool negative = false;
    bool overflow = false;
    const uint64_t magnitude = Digits(number->c_str(), &negative, &overflow);
    const uint64_t wrapped = negative ? 0 - magnitude : magnitude;
    if (static_cast<uint64_t>(platform::ParseWideInt64(number->c_str())) != wrapped) std::abort();
    int64_t expected = static_cast<int64_t>(magnitude > 2147483648u ? 2147483648u : magnitude);
    if (negative) expected = -expected;
    if (expected > INT32_MAX || (overflow && !negative)) expected = INT32_MAX;
    if (overflow && negative) expected = INT32_MIN;
    if (platform::ParseWideInt(number->c_str()) != expected) std::abort();
  }
  return 0;
}
