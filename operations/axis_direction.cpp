// Codes 3 to 6: turn the frame so that its Y axis (or, by choice, its X axis)
// points along a direction taken from the reference object's selection or from
// the camera. All four end in ApplyAxisDirection; the origin never moves.
#include <vector>

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/object_view.hpp"
#include "operations/operations.hpp"
#include "operations/vertex_motion.hpp"

namespace tervolin {

namespace {

// A row that Normalize left at zero (or that is not a number) gives no axis.
bool IsAxis(const Float3& row) { return Dot(row, row) > 0.0f; }

// CMQObject::GetFaceNormal for a live face, with the view's reads.
Float3 FaceNormal(const cmq::ObjectView& object, int32_t face) {
  const std::vector<int32_t> points = object.FacePoints(face, object.FacePointCount(face));
  return cmq::FaceNormalOf(points, [&object](int32_t vertex) { return object.GetVertex(vertex); });
}

}  // namespace

int32_t AlignAxisToLine(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::ObjectView reference(ReferenceObject(document, current, options.referenceObjectId));
  if (!reference.IsValid()) return 0;

  // Two selected vertices: the lower index minus the higher one.
  const int32_t first = reference.NextSelectedVertex(-1);
  const int32_t second = first < 0 ? -1 : reference.NextSelectedVertex(first);
  if (second >= 0) {
    return ApplyAxisDirection(current, reference.GetVertex(first) - reference.GetVertex(second), options) ? 1
                                                                                                          : 0;
  }

  // Otherwise the first selected line: its end minus its start, in the
  // face's point order.
  const int32_t faceCount = reference.FaceCount();
  for (int32_t face = 0; face < faceCount; ++face) {
    const int32_t count = reference.FacePointCount(face);
    for (int32_t line = 0; line < count; ++line) {
      if (!reference.IsLineSelected(face, line)) continue;
      const std::vector<int32_t> points = reference.FacePoints(face, count);
      const int32_t start = points[static_cast<size_t>(line)];
      const int32_t end = points[line == count - 1 ? 0 : static_cast<size_t>(line) + 1];
      return ApplyAxisDirection(current, reference.GetVertex(end) - reference.GetVertex(start), options) ? 1
                                                                                                         : 0;
    }
  }
  return 0;
}

int32_t AlignAxisToFaceNormal(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::ObjectView reference(ReferenceObject(document, current, options.referenceObjectId));
  if (!reference.IsValid()) return 0;

  const int32_t faceCount = reference.FaceCount();
  for (int32_t face = 0; face < faceCount; ++face) {
    if (!reference.IsFaceSelected(face) || reference.FacePointCount(face) < 1) continue;
    return ApplyAxisDirection(current, FaceNormal(reference, face), options) ? 1 : 0;
  }

  // No selected face: the plane of the first three selected vertices.
  int32_t found[3] = {-1, -1, -1};
  for (int k = 0; k < 3; ++k) {
    found[k] = reference.NextSelectedVertex(k == 0 ? -1 : found[k - 1]);
    if (found[k] < 0) return 0;
  }
  const Float3 p0 = reference.GetVertex(found[0]);
  const Float3 p1 = reference.GetVertex(found[1]);
  const Float3 p2 = reference.GetVertex(found[2]);
  return ApplyAxisDirection(current, Cross(p1 - p0, p2 - p0), options) ? 1 : 0;
}

int32_t AlignAxisToVertex(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::ObjectView reference(ReferenceObject(document, current, options.referenceObjectId));
  if (!reference.IsValid()) return 0;

  const int32_t vertex = reference.NextSelectedVertex(-1);
  if (vertex < 0) return 0;
  const Float3 position = reference.GetVertex(vertex);
  const Float3 origin = ReadLocalTranslation(current.Object());
  return ApplyAxisDirection(current, position - origin, options) ? 1 : 0;
}

int32_t AlignAxisToCamera(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  // Without a scene there is no camera to follow.
  MQMatrix camera = IdentityMatrix();
  if (!CameraFrame(document, &camera)) return 0;
  // The camera looks down its own Z axis; the frame's axis takes that axis
  // with its depth turned towards the viewer.
  const Float3 direction{camera.m[8], camera.m[9], -camera.m[10]};
  return ApplyAxisDirection(current, direction, options) ? 1 : 0;
}

bool ApplyAxisDirection(cmq::CMQObject& current, Float3 direction, const Options& options) {
  const MQMatrix oldFrame = ReadLocalMatrix(current.Object());
  const Float3 oldX = MatrixRow(oldFrame, 0);
  const Float3 oldY = MatrixRow(oldFrame, 1);

  Float3 axisX{};
  Float3 axisY{};
  Float3 axisZ{};
  if (options.axisToSet == AxisToSet::Y) {
    // Y takes the direction; X keeps what of the old X is across it.
    axisZ = Cross(oldX, direction);
    axisX = Cross(direction, axisZ);
    axisY = direction;
  } else {
    // X takes the direction, less its part along the old Y: a turn about Y.
    axisZ = Cross(direction, oldY);
    axisX = Cross(oldY, axisZ);
    axisY = oldY;
  }
  Normalize(axisX);
  Normalize(axisY);
  Normalize(axisZ);
  // A zero direction, or one along the axis that is kept, spans no frame:
  // writing it would leave zero axes behind.
  if (!IsAxis(axisX) || !IsAxis(axisY) || !IsAxis(axisZ)) return false;

  MQMatrix frame = oldFrame;
  SetMatrixRow(frame, 0, axisX);
  SetMatrixRow(frame, 1, axisY);
  SetMatrixRow(frame, 2, axisZ);

  // The origin row comes from the old frame as it was read.
  if (!IsFinite(frame)) return false;
  if (options.transformVertices) {
    // Vertices are carried through the old frame's inverse.
    const MQMatrix inverse = ReadLocalInverseMatrix(current.Object());
    if (!IsInverseFrame(oldFrame, inverse)) return false;
    MQMatrix scratch = frame;
    if (!MoveVerticesBetweenFrames(cmq::ObjectView(current), oldFrame, inverse, scratch, false)) return false;
  }
  WriteLocalMatrix(current.Object(), frame);
  return true;
}

}  // namespace tervolin
