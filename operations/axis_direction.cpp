// Codes 3 to 6: turn the frame so that its Y axis (or, by choice, its X axis)
// points along a direction taken from the reference object's selection or from
// the camera. All four end in ApplyAxisDirection; the origin never moves.
#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "operations/operations.hpp"

namespace tervolin {

namespace {

// A row that Normalize left at zero (or that is not a number) gives no axis.
bool IsAxis(const Float3& row) { return Dot(row, row) > 0.0f; }

}  // namespace

int32_t AlignAxisToLine(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::CMQObject reference = ReferenceObject(document, current, options.referenceObjectId);
  if (!reference.IsValid()) return 0;

  // Two selected vertices: the lower index minus the higher one.
  bool haveFirst = false;
  Float3 first{0.0f, 0.0f, 0.0f};
  for (cmq::VertexIterator it(reference); it != cmq::IterationEnd{}; ++it) {
    const Float3 position = reference.GetVertex(it.Index());
    if (!reference.IsVertexSelected(it.Index())) continue;
    if (!haveFirst) {
      first = position;
      haveFirst = true;
      continue;
    }
    return ApplyAxisDirection(current, first - position, options) ? 1 : 0;
  }

  // Otherwise the first selected line: its end minus its start, in the
  // face's point order.
  for (cmq::FaceIterator it(reference); it != cmq::IterationEnd{}; ++it) {
    const int32_t face = it.Index();
    const int32_t count = reference.GetFacePointCount(face);
    for (int32_t line = 0; line < count; ++line) {
      if (!reference.IsLineSelected(face, line)) continue;
      const auto [start, end] = reference.GetFaceEdge(face, line);
      return ApplyAxisDirection(current, reference.GetVertex(end) - reference.GetVertex(start), options) ? 1 : 0;
    }
  }
  return 0;
}

int32_t AlignAxisToFaceNormal(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::CMQObject reference = ReferenceObject(document, current, options.referenceObjectId);
  if (!reference.IsValid()) return 0;

  for (cmq::FaceIterator it(reference); it != cmq::IterationEnd{}; ++it) {
    if (!reference.IsFaceSelected(it.Index())) continue;
    return ApplyAxisDirection(current, reference.GetFaceNormal(it.Index()), options) ? 1 : 0;
  }

  // No selected face: the plane of the first three selected vertices.
  Float3 points[3] = {};
  int found = 0;
  for (cmq::VertexIterator it(reference); it != cmq::IterationEnd{}; ++it) {
    const Float3 position = reference.GetVertex(it.Index());
    if (!reference.IsVertexSelected(it.Index())) continue;
    points[found++] = position;
    if (found == 3) {
      return ApplyAxisDirection(current, Cross(points[1] - points[0], points[2] - points[0]), options) ? 1 : 0;
    }
  }
  return 0;
}

int32_t AlignAxisToVertex(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::CMQObject reference = ReferenceObject(document, current, options.referenceObjectId);
  if (!reference.IsValid()) return 0;

  for (cmq::VertexIterator it(reference); it != cmq::IterationEnd{}; ++it) {
    const Float3 position = reference.GetVertex(it.Index());
    if (!reference.IsVertexSelected(it.Index())) continue;
    const Float3 origin = ReadLocalTranslation(current.Object());
    return ApplyAxisDirection(current, position - origin, options) ? 1 : 0;
  }
  return 0;
}

int32_t AlignAxisToCamera(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const MQMatrix camera = CameraFrame(document);
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
    if (!LocalFrameIsInvertible(current.Object())) return false;
    MQMatrix scratch = frame;
    if (!MoveVerticesWithMatrix(current, scratch, false)) return false;
  }
  WriteLocalMatrix(current.Object(), frame);
  return true;
}

}  // namespace tervolin
