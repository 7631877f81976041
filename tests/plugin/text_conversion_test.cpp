// Text conversions and decimal parsing of the platform layer. The same cases
// run natively (our converters) and under Wine (the Win32 functions and the
// Windows runtime), so both must give the same answers.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "platform/text.hpp"
#include "platform/wide_parse.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using platform::AnsiToUtf8;
using platform::ParseWideInt;
using platform::ParseWideInt64;
using platform::Utf8ToWide;
using platform::WideToUtf8;

constexpr char16_t kReplacement = 0xFFFD;

TEST(Utf8ToWide, ConvertsEveryEncodedLengthBothWays) {
  // "A", e-acute (2 bytes), euro sign (3 bytes), G clef (4 bytes, a pair).
  const char* const utf8 = "A\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E";
  const std::u16string wide{u'A', 0xE9, 0x20AC, 0xD834, 0xDD1E};
  EXPECT_EQ(Utf8ToWide(utf8), wide);
  EXPECT_EQ(WideToUtf8(wide.c_str()), utf8);
  EXPECT_EQ(Utf8ToWide(""), u"");
  EXPECT_EQ(Utf8ToWide(nullptr), u"");
  EXPECT_EQ(WideToUtf8(u""), "");
  EXPECT_EQ(WideToUtf8(nullptr), "");
  // The largest code point and the last one before the surrogates.
  EXPECT_EQ(Utf8ToWide("\xF4\x8F\xBF\xBF"), (std::u16string{0xDBFF, 0xDFFF}));
  EXPECT_EQ(Utf8ToWide("\xED\x9F\xBF"), std::u16string(1, 0xD7FF));
}

TEST(Utf8ToWide, ReplacesIllFormedSequencesAsWindowsDoes) {
  // A stray continuation byte and a byte that never starts a sequence.
  EXPECT_EQ(Utf8ToWide("a\x80z"), (std::u16string{u'a', kReplacement, u'z'}));
  EXPECT_EQ(Utf8ToWide("\xFF"), std::u16string(1, kReplacement));
  // A truncated sequence is one replacement; the next character survives.
  EXPECT_EQ(Utf8ToWide("\xE2\x82z"), (std::u16string{kReplacement, u'z'}));
  EXPECT_EQ(Utf8ToWide("\xF0\x9D\x84"), std::u16string(1, kReplacement));
  // Truncated at the very end of the text: the terminator is not consumed.
  EXPECT_EQ(Utf8ToWide("x\xC3"), (std::u16string{u'x', kReplacement}));
  // Overlong forms, encoded surrogates and values above U+10FFFF: the lead and
  // the continuation byte it does not allow are one replacement, every
  // following continuation byte one more.
  EXPECT_EQ(Utf8ToWide("\xC0\x80"), std::u16string(2, kReplacement));
  EXPECT_EQ(Utf8ToWide("\xE0\x80\x80"), std::u16string(2, kReplacement));
  EXPECT_EQ(Utf8ToWide("\xE0\x80z"), (std::u16string{kReplacement, u'z'}));
  EXPECT_EQ(Utf8ToWide("\xED\xA0\x80"), std::u16string(2, kReplacement));
  EXPECT_EQ(Utf8ToWide("\xF0\x8F\xBF\xBF"), std::u16string(3, kReplacement));
  EXPECT_EQ(Utf8ToWide("\xF4\x90\x80\x80"), std::u16string(3, kReplacement));
  // Bytes that never lead a sequence are one replacement each.
  EXPECT_EQ(Utf8ToWide("\xF5\x80\x80\x80"), std::u16string(4, kReplacement));
  // A lead interrupted by another lead.
  EXPECT_EQ(Utf8ToWide("\xE2\xE2\x82\xAC"), (std::u16string{kReplacement, 0x20AC}));
}

TEST(Utf8ToWide, NeverReadsPastTheTerminator) {
  // Each buffer holds a truncated four-byte sequence, the terminator, then
  // bytes that would complete the sequence and more text.
  const char leadOnly[] = {'x', '\xF0', '\0', '\x9D', '\x84', '\x9E', 'q', '\0'};
  const char leadAndOne[] = {'x', '\xF0', '\x9D', '\0', '\x84', '\x9E', 'q', '\0'};
  EXPECT_EQ(Utf8ToWide(leadOnly), (std::u16string{u'x', kReplacement}));
  EXPECT_EQ(Utf8ToWide(leadAndOne), (std::u16string{u'x', kReplacement}));
  // Whatever the ANSI code page makes of the bytes, nothing after the
  // terminator takes part.
  const std::string ansi = AnsiToUtf8(leadAndOne);
  EXPECT_EQ(ansi.find('q'), std::string::npos) << ansi;
#ifdef _WIN32
  if (GetACP() == 1252) {
    EXPECT_EQ(ansi, "x\xC3\xB0\xC2\x9D");
  }
#else
  EXPECT_EQ(ansi, "x\xEF\xBF\xBD");
#endif
}

TEST(Utf8ToWide, ConvertsLongTexts) {
  std::string text;
  std::u16string expected;
  for (int i = 0; i < 20000; ++i) {
    text +=
        "\xE2\x82\xAC"
        "7";
    expected += u"\u20AC7";
  }
  EXPECT_EQ(Utf8ToWide(text.c_str()), expected);
  EXPECT_EQ(WideToUtf8(expected.c_str()), text);
}

TEST(WideToUtf8, ReplacesUnpairedSurrogates) {
  // A high surrogate followed by an ordinary character, at the end, and a
  // lone low surrogate; a reversed pair is two lone surrogates.
  const std::u16string highThenChar{0xD834, u'x'};
  const std::u16string highAtEnd{u'x', 0xD834};
  const std::u16string lowAlone{0xDD1E, u'y'};
  const std::u16string reversed{0xDD1E, 0xD834};
  EXPECT_EQ(WideToUtf8(highThenChar.c_str()), "\xEF\xBF\xBDx");
  EXPECT_EQ(WideToUtf8(highAtEnd.c_str()), "x\xEF\xBF\xBD");
  EXPECT_EQ(WideToUtf8(lowAlone.c_str()), "\xEF\xBF\xBDy");
  EXPECT_EQ(WideToUtf8(reversed.c_str()), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(AnsiToUtf8, KeepsAsciiAndConvertsTheCodePage) {
  EXPECT_EQ(AnsiToUtf8("Plugin-E3F7A830-BD9A187A"), "Plugin-E3F7A830-BD9A187A");
  EXPECT_EQ(AnsiToUtf8(nullptr), "");
#ifdef _WIN32
  // Under Wine (and western Windows) the ANSI code page is 1252.
  if (GetACP() == 1252) {
    EXPECT_EQ(AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
  }
#else
  // Elsewhere the ANSI code page is UTF-8, ill-formed bytes included.
  EXPECT_EQ(AnsiToUtf8("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(AnsiToUtf8("caf\xE9"), "caf\xEF\xBF\xBD");
#endif
}

TEST(ParseWideInt, ReadsAndSaturatesLikeTheWindowsRuntime) {
  EXPECT_EQ(ParseWideInt(u"12"), 12);
  EXPECT_EQ(ParseWideInt(u"12abc"), 12);
  EXPECT_EQ(ParseWideInt(u"abc"), 0);
  EXPECT_EQ(ParseWideInt(u""), 0);
  EXPECT_EQ(ParseWideInt(nullptr), 0);
  EXPECT_EQ(ParseWideInt(u" \t\r\n\v\f-42"), -42);
  EXPECT_EQ(ParseWideInt(u"+7"), 7);
  EXPECT_EQ(ParseWideInt(u"-"), 0);
  EXPECT_EQ(ParseWideInt(u"- 5"), 0);
  EXPECT_EQ(ParseWideInt(u"+-5"), 0);
  EXPECT_EQ(ParseWideInt(u"0x1F"), 0);
  EXPECT_EQ(ParseWideInt(u"007"), 7);
  EXPECT_EQ(ParseWideInt(u"1 2"), 1);
  // Outside the range the value saturates.
  EXPECT_EQ(ParseWideInt(u"2147483647"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseWideInt(u"-2147483648"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseWideInt(u"2147483648"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseWideInt(u"-2147483649"), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(ParseWideInt(u"4294967295"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseWideInt(u"18446744073709551617"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseWideInt(u"99999999999999999999999"), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(ParseWideInt(u"-99999999999999999999999"), std::numeric_limits<int32_t>::min());
}

TEST(ParseWideInt64, ReadsAndWrapsLikeTheWindowsRuntime) {
  EXPECT_EQ(ParseWideInt64(u"4294967295"), 4294967295LL);
  EXPECT_EQ(ParseWideInt64(u"  -1x"), -1);
  EXPECT_EQ(ParseWideInt64(u"abc"), 0);
  EXPECT_EQ(ParseWideInt64(nullptr), 0);
  EXPECT_EQ(ParseWideInt64(u"9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseWideInt64(u"-9223372036854775808"), std::numeric_limits<int64_t>::min());
  // Beyond the range the value wraps modulo 2^64.
  EXPECT_EQ(ParseWideInt64(u"9223372036854775808"), std::numeric_limits<int64_t>::min());
  EXPECT_EQ(ParseWideInt64(u"-9223372036854775809"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(ParseWideInt64(u"18446744073709551615"), -1);
  EXPECT_EQ(ParseWideInt64(u"18446744073709551626"), 10);
  EXPECT_EQ(ParseWideInt64(u"99999999999999999999999"), 200376420520689663LL);
  EXPECT_EQ(ParseWideInt64(u"-99999999999999999999999"), -200376420520689663LL);
}

}  // namespace
