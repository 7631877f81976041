#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "geometry/frame.hpp"
#include "geometry/math.hpp"

namespace {

void ExpectFloat3(const Float3& actual, float x, float y, float z) {
  EXPECT_FLOAT_EQ(actual.x, x);
  EXPECT_FLOAT_EQ(actual.y, y);
  EXPECT_FLOAT_EQ(actual.z, z);
}

// No threshold: anything with a positive length becomes a unit vector; zero
// and not-a-number become zero.
TEST(Normalize, GivesAUnitVectorOrZero) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    Float3 in, out;
  } cases[] = {{{3, 4, 0}, {0.6f, 0.8f, 0}},
               {{-2, 0, 0}, {-1, 0, 0}},
               {{0, 1e-10f, 0}, {0, 1, 0}},
               {{0, 0, 0}, {0, 0, 0}},
               {{1, nan, 2}, {0, 0, 0}}};
  for (const auto& c : cases) {
    Float3 v = c.in;
    Normalize(v);
    ExpectFloat3(v, c.out.x, c.out.y, c.out.z);
  }
}

TEST(Cross, FollowsTheRightHandRuleAndIsZeroForParallels) {
  ExpectFloat3(Cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
  ExpectFloat3(Cross({0, 1, 0}, {0, 0, 1}), 1, 0, 0);
  ExpectFloat3(Cross({0, 0, 1}, {1, 0, 0}), 0, 1, 0);
  ExpectFloat3(Cross({1, 2, 3}, {4, 5, 6}), -3, 6, -3);
  ExpectFloat3(Cross({1, 2, 3}, {2, 4, 6}), 0, 0, 0);
  ExpectFloat3(Cross({1, 2, 3}, {-1, -2, -3}), 0, 0, 0);
}

// The other operators are simple sums, checked through the face normals and
// the vertex moves that use them.
TEST(Float3Arithmetic, NegationKeepsTheSignOfZero) {
  ExpectFloat3(-Float3{1, -2, 0}, -1, 2, 0);
  EXPECT_TRUE(std::signbit((-Float3{0, 0, 0}).x));
}

TEST(MatrixProduct, AppliesTheLeftMatrixFirstWithAllSixteenElements) {
  // A: scale X by 2; B: move by (5, 0, 0). p · (A · B) scales, then moves.
  MQMatrix scale = IdentityMatrix();
  scale.m[0] = 2.0f;
  MQMatrix move = IdentityMatrix();
  move.m[12] = 5.0f;
  ExpectFloat3(TransformPoint({1, 1, 1}, MatrixProduct(scale, move)), 7, 1, 1);
  ExpectFloat3(TransformPoint({1, 1, 1}, MatrixProduct(move, scale)), 12, 1, 1);

  // All sixteen elements take part.
  MQMatrix a{};
  MQMatrix b{};
  for (int k = 0; k < 16; ++k) {
    a.m[k] = static_cast<float>(k + 1);
    b.m[k] = static_cast<float>(16 - k);
  }
  const MQMatrix p = MatrixProduct(a, b);
  // Row 1 of a is (5, 6, 7, 8); column 2 of b is (14, 10, 6, 2).
  EXPECT_FLOAT_EQ(p.m[6], 5 * 14 + 6 * 10 + 7 * 6 + 8 * 2);
  // Row 3 of a is (13, 14, 15, 16); column 3 of b is (13, 9, 5, 1).
  EXPECT_FLOAT_EQ(p.m[15], 13 * 13 + 14 * 9 + 15 * 5 + 16 * 1);
}

TEST(TransformPoint, MapsARowVectorThroughAxesAndOriginOnly) {
  MQMatrix m = IdentityMatrix();
  SetMatrixRow(m, 0, {0, 1, 0});   // X axis
  SetMatrixRow(m, 1, {-1, 0, 0});  // Y axis
  SetMatrixRow(m, 2, {0, 0, 2});   // Z axis
  SetMatrixRow(m, 3, {10, 20, 30});
  ExpectFloat3(TransformPoint({1, 2, 3}, m), 10 - 2, 20 + 1, 30 + 6);

  // The homogeneous column plays no part.
  m.m[3] = 4.0f;
  m.m[7] = -3.0f;
  m.m[11] = 9.0f;
  m.m[15] = 0.0f;
  ExpectFloat3(TransformPoint({1, 2, 3}, m), 10 - 2, 20 + 1, 30 + 6);
}

// Halfway between two floats, never overflowing: where the sum is finite,
// bit for bit what (a + b) · 0.5 gives, subnormal values included.
TEST(Midpoint, IsTheHalvedSumWhereItIsFiniteAndFiniteWhereItIsNot) {
  constexpr float kLargest = std::numeric_limits<float>::max();
  constexpr float kTiniest = std::numeric_limits<float>::denorm_min();
  const struct {
    float a, b, expected;
  } cases[] = {
      {10.0f, 0.0f, 5.0f},
      {-3.0f, 4.0f, 0.5f},
      {kLargest, -kLargest, 0.0f},  // nothing counted: the starting bounds cancel
      {3 * kTiniest, 3 * kTiniest, 3 * kTiniest},
      {kTiniest, 0.0f, 0.0f},
      {kLargest, kLargest, kLargest},
      {3e38f, 2e38f, 2.5e38f},
      {-3e38f, -3e38f, -3e38f},
  };
  for (const auto& c : cases) {
    const float sum = c.a + c.b;
    const float got = Midpoint(c.a, c.b);
    if (std::isfinite(sum)) {
      EXPECT_EQ(got, sum * 0.5f) << c.a << " " << c.b;
    }
    EXPECT_FLOAT_EQ(got, c.expected) << c.a << " " << c.b;
  }
}

MQMatrix Axes(Float3 x, Float3 y, Float3 z, Float3 origin = {0, 0, 0}) {
  MQMatrix m = IdentityMatrix();
  SetMatrixRow(m, 0, x);
  SetMatrixRow(m, 1, y);
  SetMatrixRow(m, 2, z);
  SetMatrixRow(m, 3, origin);
  return m;
}

// Whether the axes span space does not depend on their lengths: scales a
// million apart, or tiny ones, are regular; flat, broken and nearly flat
// axes are not.
TEST(FrameIsInvertible, JudgesTheAxesRelativeToTheirOwnLengths) {
  const float c = std::cos(0.3f);
  const float s = std::sin(0.3f);
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char* name;
    MQMatrix frame;
    bool invertible;
  } cases[] = {
      {"identity", IdentityMatrix(), true},
      {"mirrored", Axes({-1, 0, 0}, {0, 1, 0}, {0, 0, 1}), true},
      {"tiny: its determinant underflows a float", Axes({1e-20f, 0, 0}, {0, 1e-20f, 0}, {0, 0, 1e-20f}),
       true},
      {"far origin", Axes({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1e30f, 0, 0}), true},
      {"scales 1e6 : 1", Axes({1e6f, 0, 0}, {0, 1, 0}, {0, 0, 1}), true},
      {"scales 1 : 1e-6, turned", Axes({c, s, 0}, {-s * 1e-6f, c * 1e-6f, 0}, {0, 0, 1}), true},
      {"scales 1e3 : 1 : 1e-3", Axes({0, 0, 1e3f}, {c, s, 0}, {-s * 1e-3f, c * 1e-3f, 0}), true},
      {"a zero axis", Axes({1, 0, 0}, {0, 0, 0}, {0, 0, 1}), false},
      {"parallel axes", Axes({1, 0, 0}, {0, 1, 0}, {2, 0, 0}), false},
      {"Z in the plane of X and Y", Axes({1, 0, 0}, {1, 1, 0}, {2, 1, 0}), false},
      {"nearly flat: Z 1e-8 out of the plane", Axes({1, 0, 0}, {0, 1, 0}, {1, 1, 1e-8f}), false},
      {"an infinite origin", Axes({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, inf, 0}), false},
      {"not a number", Axes({1, 0, 0}, {std::nanf(""), 1, 0}, {0, 0, 1}), false},
  };
  for (const auto& each : cases)
    EXPECT_EQ(tervolin::FrameIsInvertible(each.frame), each.invertible) << each.name;
}

// The inverse the host answers is used only when it undoes the frame's axes,
// each row of it: rounding at any scale passes, a wrong row or column does not.
TEST(IsInverseFrame, AcceptsOnlyAnInverseThatUndoesTheAxes) {
  const MQMatrix turned = Axes({0, 2, 0}, {-2, 0, 0}, {0, 0, 0.5f}, {4, 5, 6});
  const MQMatrix turnedInverse = Axes({0, -0.5f, 0}, {0.5f, 0, 0}, {0, 0, 2}, {-2.5f, 2, -12});
  const MQMatrix scaled = Axes({2, 0, 0}, {0, 4, 0}, {0, 0, 8});
  const MQMatrix scaledInverse = Axes({0.5f, 0, 0}, {0, 0.25f, 0}, {0, 0, 0.125f});
  // Scales a million apart, turned: the true inverse rounded to float.
  const float c = std::cos(0.7f);
  const float s = std::sin(0.7f);
  const MQMatrix uneven = Axes({c * 1e6f, s * 1e6f, 0}, {-s, c, 0}, {0, 0, 1e-3f});
  const MQMatrix unevenInverse = Axes({c * 1e-6f, -s, 0}, {s * 1e-6f, c, 0}, {0, 0, 1e3f});
  const MQMatrix flat = Axes({0, 2, 0}, {-2, 0, 0}, {0, 0, 0});
  // Scales a million apart, the inverse wrong by 5e-4 across: the product
  // has 500 where the identity has 0, and a vertex at the tip of X would land
  // 500 along Y.
  const MQMatrix tall = Axes({1e6f, 0, 0}, {0, 1, 0}, {0, 0, 1});
  const MQMatrix tallWrongInverse = Axes({1e-6f, 5e-4f, 0}, {0, 1, 0}, {0, 0, 1});
  MQMatrix infinite = scaledInverse;
  infinite.m[10] = std::numeric_limits<float>::infinity();
  const struct {
    const char* name;
    MQMatrix frame;
    MQMatrix inverse;
    bool accepted;
  } cases[] = {
      {"turned", turned, turnedInverse, true},
      {"scaled", scaled, scaledInverse, true},
      {"scales 1e9 apart", uneven, unevenInverse, true},
      {"the identity for a scaled frame", scaled, IdentityMatrix(), false},
      {"wrong in its first row", scaled, Axes({0.25f, 0, 0}, {0, 0.25f, 0}, {0, 0, 0.125f}), false},
      {"wrong in its third row only", scaled, Axes({0.5f, 0, 0}, {0, 0.25f, 0}, {0, 0, 0.25f}), false},
      {"wrong in its third column only", scaled, Axes({0.5f, 0, 0.1f}, {0, 0.25f, 0}, {0, 0, 0.125f}), false},
      {"scales 1e6 apart, wrong by 5e-4 across", tall, tallWrongInverse, false},
      {"scales 1e6 apart, true", tall, Axes({1e-6f, 0, 0}, {0, 1, 0}, {0, 0, 1}), true},
      {"not finite", scaled, infinite, false},
      {"a flat frame has no inverse at all", flat, IdentityMatrix(), false},
  };
  for (const auto& each : cases)
    EXPECT_EQ(tervolin::IsInverseFrame(each.frame, each.inverse), each.accepted) << each.name;
}

}  // namespace
