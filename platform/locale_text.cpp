#include "platform/locale_text.hpp"

#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <utility>
#include <vector>

namespace platform {

#ifdef _WIN32

// wchar_t is UTF-16 here: the runtime's result is the answer as it stands.
bool LocaleMultiByteToUtf16(const std::string& text, std::u16string& wide) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");
  wide.clear();
  // Every byte gives at most two wide characters, plus the terminator.
  std::vector<wchar_t> buffer(2 * text.size() + 1, L'\0');
  size_t converted = 0;
  if (mbstowcs_s(&converted, buffer.data(), buffer.size(), text.c_str(), _TRUNCATE) != 0) return false;
  for (const wchar_t* p = buffer.data(); *p != L'\0'; ++p) wide.push_back(static_cast<char16_t>(*p));
  return true;
}

#else

// wchar_t holds whole code points (UTF-32) here; they are split into UTF-16
// after the runtime's conversion.
bool LocaleMultiByteToUtf16(const std::string& text, std::u16string& wide) {
  wide.clear();
  std::vector<wchar_t> buffer(2 * text.size() + 1, L'\0');
  std::mbstate_t state{};
  const char* source = text.c_str();
  const size_t converted = std::mbsrtowcs(buffer.data(), &source, buffer.size() - 1, &state);
  if (converted == static_cast<size_t>(-1)) return false;
  std::u16string result;
  result.reserve(converted);
  for (size_t i = 0; i < converted; ++i) {
    const wchar_t character = buffer[i];
    const auto code = static_cast<uint32_t>(static_cast<int32_t>(character));
    if (code >= 0xD800u && code <= 0xDFFFu) return false;
    if (code < 0x10000u) {
      result.push_back(static_cast<char16_t>(code));
    } else if (code <= 0x10FFFFu) {
      const uint32_t rest = code - 0x10000u;
      result.push_back(static_cast<char16_t>(0xD800u + (rest >> 10)));
      result.push_back(static_cast<char16_t>(0xDC00u + (rest & 0x3FFu)));
    } else {
      return false;
    }
  }
  wide = std::move(result);
  return true;
}

#endif

}  // namespace platform
