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

FrameChange PrepareFrameChange(const mqhost::Matrix16& oldFrame, const mqhost::Matrix16& newFrame,
                               bool mirror) {
  FrameChange change;
  change.inverse = mqhost::IdentityMatrix();
  mqhost::InvertMatrix(oldFrame,
                       &change.inverse);  // a singular frame keeps the identity, as the host answers
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
  const double point[4] = {p.x, p.y, p.z, 1.0};
  Expected expected{};
  for (int j = 0; j < 3; ++j) {
    double sum = 0;
    double magnitude = 0;
    for (int k = 0; k < 4; ++k) {
      double r = 0;
      double rMagnitude = 0;
      for (int m = 0; m < 4; ++m) {
        const double term = static_cast<double>(change.inverse[k * 4 + m]) * change.recomposed[m * 4 + j];
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
  mqhost::Matrix16 inverse;
  return !mqhost::InvertMatrix(frame, &inverse);
}

}  // namespace validator
