// Codes 1 and 2: the frame's origin to the centre of the bounding box of the
// reference object's vertices; and the two vertex compensations that every
// frame change runs when "Trans(&f)orm" is on, before the new frame is written.
#include <limits>

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
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
  const Float3 centre = (high + low) * 0.5f;

  if (options.transformVertices) MoveVerticesWithOrigin(current, centre);
  WriteLocalTranslation(current.Object(), centre);
  return 1;
}

void MoveVerticesWithOrigin(cmq::CMQObject& current, Float3 newOrigin) {
  const Float3 delta = newOrigin - ReadLocalTranslation(current.Object());
  for (cmq::VertexIterator it(current); it != cmq::IterationEnd{}; ++it) {
    current.SetVertex(it.Index(), current.GetVertex(it.Index()) + delta);
  }
}

void MoveVerticesWithMatrix(cmq::CMQObject& object, MQMatrix& newFrame, bool mirror) {
  const MQMatrix inverse = ReadLocalInverseMatrix(object.Object());
  const MQMatrix frame = ReadLocalMatrix(object.Object());
  // Taking the vertices into a frame that does not span space would flatten
  // them; callers refuse such a change before they get here.
  if (!IsInverseFrame(frame, inverse)) return;

  // Without the mirror flag the vertices keep the old frame's scale and origin
  // and take only the new rotation; with it (mirrors, and frames copied in
  // whole) scale, rotation and origin all come from the new frame.
  if (mirror) {
    RebuildMatrix(newFrame, newFrame, newFrame, newFrame);
  } else {
    RebuildMatrix(newFrame, frame, newFrame, frame);
  }
  const MQMatrix motion = MatrixProduct(inverse, newFrame);
  for (cmq::VertexIterator it(object); it != cmq::IterationEnd{}; ++it) {
    object.SetVertex(it.Index(), TransformPoint(object.GetVertex(it.Index()), motion));
  }
}

}  // namespace tervolin
