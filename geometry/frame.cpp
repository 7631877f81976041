#include "geometry/frame.hpp"

#include <cmath>
#include <limits>

#include "binding/host_api.hpp"

namespace tervolin {

Float3 ReadLocalTranslation(ObjectHandle object) {
  Float3 origin{0.0f, 0.0f, 0.0f};
  HostApi().MQObj_GetFloatArray(object, mq::kLocalTranslation, &origin.x);
  return origin;
}

void WriteLocalTranslation(ObjectHandle object, const Float3& origin) {
  HostApi().MQObj_SetFloatArray(object, mq::kLocalTranslation, &origin.x);
}

MQMatrix ReadLocalMatrix(ObjectHandle object) {
  MQMatrix frame = IdentityMatrix();
  HostApi().MQObj_GetFloatArray(object, mq::kLocalMatrix, frame.m);
  return frame;
}

void WriteLocalMatrix(ObjectHandle object, const MQMatrix& frame) {
  HostApi().MQObj_SetFloatArray(object, mq::kLocalMatrix, frame.m);
}

MQMatrix ReadLocalInverseMatrix(ObjectHandle object) {
  MQMatrix inverse = IdentityMatrix();
  HostApi().MQObj_GetFloatArray(object, mq::kLocalInverseMatrix, inverse.m);
  return inverse;
}

namespace {

// The host's matrix call takes a writable matrix even for reads, so a read
// works on a copy and never touches the caller's matrix.
Float3 MatrixValue(const MQMatrix& matrix, int id) {
  MQMatrix scratch = matrix;
  Float3 value{0.0f, 0.0f, 0.0f};
  HostApi().MQMatrix_FloatValue(scratch.m, id, &value.x);
  return value;
}

}  // namespace

Float3 MatrixScaleOf(const MQMatrix& matrix) { return MatrixValue(matrix, mq::kMatrixScale); }
Float3 MatrixRotationOf(const MQMatrix& matrix) { return MatrixValue(matrix, mq::kMatrixRotation); }
Float3 MatrixTranslationOf(const MQMatrix& matrix) { return MatrixValue(matrix, mq::kMatrixTranslation); }

void ComposeMatrix(MQMatrix& target, const Float3& scale, const Float3& rotation, const Float3& translation) {
  float parts[9] = {scale.x,    scale.y,       scale.z,       rotation.x,   rotation.y,
                    rotation.z, translation.x, translation.y, translation.z};
  HostApi().MQMatrix_FloatValue(target.m, mq::kMatrixCompose, parts);
}

void RebuildMatrix(MQMatrix& target, const MQMatrix& scaleFrom, const MQMatrix& rotationFrom,
                   const MQMatrix& translationFrom) {
  const Float3 scale = MatrixScaleOf(scaleFrom);
  const Float3 rotation = MatrixRotationOf(rotationFrom);
  const Float3 translation = MatrixTranslationOf(translationFrom);
  ComposeMatrix(target, scale, rotation, translation);
}

bool CameraFrame(DocumentHandle document, MQMatrix* camera) {
  SceneHandle scene = HostApi().MQDoc_GetScene(document, 0);
  if (scene == nullptr) return false;
  Float3 angle{0.0f, 0.0f, 0.0f};
  HostApi().MQScene_FloatValue(scene, mq::kSceneCameraAngle, &angle.x);
  *camera = IdentityMatrix();
  ComposeMatrix(*camera, Float3{1.0f, 1.0f, 1.0f}, angle, Float3{0.0f, 0.0f, 0.0f});
  return true;
}

namespace {

double At(const MQMatrix& m, int row, int column) { return static_cast<double>(m.m[row * 4 + column]); }

double AxisLength(const MQMatrix& m, int row) {
  return std::sqrt(At(m, row, 0) * At(m, row, 0) + At(m, row, 1) * At(m, row, 1) +
                   At(m, row, 2) * At(m, row, 2));
}

}  // namespace

bool FrameIsInvertible(const MQMatrix& frame) {
  if (!IsFinite(frame)) return false;
  // Double precision: the products of float extremes, large or small, stay
  // finite and non-zero on the way.
  const double determinant =
      At(frame, 0, 0) * (At(frame, 1, 1) * At(frame, 2, 2) - At(frame, 1, 2) * At(frame, 2, 1)) -
      At(frame, 0, 1) * (At(frame, 1, 0) * At(frame, 2, 2) - At(frame, 1, 2) * At(frame, 2, 0)) +
      At(frame, 0, 2) * (At(frame, 1, 0) * At(frame, 2, 1) - At(frame, 1, 1) * At(frame, 2, 0));
  // The volume the axes span against the box of their lengths: a measure of
  // how far they are from lying in one plane that each axis's own length
  // does not change, so axes of very unequal scales count as independent.
  const double lengths = AxisLength(frame, 0) * AxisLength(frame, 1) * AxisLength(frame, 2);
  return lengths > 0.0 && std::fabs(determinant) > kFlatFrameVolume * lengths;
}

bool IsInverseFrame(const MQMatrix& frame, const MQMatrix& inverse) {
  if (!FrameIsInvertible(frame)) return false;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      if (!std::isfinite(inverse.m[row * 4 + column])) return false;
    }
  }
  // Each element of the product is compared with the identity relative to
  // the sizes of the terms that make it, so that a wrong element of a small
  // inverse cannot hide behind a large axis: rounding of a true inverse stays
  // far below that share, a wrong inverse does not. Where every term is
  // itself rounding (an element the true inverse has as zero), the floor of a
  // few float steps of the row's and column's lengths lets it pass.
  constexpr double kTolerance = 1e-3;
  constexpr double kRoundingFloor = 16.0 * static_cast<double>(std::numeric_limits<float>::epsilon());
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      double sum = 0.0;
      double magnitude = 0.0;
      double inverseColumn = 0.0;
      for (int k = 0; k < 3; ++k) {
        const double term = At(frame, row, k) * At(inverse, k, column);
        sum += term;
        magnitude += std::fabs(term);
        inverseColumn += At(inverse, k, column) * At(inverse, k, column);
      }
      const double expected = row == column ? 1.0 : 0.0;
      const double floor = kRoundingFloor * AxisLength(frame, row) * std::sqrt(inverseColumn);
      if (!(std::fabs(sum - expected) <= kTolerance * magnitude + floor)) return false;
    }
  }
  return true;
}

bool LocalFrameIsInvertible(ObjectHandle object) {
  return IsInverseFrame(ReadLocalMatrix(object), ReadLocalInverseMatrix(object));
}

}  // namespace tervolin
