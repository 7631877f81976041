// Text conversions between UTF-8, the ANSI code page and UTF-16, each on a
// whole zero-terminated string. On Windows they are MultiByteToWideChar and
// WideCharToMultiByte; elsewhere our own converters, and the ANSI code page is
// UTF-8 there.
//
// Ill-formed input converts as Windows converts it: an invalid UTF-8 sequence
// (for example in a hand-edited settings file) and an unpaired surrogate each
// become U+FFFD. A truncated sequence is one replacement and the byte that
// broke it starts the next one; a stray byte is one; a lead byte with a
// continuation byte it does not allow (overlong, surrogate, above U+10FFFF)
// is one for the two, and the following continuation bytes one each. No
// conversion reads past the terminating zero. A null pointer converts to the
// empty string.
#pragma once

#include <string>

namespace platform {

std::u16string Utf8ToWide(const char* text);
std::string WideToUtf8(const char16_t* text);
// ANSI code page to UTF-8, through UTF-16.
std::string AnsiToUtf8(const char* text);

}  // namespace platform
