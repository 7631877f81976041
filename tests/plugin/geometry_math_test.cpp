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

MQMatrix Sample() {
  MQMatrix m{};
  for (int k = 0; k < 16; ++k) m.m[k] = static_cast<float>(k * 3 - 7) / 4.0f;
  return m;
}

TEST(Normalize, ScalesToUnitLength) {
  Float3 v{3.0f, 4.0f, 0.0f};
  Normalize(v);
  ExpectFloat3(v, 0.6f, 0.8f, 0.0f);

  Float3 w{-2.0f, 0.0f, 0.0f};
  Normalize(w);
  ExpectFloat3(w, -1.0f, 0.0f, 0.0f);
}

TEST(Normalize, ZeroAndNotANumberBecomeZero) {
  Float3 zero{0.0f, 0.0f, 0.0f};
  Normalize(zero);
  ExpectFloat3(zero, 0.0f, 0.0f, 0.0f);

  Float3 nan{1.0f, std::numeric_limits<float>::quiet_NaN(), 2.0f};
  Normalize(nan);
  ExpectFloat3(nan, 0.0f, 0.0f, 0.0f);
}

TEST(Normalize, KeepsATinyButNonZeroVector) {
  // No threshold: anything with a positive length becomes a unit vector.
  Float3 v{0.0f, 1e-10f, 0.0f};
  Normalize(v);
  ExpectFloat3(v, 0.0f, 1.0f, 0.0f);
}

TEST(Cross, FollowsTheRightHandRule) {
  ExpectFloat3(Cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
  ExpectFloat3(Cross({0, 1, 0}, {0, 0, 1}), 1, 0, 0);
  ExpectFloat3(Cross({0, 0, 1}, {1, 0, 0}), 0, 1, 0);
  ExpectFloat3(Cross({1, 2, 3}, {4, 5, 6}), -3, 6, -3);
}

TEST(Cross, ParallelVectorsGiveZero) {
  ExpectFloat3(Cross({1, 2, 3}, {2, 4, 6}), 0, 0, 0);
  ExpectFloat3(Cross({1, 2, 3}, {-1, -2, -3}), 0, 0, 0);
}

TEST(Float3Arithmetic, WorksPerComponent) {
  ExpectFloat3(Float3{1, 2, 3} + Float3{10, 20, 30}, 11, 22, 33);
  ExpectFloat3(Float3{1, 2, 3} - Float3{10, 20, 30}, -9, -18, -27);
  ExpectFloat3(Float3{1, -2, 3} * 0.5f, 0.5f, -1, 1.5f);
  ExpectFloat3(-Float3{1, -2, 0}, -1, 2, 0);
  EXPECT_TRUE(std::signbit((-Float3{0, 0, 0}).x)) << "negation keeps the sign of zero";
}

TEST(MatrixProduct, IdentityLeavesAMatrixUnchanged) {
  const MQMatrix m = Sample();
  const MQMatrix left = MatrixProduct(IdentityMatrix(), m);
  const MQMatrix right = MatrixProduct(m, IdentityMatrix());
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(left.m[k], m.m[k]) << k;
    EXPECT_EQ(right.m[k], m.m[k]) << k;
  }
}

TEST(MatrixProduct, AppliesTheLeftMatrixFirst) {
  // A: scale X by 2; B: move by (5, 0, 0). p · (A · B) scales, then moves.
  MQMatrix scale = IdentityMatrix();
  scale.m[0] = 2.0f;
  MQMatrix move = IdentityMatrix();
  move.m[12] = 5.0f;
  ExpectFloat3(TransformPoint({1, 1, 1}, MatrixProduct(scale, move)), 7, 1, 1);
  ExpectFloat3(TransformPoint({1, 1, 1}, MatrixProduct(move, scale)), 12, 1, 1);
}

TEST(MatrixProduct, UsesAllSixteenElements) {
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

TEST(TransformPoint, MapsARowVectorThroughAxesAndOrigin) {
  MQMatrix m = IdentityMatrix();
  SetMatrixRow(m, 0, {0, 1, 0});   // X axis
  SetMatrixRow(m, 1, {-1, 0, 0});  // Y axis
  SetMatrixRow(m, 2, {0, 0, 2});   // Z axis
  SetMatrixRow(m, 3, {10, 20, 30});
  ExpectFloat3(TransformPoint({1, 2, 3}, m), 10 - 2, 20 + 1, 30 + 6);
}

TEST(TransformPoint, IgnoresTheHomogeneousColumn) {
  MQMatrix plain = Sample();
  plain.m[3] = plain.m[7] = plain.m[11] = 0.0f;
  plain.m[15] = 1.0f;
  MQMatrix odd = plain;
  odd.m[3] = 4.0f;
  odd.m[7] = -3.0f;
  odd.m[11] = 9.0f;
  odd.m[15] = 0.0f;
  const Float3 p{1.5f, -2.0f, 0.25f};
  const Float3 a = TransformPoint(p, plain);
  const Float3 b = TransformPoint(p, odd);
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.z, b.z);
}

TEST(FrameIsInvertible, AcceptsRegularFramesWhateverTheirScaleOrHandedness) {
  EXPECT_TRUE(tervolin::FrameIsInvertible(IdentityMatrix()));
  MQMatrix mirrored = IdentityMatrix();
  mirrored.m[0] = -1.0f;
  EXPECT_TRUE(tervolin::FrameIsInvertible(mirrored));
  MQMatrix tiny = IdentityMatrix();
  tiny.m[0] = tiny.m[5] = tiny.m[10] = 1e-20f;  // its determinant underflows a float
  EXPECT_TRUE(tervolin::FrameIsInvertible(tiny));
  MQMatrix moved = IdentityMatrix();
  moved.m[12] = 1e30f;
  EXPECT_TRUE(tervolin::FrameIsInvertible(moved));
}

TEST(FrameIsInvertible, RejectsFlatAndBrokenFrames) {
  MQMatrix zeroAxis = IdentityMatrix();
  SetMatrixRow(zeroAxis, 1, {0, 0, 0});
  EXPECT_FALSE(tervolin::FrameIsInvertible(zeroAxis));
  MQMatrix parallel = IdentityMatrix();
  SetMatrixRow(parallel, 2, {2, 0, 0});
  EXPECT_FALSE(tervolin::FrameIsInvertible(parallel));
  MQMatrix infinite = IdentityMatrix();
  infinite.m[13] = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(tervolin::FrameIsInvertible(infinite));
  MQMatrix nan = IdentityMatrix();
  nan.m[4] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(tervolin::FrameIsInvertible(nan));
}

TEST(IsInverseFrame, AcceptsOnlyAnInverseThatUndoesTheAxes) {
  MQMatrix frame = IdentityMatrix();
  SetMatrixRow(frame, 0, {0, 2, 0});
  SetMatrixRow(frame, 1, {-2, 0, 0});
  SetMatrixRow(frame, 2, {0, 0, 0.5f});
  SetMatrixRow(frame, 3, {4, 5, 6});
  MQMatrix inverse = IdentityMatrix();
  SetMatrixRow(inverse, 0, {0, -0.5f, 0});
  SetMatrixRow(inverse, 1, {0.5f, 0, 0});
  SetMatrixRow(inverse, 2, {0, 0, 2});
  SetMatrixRow(inverse, 3, {-2.5f, 2, -12});
  EXPECT_TRUE(tervolin::IsInverseFrame(frame, inverse));
  EXPECT_FALSE(tervolin::IsInverseFrame(frame, IdentityMatrix()));

  MQMatrix flat = frame;
  SetMatrixRow(flat, 2, {0, 0, 0});
  EXPECT_FALSE(tervolin::IsInverseFrame(flat, IdentityMatrix())) << "a flat frame has no inverse at all";
}

}  // namespace
