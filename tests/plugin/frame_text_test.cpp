#include "operations/frame_text.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>

namespace {

using tervolin::FormatFrameText;
using tervolin::ParseFrameText;

// A frame that is the identity except for element 1, so each case shows one
// number's form between known neighbours.
std::string FormatWithSecond(float value) {
  float values[16] = {1, value, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  return FormatFrameText(values);
}
std::string Second(float value) {
  const std::string text = FormatWithSecond(value);
  const std::string::size_type first = text.find(',');
  return text.substr(first + 1, text.find(',', first + 1) - first - 1);
}

// Fixed notation between 1e-4 and a million, six significant digits, exponent
// notation with two digits outside that range (denormals too, and where rounding
// carries into the next power of ten); the sign of zero is kept.
TEST(FrameTextFormat, EachNumberInTheShortestOfTheTwoNotations) {
  // clang-format off
  const struct { float value; const char* text; } cases[] = {
      {0.1f, "0.1"}, {0.0001f, "0.0001"}, {0.000123456789f, "0.000123457"}, {100.0f, "100"},
      {123456.0f, "123456"}, {-2.25f, "-2.25"}, {1.0000001f, "1"}, {1234567.0f, "1.23457e+06"},
      {0.00001f, "1e-05"}, {-0.00002f, "-2e-05"}, {1e20f, "1e+20"}, {-3.4028235e38f, "-3.40282e+38"},
      {1e-40f, "9.99995e-41"}, {999999.5f, "1e+06"}, {0.0000999999f, "9.99999e-05"}, {-0.0f, "-0"}, {0.0f, "0"}};
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(Second(c.value), c.text) << c.text;
}

TEST(FrameTextFormat, LocaleNeverChangesTheDecimalPoint) {
  struct CommaPoint : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
  };
  const std::locale saved = std::locale::global(std::locale(std::locale::classic(), new CommaPoint));
  const std::string cxxLocale = Second(0.5f);
  std::locale::global(saved);
  EXPECT_EQ(cxxLocale, "0.5");

  // The C runtime's locale as well, where the system has one with a comma.
  const std::string before = std::setlocale(LC_ALL, nullptr);
  bool switched = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE", "German_Germany.1252", "German"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) {
      switched = true;
      break;
    }
  }
  const std::string cLocale = FormatWithSecond(0.5f);
  float parsed[16] = {};
  const bool read = ParseFrameText("1,0.5,0,0,0,1,0,0,0,0,1,0,0,0,0,1", parsed);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(cLocale, "1,0.5,0,0,0,1,0,0,0,0,1,0,0,0,0,1");
  EXPECT_TRUE(read);
  EXPECT_EQ(parsed[1], 0.5f);
  if (!switched) GTEST_SKIP() << "no locale with a decimal comma on this system; the C++ locale was checked";
}

void ExpectSequence(const float* values, int count, float first, float step) {
  for (int i = 0; i < count; ++i) EXPECT_EQ(values[i], first + step * static_cast<float>(i)) << "index " << i;
}

TEST(FrameTextParse, ReadsWhatFormatWritesUpToSixDigits) {
  float values[16];
  for (int i = 0; i < 16; ++i) values[i] = std::ldexp(1.2345678f + static_cast<float>(i), i * 9 - 60);
  values[3] = -0.0f;
  float back[16];
  ASSERT_TRUE(ParseFrameText(FormatFrameText(values), back));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(back[i], values[i], std::fabs(values[i]) * 6e-6f) << "index " << i;
  EXPECT_TRUE(std::signbit(back[3]));
}

// Any single separator with blanks around it, and text after the sixteenth
// number, still read as 1 to 16.
TEST(FrameTextParse, SeparatorsAndTrailingTextStillReadSixteenNumbers) {
  for (const char* text :
       {" 1 ; 2;3 ;\t4\n;5;6;7;8;9;10;11;12;13;14;15;16", "1x2y3z4/5|6:7a8b9c10d11f12g13h14i15j16",
        "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18 and more",
        "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16xyz", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16   "}) {
    float values[16];
    ASSERT_TRUE(ParseFrameText(text, values)) << text;
    ExpectSequence(values, 16, 1, 1);
  }
}

TEST(FrameTextParse, BlanksAloneLoseTheFirstDigitOfEachFollowingNumber) {
  float values[16];
  // Each separator read takes the next number's first character.
  ASSERT_TRUE(ParseFrameText("0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1", values));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(values[i], static_cast<float>((2 * i) % 10)) << "index " << i;
  ASSERT_TRUE(ParseFrameText("11 22 33 44 55 66 77 88 99 11 22 33 44 55 66 77", values));
  EXPECT_EQ(values[0], 11);
  EXPECT_EQ(values[1], 2);
  EXPECT_EQ(values[2], 3);
  EXPECT_EQ(values[15], 7);
}

// Text that does not hold sixteen plain decimal numbers within the float
// range fails and leaves the values as they were.
TEST(FrameTextParse, TextWithoutSixteenUsableNumbersFailsAndLeavesTheValues) {
  float values[16];
  for (float& value : values) value = 42;
  for (const char* text :
       {"1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,", "", " \t\r\n",
        "1,2,3,4,5,6,7,8,x,10,11,12,13,14,15,16", "1,,3,4,5,6,7,8,9,10,11,12,13,14,15,16",
        "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16",  // each blank takes the next digit
        "1e+,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", "inf,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1",
        "nan,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", "-,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1",
        ".,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", "1e39,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1",
        "-1e99999999999,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1",
        "340282356779733661637539395458142568448,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1"}) {
    EXPECT_FALSE(ParseFrameText(text, values)) << '"' << text << '"';
  }
  for (float value : values) EXPECT_EQ(value, 42);
}

TEST(FrameTextParse, SignsPointsAndExponents) {
  float values[16];
  ASSERT_TRUE(ParseFrameText("+1,-2,-0,.5,5.,-.25,1e3,2.5E-2,1e+2,-1.5e1,0,0,0,0,0,1", values));
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], -2);
  EXPECT_EQ(values[2], 0);
  EXPECT_TRUE(std::signbit(values[2]));
  EXPECT_EQ(values[3], 0.5f);
  EXPECT_EQ(values[4], 5);
  EXPECT_EQ(values[5], -0.25f);
  EXPECT_EQ(values[6], 1000);
  EXPECT_EQ(values[7], 0.025f);
  EXPECT_EQ(values[8], 100);
  EXPECT_EQ(values[9], -15);
  EXPECT_EQ(values[15], 1);
}

// An exponent without digits and a hexadecimal prefix are not part of the number.
TEST(FrameTextParse, LettersThatEndNoNumberAreSeparators) {
  float values[16];
  // "7e" is the number 7 followed by the separator "e".
  ASSERT_TRUE(ParseFrameText("7e 8,9,10,11,12,13,14,15,16,17,18,19,20,21,22", values));
  ExpectSequence(values, 16, 7, 1);
  // "1e2e3": the number 100, the separator "e", the number 3.
  ASSERT_TRUE(ParseFrameText("1e2e3,4,5,6,7,8,9,10,11,12,13,14,15,16,17", values));
  EXPECT_EQ(values[0], 100);
  EXPECT_EQ(values[1], 3);
  // "0x10" is the number 0, the separator "x" and the number 10.
  ASSERT_TRUE(ParseFrameText("0x10,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_EQ(values[0], 0);
  EXPECT_EQ(values[1], 10);
}

TEST(FrameTextParse, BelowTheFloatRangeIsZero) {
  float values[16];
  ASSERT_TRUE(ParseFrameText("3.4028234e38,1e-50,-0.0000001e-45,1e-40,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_EQ(values[0], 3.4028234e38f);
  EXPECT_EQ(values[1], 0);
  EXPECT_EQ(values[2], 0);
  EXPECT_TRUE(std::signbit(values[2]));
  EXPECT_NEAR(values[3], 1e-40f, 1e-44f);
}

}  // namespace
