#include "compensation.hpp"

#include <cmath>

#include "mqhost/matrix_values.hpp"

namespace validator {

Motion MotionOfOperation(int operation) {
  switch (operation) {
    case 1:
    case 2: return Motion::Origin;
    case 3:
    case 4:
    case 5:
    case 6:
    case 8:
    case 9:
    case 10: return Motion::Frame;
    case 7:
    case 11:
    case 12:
    case 13:
    case 15:
    case 16: return Motion::FrameMirror;
    default: return Motion::None;
  }
}

mqhost::Point3 ExpectedAfterOriginMove(mqhost::Point3 p, mqhost::Point3 oldOrigin, mqhost::Point3 newOrigin) {
  const float dx = newOrigin.x - oldOrigin.x;
  const float dy = newOrigin.y - oldOrigin.y;
  const float dz = newOrigin.z - oldOrigin.z;
  return {p.x + dx, p.y + dy, p.z + dz};
}

namespace {

double Determinant3(const mqhost::Matrix16& m) {
  const double a = m[0], b = m[1], c = m[2], d = m[4], e = m[5], f = m[6], g = m[8], h = m[9], i = m[10];
  return a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
}

double RowLength(const mqhost::Matrix16& m, int row) {
  const double x = m[row * 4], y = m[row * 4 + 1], z = m[row * 4 + 2];
  return std::sqrt(x * x + y * y + z * z);
}

}  // namespace

FrameChange PrepareFrameChange(const mqhost::Matrix16& oldFrame, const mqhost::Matrix16& newFrame,
                               bool mirror) {
  FrameChange change;
  change.moves = !IsSingular(oldFrame);
  if (!change.moves) return change;
  // The affine inverse: the axes' 3x3 inverse, and the origin taken back
  // through it; in double throughout, as products of axes near the float
  // limit do not fit a float.
  double m[16];
  for (int k = 0; k < 16; ++k) m[k] = oldFrame[static_cast<size_t>(k)];
  const double det = Determinant3(oldFrame);
  double a[9] = {(m[5] * m[10] - m[6] * m[9]) / det, (m[2] * m[9] - m[1] * m[10]) / det,
                 (m[1] * m[6] - m[2] * m[5]) / det,  (m[6] * m[8] - m[4] * m[10]) / det,
                 (m[0] * m[10] - m[2] * m[8]) / det, (m[2] * m[4] - m[0] * m[6]) / det,
                 (m[4] * m[9] - m[5] * m[8]) / det,  (m[1] * m[8] - m[0] * m[9]) / det,
                 (m[0] * m[5] - m[1] * m[4]) / det};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) change.inverse[r * 4 + c] = a[r * 3 + c];
  }
  for (int c = 0; c < 3; ++c) {
    change.inverse[12 + c] = -(m[12] * a[c] + m[13] * a[3 + c] + m[14] * a[6 + c]);
  }
  change.inverse[15] = 1;

  mqhost::Point3 oldScale;
  mqhost::Point3 oldAngle;
  mqhost::Point3 oldTranslation;
  mqhost::DecomposeMatrix(oldFrame, &oldScale, &oldAngle, &oldTranslation);
  mqhost::Point3 newScale;
  mqhost::Point3 newAngle;
  mqhost::Point3 newTranslation;
  mqhost::DecomposeMatrix(newFrame, &newScale, &newAngle, &newTranslation);
  change.recomposed =
      mqhost::ComposeMatrix(mirror ? newScale : oldScale, newAngle, mirror ? newTranslation : oldTranslation);
  return change;
}

Expected ExpectedAfter(const FrameChange& change, mqhost::Point3 p) {
  Expected expected{};
  if (!change.moves) {
    expected.position[0] = p.x;
    expected.position[1] = p.y;
    expected.position[2] = p.z;
    return expected;  // exactly where it was
  }
  const double point[4] = {p.x, p.y, p.z, 1.0};
  for (int j = 0; j < 3; ++j) {
    double sum = 0;
    double magnitude = 0;
    for (int k = 0; k < 4; ++k) {
      double r = 0;
      double rMagnitude = 0;
      for (int n = 0; n < 4; ++n) {
        const double term = change.inverse[k * 4 + n] * change.recomposed[n * 4 + j];
        r += term;
        rMagnitude += std::fabs(term);
      }
      sum += point[k] * r;
      magnitude += std::fabs(point[k]) * rMagnitude;
    }
    expected.position[j] = sum;
    expected.tolerance[j] = magnitude;
  }
  // Rounding spreads over the components of the product: each is allowed the
  // share of the largest.
  const double largest =
      std::fmax(expected.tolerance[0], std::fmax(expected.tolerance[1], expected.tolerance[2]));
  for (double& tolerance : expected.tolerance) tolerance = kRelativeTolerance * largest + 1e-30;
  return expected;
}

Expected ExpectedAfterFrameChange(mqhost::Point3 p, const mqhost::Matrix16& oldFrame,
                                  const mqhost::Matrix16& newFrame, bool mirror) {
  return ExpectedAfter(PrepareFrameChange(oldFrame, newFrame, mirror), p);
}

bool Within(const Expected& expected, mqhost::Point3 actual) {
  const double a[3] = {actual.x, actual.y, actual.z};
  for (int j = 0; j < 3; ++j) {
    if (!std::isfinite(a[j]) || !(std::fabs(a[j] - expected.position[j]) <= expected.tolerance[j]))
      return false;
  }
  return true;
}

bool IsFinite(const mqhost::Matrix16& frame) {
  for (const float value : frame) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

bool IsSingular(const mqhost::Matrix16& frame) {
  for (int e = 0; e < 15; ++e) {
    if (e % 4 != 3 && !std::isfinite(frame[e])) return true;
  }
  const double volume = RowLength(frame, 0) * RowLength(frame, 1) * RowLength(frame, 2);
  return !(volume > 0) || !(std::fabs(Determinant3(frame)) > 1e-6 * volume);
}

}  // namespace validator
