// Codes 1 and 2: the frame's origin to the centre of the bounding box of the
// reference object's vertices; and the two vertex compensations that every
// frame change runs when "Trans(&f)orm" is on, before the new frame is written.
// A compensation computes every new position before it writes the first, and
// moves nothing when one would not be finite.
#include <limits>

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/vertex_moves.hpp"
#include "operations/vertex_compensation.hpp"
#include "operations/operations.hpp"

namespace tervolin {

int32_t SetOriginToCenter(DocumentHandle document, cmq::CMQObject& current, const Options& options,
                          bool selectedOnly) {
  const cmq::CMQObject reference = ReferenceObject(document, current, options.referenceObjectId);
  // A reference that names no object of the document gives no centre.
  if (!reference.IsValid()) return 0;

  constexpr float kLargest = std::numeric_limits<float>::max();
  Float3 low{kLargest, kLargest, kLargest};
  Float3 high{-kLargest, -kLargest, -kLargest};
  // The walk reads each live vertex, then asks whether it is selected; the
  // iterator's index serves without a view per vertex.
  for (cmq::VertexIterator it(reference); it != cmq::IterationEnd{}; ++it) {
    const Float3 p = reference.GetVertex(it.Index());
    if (selectedOnly && !reference.IsVertexSelected(it.Index())) continue;
    if (p.x < low.x) low.x = p.x;
    if (p.y < low.y) low.y = p.y;
    if (p.z < low.z) low.z = p.z;
    if (p.x > high.x) high.x = p.x;
    if (p.y > high.y) high.y = p.y;
    if (p.z > high.z) high.z = p.z;
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
  if (!IsFinite(delta) || !moves.PlanOffset(current, delta)) return false;
  moves.Apply();
  return true;
}

bool PlanVerticesWithMatrix(const cmq::CMQObject& object, MQMatrix& newFrame, bool mirror,
                            cmq::VertexMoves& moves) {
  const MQMatrix inverse = ReadLocalInverseMatrix(object.Object());
  const MQMatrix frame = ReadLocalMatrix(object.Object());
  // A frame that does not span space gives the vertices no coordinates to
  // keep: they stay. The axis operations refuse such a frame before they
  // get here; copy, paste and clear write their frame all the same.
  if (!FrameIsInvertible(frame)) return true;
  // A regular frame whose inverse the host could not give (one that does
  // not fit a float, near the float limit) cannot carry them: refused.
  if (!IsInverseFrame(frame, inverse)) return false;

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

bool MoveVerticesWithMatrix(cmq::CMQObject& object, MQMatrix& newFrame, bool mirror) {
  cmq::VertexMoves moves;
  if (!PlanVerticesWithMatrix(object, newFrame, mirror, moves)) return false;
  moves.Apply();
  return true;
}

}  // namespace tervolin
