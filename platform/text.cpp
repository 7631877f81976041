#include "platform/text.hpp"

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#endif

namespace platform {

#ifdef _WIN32

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

namespace {
// Asks for the length first, converts into a buffer one element longer, and
// copies what was written. The input's length is passed explicitly rather
// than as -1: some implementations (Wine's) take the terminating zero into a
// truncated four-byte sequence and read on past the text.
std::u16string MultiByteToUtf16(UINT codePage, const char* text) {
  if (text == nullptr || text[0] == '\0') return {};
  const int count = static_cast<int>(std::char_traits<char>::length(text));
  const int length = MultiByteToWideChar(codePage, 0, text, count, nullptr, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int written = MultiByteToWideChar(codePage, 0, text, count, buffer.data(), length + 1);
  if (written <= 0) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), static_cast<size_t>(written));
}
}  // namespace

std::u16string Utf8ToWide(const char* text) { return MultiByteToUtf16(CP_UTF8, text); }

std::string WideToUtf8(const char16_t* text) {
  if (text == nullptr || text[0] == u'\0') return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text);
  const int count = static_cast<int>(std::char_traits<char16_t>::length(text));
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide, count, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  const int written =
      WideCharToMultiByte(CP_UTF8, 0, wide, count, buffer.data(), length + 1, nullptr, nullptr);
  if (written <= 0) return {};
  return std::string(buffer.data(), static_cast<size_t>(written));
}

std::string AnsiToUtf8(const char* text) {
  if (text == nullptr) return {};
  const std::u16string wide = MultiByteToUtf16(CP_ACP, text);
  return WideToUtf8(wide.c_str());
}

#else

namespace {
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}
}  // namespace

std::u16string Utf8ToWide(const char* text) {
  std::u16string out;
  if (text == nullptr) return out;
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  size_t i = 0;
  while (bytes[i] != 0) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // The lead byte fixes the length and the range of the first continuation
    // byte; that range excludes overlong forms, surrogates and values above
    // U+10FFFF.
    int continuations = 0;
    char32_t code = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      continuations = 1;
      code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      continuations = 2;
      code = lead & 0x0Fu;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      continuations = 3;
      code = lead & 0x07u;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      out.push_back(static_cast<char16_t>(kReplacement));
      ++i;
      continue;
    }
    ++i;
    // As Windows reads it: a continuation byte (0x80 to 0xBF) after the lead
    // always belongs to the ill-formed part, even when it is outside the range
    // this lead allows (overlong forms, surrogates, values above U+10FFFF);
    // the sequence then ends there, as one replacement. Any other byte ends
    // the sequence before it and starts the next one.
    bool complete = true;
    for (int k = 0; k < continuations; ++k) {
      // The terminating zero is no continuation byte, so this stops there.
      const unsigned char next = bytes[i];
      if (next < 0x80 || next > 0xBF) {
        complete = false;
        break;
      }
      ++i;
      if (next < low || next > high) {
        complete = false;
        break;
      }
      low = 0x80;
      high = 0xBF;
      code = (code << 6) | (next & 0x3Fu);
    }
    AppendUtf16(out, complete ? code : kReplacement);
  }
  return out;
}

std::string WideToUtf8(const char16_t* text) {
  std::string out;
  if (text == nullptr) return out;
  size_t i = 0;
  while (text[i] != 0) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      const char32_t code =
          0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
      AppendUtf8(out, code);
      i += 2;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
      ++i;
    } else {
      AppendUtf8(out, unit);
      ++i;
    }
  }
  return out;
}

std::string AnsiToUtf8(const char* text) {
  if (text == nullptr) return {};
  const std::u16string wide = Utf8ToWide(text);
  return WideToUtf8(wide.c_str());
}

#endif

}  // namespace platform
