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

TEST(FrameTextFormat, IdentityIsSixteenPlainNumbersWithCommas) {
  const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_EQ(FormatFrameText(identity), "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1");
}

TEST(FrameTextFormat, FixedNotationBetweenTenToTheMinusFourAndAMillion) {
  EXPECT_EQ(Second(0.1f), "0.1");
  EXPECT_EQ(Second(0.0001f), "0.0001");
  EXPECT_EQ(Second(0.000123456789f), "0.000123457");
  EXPECT_EQ(Second(100.0f), "100");
  EXPECT_EQ(Second(123456.0f), "123456");
  EXPECT_EQ(Second(-2.25f), "-2.25");
  EXPECT_EQ(Second(1.0000001f), "1");
}

TEST(FrameTextFormat, ExponentNotationOutsideThatRangeWithTwoExponentDigits) {
  EXPECT_EQ(Second(1234567.0f), "1.23457e+06");
  EXPECT_EQ(Second(0.00001f), "1e-05");
  EXPECT_EQ(Second(-0.00002f), "-2e-05");
  EXPECT_EQ(Second(1e20f), "1e+20");
  EXPECT_EQ(Second(-3.4028235e38f), "-3.40282e+38");
  EXPECT_EQ(Second(1e-40f), "9.99995e-41");  // a denormal float
  // Rounding to six digits can carry into the next power of ten.
  EXPECT_EQ(Second(999999.5f), "1e+06");
  EXPECT_EQ(Second(0.0000999999f), "9.99999e-05");
}

TEST(FrameTextFormat, NegativeZeroKeepsItsSign) {
  EXPECT_EQ(Second(-0.0f), "-0");
  EXPECT_EQ(Second(0.0f), "0");
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
  EXPECT_FALSE(ParseFrameText("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", values));
  ASSERT_TRUE(ParseFrameText("0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0 1", values));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(values[i], static_cast<float>((2 * i) % 10)) << "index " << i;
  ASSERT_TRUE(ParseFrameText("11 22 33 44 55 66 77 88 99 11 22 33 44 55 66 77", values));
  EXPECT_EQ(values[0], 11);
  EXPECT_EQ(values[1], 2);
  EXPECT_EQ(values[2], 3);
  EXPECT_EQ(values[15], 7);
}

TEST(FrameTextParse, FewerThanSixteenNumbersFailAndLeaveTheValues) {
  float values[16];
  for (float& value : values) value = 42;
  EXPECT_FALSE(ParseFrameText("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15", values));
  EXPECT_FALSE(ParseFrameText("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,", values));
  EXPECT_FALSE(ParseFrameText("", values));
  EXPECT_FALSE(ParseFrameText(" \t\r\n", values));
  EXPECT_FALSE(ParseFrameText("1,2,3,4,5,6,7,8,x,10,11,12,13,14,15,16", values));
  EXPECT_FALSE(ParseFrameText("1,,3,4,5,6,7,8,9,10,11,12,13,14,15,16", values));
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

TEST(FrameTextParse, AnExponentWithoutDigitsIsNotPartOfTheNumber) {
  float values[16];
  // "7e" is the number 7 followed by the separator "e".
  ASSERT_TRUE(ParseFrameText("7e 8,9,10,11,12,13,14,15,16,17,18,19,20,21,22", values));
  ExpectSequence(values, 16, 7, 1);
  // "1e2e3": the number 100, the separator "e", the number 3.
  ASSERT_TRUE(ParseFrameText("1e2e3,4,5,6,7,8,9,10,11,12,13,14,15,16,17", values));
  EXPECT_EQ(values[0], 100);
  EXPECT_EQ(values[1], 3);
  EXPECT_FALSE(ParseFrameText("1e+,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16", values));
}

TEST(FrameTextParse, WordsAndLoneSignsAreNotNumbers) {
  float values[16];
  EXPECT_FALSE(ParseFrameText("inf,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_FALSE(ParseFrameText("nan,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_FALSE(ParseFrameText("-,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_FALSE(ParseFrameText(".,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  // No hexadecimal: "0x10" is the number 0, the separator "x" and the number 10.
  ASSERT_TRUE(ParseFrameText("0x10,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_EQ(values[0], 0);
  EXPECT_EQ(values[1], 10);
}

TEST(FrameTextParse, BeyondTheFloatRangeFailsAndBelowItIsZero) {
  float values[16];
  EXPECT_FALSE(ParseFrameText("1e39,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_FALSE(ParseFrameText("-1e99999999999,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_FALSE(
      ParseFrameText("340282356779733661637539395458142568448,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", values));
  ASSERT_TRUE(ParseFrameText("3.4028234e38,1e-50,-0.0000001e-45,1e-40,0,1,0,0,0,0,1,0,0,0,0,1", values));
  EXPECT_EQ(values[0], 3.4028234e38f);
  EXPECT_EQ(values[1], 0);
  EXPECT_EQ(values[2], 0);
  EXPECT_TRUE(std::signbit(values[2]));
  EXPECT_NEAR(values[3], 1e-40f, 1e-44f);
}

}  // namespace
