#include "loader/visible_text.hpp"

#include <cstdio>

namespace loader {

namespace {

// The length of the well-formed UTF-8 character at `at` (1 to 4), or 0.
// Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
size_t CharacterLength(const std::string& text, size_t at, unsigned* code) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned first = byte(at);
  if (first < 0x80) {
    *code = first;
    return 1;
  }
  size_t length = 0;
  unsigned value = 0;
  unsigned least = 0;
  if ((first & 0xE0) == 0xC0) {
    length = 2, value = first & 0x1F, least = 0x80;
  } else if ((first & 0xF0) == 0xE0) {
    length = 3, value = first & 0x0F, least = 0x800;
  } else if ((first & 0xF8) == 0xF0) {
    length = 4, value = first & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *code = value;
  return length;
}

void Append(std::string& out, const char* format, unsigned value) {
  char escape[12];
  std::snprintf(escape, sizeof escape, format, value);
  out += escape;
}

}  // namespace

std::string Visible(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned code = 0;
    const size_t length = CharacterLength(text, i, &code);
    if (length == 0) {
      Append(out, "\\x%02x", static_cast<unsigned char>(text[i]));
      ++i;
      continue;
    }
    if (code == '\n') {
      out += "\\n";
    } else if (code == '\t') {
      out += "\\t";
    } else if (code == '\r') {
      out += "\\r";
    } else if (code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0xFFFE || code == 0xFFFF) {
      // C0, DEL, C1, and the two non-characters no XML document may hold.
      Append(out, "\\u%04x", code);
    } else {
      out.append(text, i, length);
    }
    i += length;
  }
  return out;
}

}  // namespace loader
