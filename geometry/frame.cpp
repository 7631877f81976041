#include "geometry/frame.hpp"

#include <cmath>

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

MQMatrix CameraFrame(DocumentHandle document) {
  SceneHandle scene = HostApi().MQDoc_GetScene(document, 0);
  Float3 angle{0.0f, 0.0f, 0.0f};
  HostApi().MQScene_FloatValue(scene, mq::kSceneCameraAngle, &angle.x);
  MQMatrix camera = IdentityMatrix();
  ComposeMatrix(camera, Float3{1.0f, 1.0f, 1.0f}, angle, Float3{0.0f, 0.0f, 0.0f});
  return camera;
}

bool FrameIsInvertible(const MQMatrix& frame) {
  // Double precision, so that a small but regular frame does not underflow to
  // a zero determinant on the way.
  auto at = [&frame](int row, int column) { return static_cast<double>(frame.m[row * 4 + column]); };
  const double determinant = at(0, 0) * (at(1, 1) * at(2, 2) - at(1, 2) * at(2, 1)) -
                             at(0, 1) * (at(1, 0) * at(2, 2) - at(1, 2) * at(2, 0)) +
                             at(0, 2) * (at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0));
  if (!std::isfinite(determinant) || determinant == 0.0) return false;
  for (int k = 0; k < 16; ++k) {
    if (!std::isfinite(frame.m[k])) return false;
  }
  return true;
}

bool IsInverseFrame(const MQMatrix& frame, const MQMatrix& inverse) {
  if (!FrameIsInvertible(frame)) return false;
  constexpr double kTolerance = 1e-3;
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      double sum = 0.0;
      for (int k = 0; k < 3; ++k) {
        sum += static_cast<double>(frame.m[row * 4 + k]) * static_cast<double>(inverse.m[k * 4 + column]);
      }
      const double expected = row == column ? 1.0 : 0.0;
      // Written so that a value that is not a number fails too.
      if (!(std::fabs(sum - expected) <= kTolerance)) return false;
    }
  }
  return true;
}

bool LocalFrameIsInvertible(ObjectHandle object) {
  return IsInverseFrame(ReadLocalMatrix(object), ReadLocalInverseMatrix(object));
}

}  // namespace tervolin
