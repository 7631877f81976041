// Codes 8 to 13: a quarter turn of the frame about one of its own axes, or its
// reflection in one vertex-space axis. The operation code picks the axis.
#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/object_view.hpp"
#include "operations/operations.hpp"
#include "operations/vertex_motion.hpp"

namespace tervolin {

int32_t RotateAxis90(cmq::CMQObject& current, int32_t code, const Options& options) {
  const MQMatrix oldFrame = ReadLocalMatrix(current.Object());
  const Float3 x = MatrixRow(oldFrame, 0);
  const Float3 y = MatrixRow(oldFrame, 1);
  const Float3 z = MatrixRow(oldFrame, 2);

  // Axis lengths travel with their rows.
  MQMatrix frame = oldFrame;
  switch (code) {
    case OpRotateX:  // Y moves onto Z
      SetMatrixRow(frame, 1, z);
      SetMatrixRow(frame, 2, -y);
      break;
    case OpRotateY:  // Z moves onto X
      SetMatrixRow(frame, 0, -z);
      SetMatrixRow(frame, 2, x);
      break;
    case OpRotateZ:  // X moves onto Y
      SetMatrixRow(frame, 0, y);
      SetMatrixRow(frame, 1, -x);
      break;
    default: return 0;
  }

  // A frame that held a value that is not finite is not passed on.
  if (!IsFinite(frame)) return 0;
  if (options.transformVertices) {
    const MQMatrix inverse = ReadLocalInverseMatrix(current.Object());
    if (!IsInverseFrame(oldFrame, inverse)) return 0;
    MQMatrix scratch = frame;
    if (!MoveVerticesBetweenFrames(cmq::ObjectView(current), oldFrame, inverse, scratch, false)) return 0;
  }
  WriteLocalMatrix(current.Object(), frame);
  return 1;
}

int32_t MirrorAxis(cmq::CMQObject& current, int32_t code, const Options& options) {
  if (code < OpMirrorX || code > OpMirrorZ) return 0;
  const int axis = code - OpMirrorX;
  const MQMatrix oldFrame = ReadLocalMatrix(current.Object());

  // Every axis is reflected in the plane through the frame's origin across
  // vertex-space axis `axis`; with "(&g)lobal" the origin is reflected too, so
  // the plane passes through the vertex-space origin instead.
  MQMatrix frame = oldFrame;
  frame.m[axis] = -frame.m[axis];
  frame.m[4 + axis] = -frame.m[4 + axis];
  frame.m[8 + axis] = -frame.m[8 + axis];
  if (options.useGlobal) frame.m[12 + axis] = -frame.m[12 + axis];

  if (!IsFinite(frame)) return 0;
  if (options.transformVertices) {
    const MQMatrix inverse = ReadLocalInverseMatrix(current.Object());
    if (!IsInverseFrame(oldFrame, inverse)) return 0;
    MQMatrix scratch = frame;
    if (!MoveVerticesBetweenFrames(cmq::ObjectView(current), oldFrame, inverse, scratch, true)) return 0;
  }
  WriteLocalMatrix(current.Object(), frame);
  return 1;
}

}  // namespace tervolin
