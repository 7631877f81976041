// Codes 1 and 2: the frame's origin to the centre of the bounding box of the
// reference object's vertices; and the two vertex compensations that every
// frame change runs when "Trans(&f)orm" is on, before the new frame is written.
// A compensation computes every new position before it writes the first, and
// moves nothing when one would not be finite.
#include <limits>

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/object_view.hpp"
#include "geometry/vertex_moves.hpp"
#include "operations/operations.hpp"
#include "operations/vertex_motion.hpp"

namespace tervolin {

int32_t SetOriginToCenter(DocumentHandle document, cmq::CMQObject& current, const Options& options,
                          bool selectedOnly) {
  const cmq::ObjectView reference(ReferenceObject(document, current, options.referenceObjectId));
  // A reference that names no object of the document gives no centre.
  if (!reference.IsValid()) return 0;

  constexpr float kLargest = std::numeric_limits<float>::max();
  Float3 low{kLargest, kLargest, kLargest};
  Float3 high{-kLargest, -kLargest, -kLargest};
  auto include = [&](int32_t vertex) {
    const Float3 p = reference.GetVertex(vertex);
    if (p.x < low.x) low.x = p.x;
    if (p.y < low.y) low.y = p.y;
    if (p.z < low.z) low.z = p.z;
    if (p.x > high.x) high.x = p.x;
    if (p.y > high.y) high.y = p.y;
    if (p.z > high.z) high.z = p.z;
  };
  if (selectedOnly) {
    for (int32_t v = reference.NextSelectedVertex(-1); v >= 0; v = reference.NextSelectedVertex(v))
      include(v);
  } else {
    reference.ForEachLiveVertex(include);
  }
  // With nothing counted the two bounds cancel and the centre is (0, 0, 0).
  // Halved without overflow: a box from 2e38 to 3e38 still has its centre.
  const Float3 centre = Midpoint(high, low);
  // Only a vertex that is not finite itself gives no centre.
  if (!IsFinite(centre)) return 0;

  if (options.transformVertices && !MoveVerticesWithOrigin(current, centre)) return 0;
  WriteLocalTranslation(current.Object(), centre);
  return 1;
}

bool MoveVerticesWithOrigin(cmq::CMQObject& current, Float3 newOrigin) {
  const Float3 delta = newOrigin - ReadLocalTranslation(current.Object());
  cmq::VertexMoves moves;
  if (!IsFinite(delta) || !moves.PlanOffset(cmq::ObjectView(current), delta)) return false;
  moves.Apply();
  return true;
}

bool MoveVerticesWithMatrix(cmq::CMQObject& object, MQMatrix& newFrame, bool mirror) {
  const MQMatrix inverse = ReadLocalInverseMatrix(object.Object());
  const MQMatrix frame = ReadLocalMatrix(object.Object());
  // A frame that does not span space gives the vertices no coordinates to
  // keep: they stay. The axis operations refuse such a frame before they
  // get here; clear writes its frame all the same.
  if (!FrameIsInvertible(frame)) return true;
  // A regular frame whose inverse the host could not give (one that does
  // not fit a float, near the float limit) cannot carry them: refused.
  if (!IsInverseFrame(frame, inverse)) return false;
  return MoveVerticesBetweenFrames(cmq::ObjectView(object), frame, inverse, newFrame, mirror);
}

bool MoveVerticesBetweenFrames(const cmq::ObjectView& object, const MQMatrix& frame, const MQMatrix& inverse,
                               MQMatrix& newFrame, bool mirror) {
  cmq::VertexMoves moves;
  if (!PlanVerticesBetweenFrames(object, frame, inverse, newFrame, mirror, moves)) return false;
  moves.Apply();
  return true;
}

bool PlanVerticesBetweenFrames(const cmq::ObjectView& object, const MQMatrix& frame, const MQMatrix& inverse,
                               MQMatrix& newFrame, bool mirror, cmq::VertexMoves& moves) {
  // Without the mirror flag the vertices keep the old frame's scale and origin
  // and take only the new rotation; with it (mirrors, and frames copied in
  // whole) scale, rotation and origin all come from the new frame.
  if (mirror) {
    RebuildMatrix(newFrame, newFrame, newFrame, newFrame);
  } else {
    RebuildMatrix(newFrame, frame, newFrame, frame);
  }
  return moves.PlanTransform(object, MatrixProduct(inverse, newFrame));
}

}  // namespace tervolin
