// Composing and decomposing frame matrices: the round trip on matrices with
// orthogonal axis rows (reflections included), the angle convention, sheared
// and degenerate matrices, and the 4x4 inverse.
#include "mqhost/matrix_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using mqhost::ComposeMatrix;
using mqhost::DecomposeMatrix;
using mqhost::Matrix16;
using mqhost::Point3;

// Index of the element in `row` and `column` of a Matrix16.
size_t At(int row, int column) { return static_cast<size_t>(row) * 4 + static_cast<size_t>(column); }

struct Parts {
  Point3 scale, angle, translation;
};

Parts Decompose(const Matrix16& m) {
  Parts parts;
  DecomposeMatrix(m, &parts.scale, &parts.angle, &parts.translation);
  return parts;
}

double RowLength(const Matrix16& m, int row) {
  const auto at = [&](int c) { return double(m[At(row, c)]); };
  return std::sqrt(at(0) * at(0) + at(1) * at(1) + at(2) * at(2));
}

// A random rotation (uniform quaternion) with scales of random sign and
// magnitude between 1e-3 and 1e4, and a translation up to 1e5.
Matrix16 RandomOrthogonalMatrix(std::mt19937& random, bool reflect) {
  std::normal_distribution<double> normal;
  double q[4];
  double norm = 0;
  for (double& v : q) {
    v = normal(random);
    norm += v * v;
  }
  norm = std::sqrt(norm);
  const double w = q[0] / norm, x = q[1] / norm, y = q[2] / norm, z = q[3] / norm;
  const double rotation[3][3] = {
      {1 - 2 * (y * y + z * z), 2 * (x * y + w * z), 2 * (x * z - w * y)},
      {2 * (x * y - w * z), 1 - 2 * (x * x + z * z), 2 * (y * z + w * x)},
      {2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * (x * x + y * y)},
  };
  std::uniform_real_distribution<double> exponent(-3, 4);
  std::uniform_real_distribution<double> offset(-1e5, 1e5);
  double scales[3];
  for (double& s : scales) s = std::pow(10.0, exponent(random));
  if (reflect) scales[std::uniform_int_distribution<int>(0, 2)(random)] *= -1;
  Matrix16 m{};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) m[At(r, c)] = float(scales[r] * rotation[r][c]);
  }
  for (int c = 0; c < 3; ++c) m[At(3, c)] = float(offset(random));
  m[15] = 1;
  return m;
}

// Each axis row within 2e-5 of its own length; the translation exactly.
void ExpectSameFrame(const Matrix16& expected, const Matrix16& actual, int trial) {
  for (int r = 0; r < 3; ++r) {
    const double tolerance = 2e-5 * RowLength(expected, r);
    for (int c = 0; c < 3; ++c) {
      ASSERT_NEAR(actual[At(r, c)], expected[At(r, c)], tolerance)
          << "trial " << trial << " row " << r << " column " << c;
    }
  }
  for (int c = 12; c < 15; ++c) ASSERT_EQ(actual[size_t(c)], expected[size_t(c)]) << "trial " << trial;
  for (size_t c : {3, 7, 11, 15}) ASSERT_EQ(actual[c], c == 15 ? 1.0f : 0.0f) << "trial " << trial;
}

TEST(MatrixValues, OrthogonalMatricesRoundTripThroughTheirTriples) {
  std::mt19937 random(20240611);
  for (int trial = 0; trial < 4000; ++trial) {
    const bool reflect = trial % 2 == 1;
    const Matrix16 m = RandomOrthogonalMatrix(random, reflect);
    const Parts parts = Decompose(m);
    const int negative = (parts.scale.x < 0) + (parts.scale.y < 0) + (parts.scale.z < 0);
    ASSERT_EQ(negative, reflect ? 1 : 0) << "trial " << trial;
    ExpectSameFrame(m, ComposeMatrix(parts.scale, parts.angle, parts.translation), trial);
  }
}

TEST(MatrixValues, GimbalLockAndHalfTurnsRoundTrip) {
  const float angles[] = {-180, -135, -90, -45, 0, 45, 90, 135, 180};
  int trial = 0;
  for (float h : angles) {
    for (float p : angles) {
      for (float b : angles) {
        const Matrix16 m = ComposeMatrix({1.5f, -0.25f, 3}, {h, p, b}, {1, 2, 3});
        const Parts parts = Decompose(m);
        ExpectSameFrame(m, ComposeMatrix(parts.scale, parts.angle, parts.translation), trial++);
        ASSERT_GE(parts.angle.y, -90.0f);
        ASSERT_LE(parts.angle.y, 90.0f);
      }
    }
  }
}

TEST(MatrixValues, CanonicalTriplesComeBackUnchanged) {
  std::mt19937 random(7);
  std::uniform_real_distribution<float> turn(-179, 179), tilt(-89, 89), size(0.01f, 100), place(-50, 50);
  for (int trial = 0; trial < 1000; ++trial) {
    const Point3 scale{size(random), size(random), size(random)};
    const Point3 angle{turn(random), tilt(random), turn(random)};
    const Point3 translation{place(random), place(random), place(random)};
    const Parts parts = Decompose(ComposeMatrix(scale, angle, translation));
    ASSERT_NEAR(parts.scale.x, scale.x, 1e-5f * scale.x) << trial;
    ASSERT_NEAR(parts.scale.y, scale.y, 1e-5f * scale.y) << trial;
    ASSERT_NEAR(parts.scale.z, scale.z, 1e-5f * scale.z) << trial;
    ASSERT_NEAR(parts.angle.x, angle.x, 2e-3f) << trial;
    ASSERT_NEAR(parts.angle.y, angle.y, 2e-3f) << trial;
    ASSERT_NEAR(parts.angle.z, angle.z, 2e-3f) << trial;
    ASSERT_EQ(parts.translation.x, translation.x);
  }
}

// Heading about Y (Z towards X), pitch about X (Y towards Z), bank about Z
// (X towards Y); banked first, then pitched, then headed.
TEST(MatrixValues, AngleConventionTurnsTheAxesAsDocumented) {
  const Matrix16 heading = ComposeMatrix({1, 1, 1}, {90, 0, 0}, {});
  EXPECT_NEAR(heading[8], 1, 1e-6);   // Z axis -> +X
  EXPECT_NEAR(heading[2], -1, 1e-6);  // X axis -> -Z
  const Matrix16 pitch = ComposeMatrix({1, 1, 1}, {0, 90, 0}, {});
  EXPECT_NEAR(pitch[6], 1, 1e-6);  // Y axis -> +Z
  const Matrix16 bank = ComposeMatrix({1, 1, 1}, {0, 0, 90}, {});
  EXPECT_NEAR(bank[1], 1, 1e-6);  // X axis -> +Y
  // Bank then heading: the X axis goes to Y by the bank and stays there.
  const Matrix16 both = ComposeMatrix({1, 1, 1}, {90, 0, 90}, {});
  EXPECT_NEAR(both[1], 1, 1e-6);
  EXPECT_NEAR(both[4], 0, 1e-6);
  EXPECT_NEAR(both[6], 1, 1e-6);  // Y -> -X by the bank, then -X -> +Z by the heading
}

TEST(MatrixValues, MirrorInOneAxisDecomposesToZeroAngles) {
  for (int k = 0; k < 3; ++k) {
    Matrix16 m = mqhost::IdentityMatrix();
    m[At(k, k)] = -2;
    const Parts parts = Decompose(m);
    const float scales[3] = {parts.scale.x, parts.scale.y, parts.scale.z};
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(scales[i], i == k ? -2.0f : 1.0f) << k;
    EXPECT_FLOAT_EQ(parts.angle.x, 0);
    EXPECT_FLOAT_EQ(parts.angle.y, 0);
    EXPECT_FLOAT_EQ(parts.angle.z, 0);
  }
}

TEST(MatrixValues, ShearedMatrixKeepsRowLengthsAndTheXAxisDirection) {
  // X along (1, 1, 0); Y leans towards X; Z upright.
  const Matrix16 m = {2, 2, 0, 0, 1, 3, 0, 0, 0, 0, 5, 0, 7, 8, 9, 1};
  const Parts parts = Decompose(m);
  EXPECT_NEAR(parts.scale.x, std::sqrt(8.0), 1e-5);
  EXPECT_NEAR(parts.scale.y, std::sqrt(10.0), 1e-5);
  EXPECT_NEAR(parts.scale.z, 5, 1e-5);
  EXPECT_NEAR(parts.angle.z, 45, 1e-4);  // X turned towards Y by 45 degrees
  const Matrix16 rebuilt = ComposeMatrix(parts.scale, parts.angle, parts.translation);
  EXPECT_NEAR(rebuilt[0], 2, 1e-5);
  EXPECT_NEAR(rebuilt[1], 2, 1e-5);
  EXPECT_NEAR(rebuilt[4] * rebuilt[0] + rebuilt[5] * rebuilt[1], 0, 1e-4);  // the shear is gone
}

TEST(MatrixValues, DegenerateMatricesDecomposeToFiniteValues) {
  const Matrix16 cases[] = {
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1},
      {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
      {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1},
      {1, 1, 0, 0, 2, 2, 0, 0, 3, 3, 0, 0, 0, 0, 0, 1},
  };
  for (const Matrix16& m : cases) {
    const Parts parts = Decompose(m);
    for (float v :
         {parts.scale.x, parts.scale.y, parts.scale.z, parts.angle.x, parts.angle.y, parts.angle.z}) {
      EXPECT_TRUE(std::isfinite(v));
    }
  }
  // A zero Y axis: the Y scale is 0 and the other two rows come back.
  const Parts flat = Decompose(cases[1]);
  EXPECT_EQ(flat.scale.y, 0.0f);
  const Matrix16 rebuilt = ComposeMatrix(flat.scale, flat.angle, flat.translation);
  EXPECT_NEAR(rebuilt[0], 1, 1e-6);
  EXPECT_NEAR(rebuilt[10], 1, 1e-6);
}

TEST(MatrixValues, InverseOfARegularMatrixAndRefusalOfASingularOne) {
  std::mt19937 random(99);
  for (int trial = 0; trial < 200; ++trial) {
    const Matrix16 m = RandomOrthogonalMatrix(random, trial % 2 == 0);
    Matrix16 inverse{};
    ASSERT_TRUE(mqhost::InvertMatrix(m, &inverse));
    for (int r = 0; r < 3; ++r) {
      for (int c = 0; c < 3; ++c) {
        // Scales from 1e-3 to 1e4 make the matrix ill-conditioned: judge the
        // product against the size of its terms, as float rounding allows.
        double sum = 0, magnitude = 0;
        for (int k = 0; k < 4; ++k) {
          const double term = double(m[At(r, k)]) * inverse[At(k, c)];
          sum += term;
          magnitude += std::fabs(term);
        }
        ASSERT_NEAR(sum, r == c ? 1 : 0, 1e-6 + 4e-7 * magnitude) << trial;
      }
    }
  }
  // Unit axes with a far origin are as invertible as with a near one.
  for (const float origin : {1e13f, -4e20f, 1e30f}) {
    Matrix16 frame = mqhost::IdentityMatrix();
    frame[12] = origin;
    Matrix16 inverse{};
    ASSERT_TRUE(mqhost::InvertMatrix(frame, &inverse)) << origin;
    EXPECT_FLOAT_EQ(inverse[12], -origin);
    EXPECT_FLOAT_EQ(inverse[0], 1);
  }
  Matrix16 untouched;
  untouched.fill(3);
  const Matrix16 singular = {1, 0, 0, 0, 2, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  EXPECT_FALSE(mqhost::InvertMatrix(singular, &untouched));
  EXPECT_FALSE(mqhost::InvertMatrix(Matrix16{}, &untouched));
  EXPECT_EQ(untouched[0], 3.0f);
}

}  // namespace
