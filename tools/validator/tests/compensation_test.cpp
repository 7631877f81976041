// The validator's own idea of where compensated vertices go, and of the
// frame text a copy leaves: if either were wrong, every pick check built on
// it would be too.
#include "compensation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "clipboard_view.hpp"
#include "mqhost/matrix_values.hpp"

namespace {

using mqhost::Matrix16;
using mqhost::Point3;

Matrix16 Frame(Point3 x, Point3 y, Point3 z, Point3 origin) {
  return {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, origin.x, origin.y, origin.z, 1};
}

TEST(Compensation, TheTipOfTheOldAxisGoesToTheTipOfTheNewOne) {
  const Point3 o{1, 2, 3};
  const Matrix16 before = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, o);
  const Matrix16 after = Frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, o);  // a quarter turn about Z
  const validator::Expected tip = validator::ExpectedAfterFrameChange({2, 2, 3}, before, after, false);
  EXPECT_TRUE(validator::Within(tip, {1, 3, 3}));
  EXPECT_FALSE(validator::Within(tip, {2, 2, 3})) << "a vertex that stayed is wrong";
  const validator::Expected origin = validator::ExpectedAfterFrameChange(o, before, after, false);
  EXPECT_TRUE(validator::Within(origin, o)) << "the origin itself does not move";
}

TEST(Compensation, MirrorFlagTakesScaleAndTranslationFromTheNewFrame) {
  const Matrix16 before = mqhost::IdentityMatrix();
  const Matrix16 after = Frame({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {5, 0, 0});
  const Point3 p{1, 1, 1};
  EXPECT_TRUE(validator::Within(validator::ExpectedAfterFrameChange(p, before, after, true), {7, 2, 2}));
  EXPECT_TRUE(validator::Within(validator::ExpectedAfterFrameChange(p, before, after, false), {1, 1, 1}))
      << "without the flag the old scale and translation are kept, and the rotation did not change";
  const Matrix16 mirrored = Frame({-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0});
  EXPECT_TRUE(validator::Within(validator::ExpectedAfterFrameChange(p, before, mirrored, true), {-1, 1, 1}));
}

TEST(Compensation, SingularOldFrameLeavesVerticesInPlace) {
  const Matrix16 singular = Frame({1, 0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 0});
  ASSERT_TRUE(validator::IsSingular(singular));
  const Matrix16 after = Frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 0, 0});
  const validator::Expected expected = validator::ExpectedAfterFrameChange({1, 2, 3}, singular, after, true);
  EXPECT_TRUE(validator::Within(expected, {1, 2, 3}));
  EXPECT_FALSE(validator::Within(expected, {1, 2, 3.0000005f})) << "staying is checked exactly";
}

TEST(Compensation, FarOriginUsesTheExactInverse) {
  // The axes alone decide invertibility: an origin far away is still taken
  // back exactly, so a vertex one unit along X stays one unit along the new X.
  const Point3 o{1e13f, -3e12f, 0};
  const Matrix16 before = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, o);
  ASSERT_FALSE(validator::IsSingular(before));
  const Matrix16 after = Frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, o);
  const validator::Expected tip =
      validator::ExpectedAfterFrameChange({o.x + 1e6f, o.y, 0}, before, after, false);
  EXPECT_NEAR(tip.position[0], o.x, 1e6 * 1e-3);
  EXPECT_NEAR(tip.position[1], o.y + 1e6, 1e6 * 1e-3 + 3e12 * 1e-7);
}

TEST(Compensation, ToleranceFollowsTheMagnitudeAndRejectsNonFiniteValues) {
  const Matrix16 before = mqhost::IdentityMatrix();
  const Matrix16 after = mqhost::ComposeMatrix({1, 1, 1}, {30, 20, 10}, {0, 0, 0});
  for (const float size : {1e-3f, 1.0f, 1e6f, 1e30f}) {
    const Point3 p{size, -size, size};
    const validator::Expected expected = validator::ExpectedAfterFrameChange(p, before, after, false);
    const Point3 exact{static_cast<float>(expected.position[0]), static_cast<float>(expected.position[1]),
                       static_cast<float>(expected.position[2])};
    EXPECT_TRUE(validator::Within(expected, exact)) << size;
    const Point3 off{exact.x + size * 1e-3f, exact.y, exact.z};
    EXPECT_FALSE(validator::Within(expected, off)) << "off by a thousandth of " << size;
  }
  const validator::Expected zero = validator::ExpectedAfterFrameChange({0, 0, 0}, before, before, false);
  EXPECT_FALSE(validator::Within(zero, {std::numeric_limits<float>::quiet_NaN(), 0, 0}));
  EXPECT_FALSE(validator::Within(zero, {std::numeric_limits<float>::infinity(), 0, 0}));
}

TEST(Compensation, OriginMoveIsTheFloatSumTheOperationMakes) {
  const Point3 moved = validator::ExpectedAfterOriginMove({5, 6, 7}, {1, 1, 1}, {3, 1, 1});
  EXPECT_EQ(moved.x, 7);
  EXPECT_EQ(moved.y, 6);
  EXPECT_EQ(moved.z, 7);
  // Huge and tiny values: the sum is taken in float, as the plug-in takes it.
  const Point3 huge = validator::ExpectedAfterOriginMove({1e30f, 1e-30f, 0}, {0, 0, 0}, {1, 1, 1});
  EXPECT_EQ(huge.x, 1e30f);
  EXPECT_EQ(huge.y, 1.0f);
}

TEST(Compensation, FinitenessAndSingularityOfFrames) {
  Matrix16 frame = mqhost::IdentityMatrix();
  EXPECT_TRUE(validator::IsFinite(frame));
  EXPECT_FALSE(validator::IsSingular(frame));
  frame[13] = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(validator::IsFinite(frame));
  EXPECT_TRUE(validator::IsSingular(Frame({1, 2, 3}, {2, 4, 6}, {0, 0, 1}, {0, 0, 0})));
  EXPECT_TRUE(validator::IsSingular(Frame({0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 2, 3})));
  EXPECT_FALSE(validator::IsSingular(Frame({1e-3f, 0, 0}, {0, 1e-3f, 0}, {0, 0, 1e-3f}, {1e30f, 0, 0})))
      << "small axes and a far origin still span space";
}

// A copy's text is read to the six digits the plug-in writes: a frame given
// back as text at nine digits passes, a digit off, a field missing or a
// number that is not one fails.
TEST(CopiedFrameText, HoldsTheFrameToSixDigitsOrSaysWhatIsWrong) {
  const Matrix16 withW = {0.1f, 1234567.0f, 1e-4f, 1e-5f, -0.0f, 1, 0, 0, 0, 0, 1, 0, -2.5f, 1e20f, 3, 1};
  EXPECT_EQ(validator::CopiedFrameProblem(validator::FrameText(withW), withW), "");
  EXPECT_EQ(validator::CopiedFrameProblem(
                std::string("0.1,1.23457e+06,0.0001,1e-05,-0,1,0,0,0,0,1,0,-2.5,1e+20,3,1"), withW),
            "");
  const struct {
    const char* text;
    const char* problem;
  } wrong[] = {
      {"0.1,1.23456e+06,0.0001,1e-05,-0,1,0,0,0,0,1,0,-2.5,1e+20,3,1", "number 2 is 1.23456e+06"},
      {"0.1,1.23457e+06,0.0001,1e-05,0,1,0,0,0,0,1,0,-2.5,1e+20,3", "holds 15 fields"},
      {"0.1,1.23457e+06,0.0001,1e-05,0,1,0,0,0,0,1,0,-2.5,nan,3,1", "number 14 (\"nan\") is no finite"},
      {"0.1,1.23457e+06,0.0001,1e-05,0,1,0,0,0,0,1,0,-2.5,1e+20,3,1 ", "number 16 (\"1 \")"},
  };
  for (const auto& each : wrong) {
    const std::string problem = validator::CopiedFrameProblem(std::string(each.text), withW);
    EXPECT_NE(problem.find(each.problem), std::string::npos) << each.text << ": " << problem;
  }
  EXPECT_EQ(validator::CopiedFrameProblem(std::nullopt, withW), "the clipboard holds no text");
}

}  // namespace
