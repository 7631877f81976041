// Codes 14 to 16: the reference object's frame to the clipboard as text, a
// frame from the clipboard's text, and the frame back to the identity.

#include <cmath>

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/object_view.hpp"
#include "operations/clipboard_text.hpp"
#include "operations/frame_text.hpp"
#include "operations/operations.hpp"
#include "operations/vertex_motion.hpp"

namespace tervolin {

namespace {

bool AllFinite(const MQMatrix& matrix) {
  for (float value : matrix.m) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

}  // namespace

int32_t CopyAxisToClipboard(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::CMQObject reference = ReferenceObject(document, current, options.referenceObjectId);
  if (!reference.IsValid()) return 0;
  const MQMatrix frame = ReadLocalMatrix(reference.Object());
  // Whether or not the text got there, the document is unchanged: "not done".
  WriteClipboardText(FormatFrameText(frame.m));
  return 0;
}

int32_t PasteAxisFromClipboard(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  const cmq::ObjectView target(ReferenceObject(document, current, options.referenceObjectId));
  if (!target.IsValid()) return 0;

  MQMatrix pasted = IdentityMatrix();
  if (!ParseFrameText(ReadClipboardText(), pasted.m)) return 0;
  // Text that copy writes always passes; any other text must still describe a
  // frame whose axes span space, or the decomposition would give the object a
  // frame made of infinities and not-a-numbers.
  if (!FrameIsInvertible(pasted)) return 0;

  const MQMatrix own = ReadLocalMatrix(target.Object());
  MQMatrix next = own;
  RebuildMatrix(next, options.copyScale ? pasted : own, options.copyRotation ? pasted : own,
                options.copyTranslation ? pasted : own);
  // Axes near the float limit can overflow in the decomposition.
  if (!AllFinite(next)) return 0;

  if (options.transformVertices) {
    const MQMatrix inverse = ReadLocalInverseMatrix(target.Object());
    MQMatrix scratch = next;
    if (IsInverseFrame(own, inverse)) MoveVerticesBetweenFrames(target, own, inverse, scratch, true);
  }
  WriteLocalMatrix(target.Object(), next);
  return 1;
}

int32_t ClearAxis(DocumentHandle document, cmq::CMQObject& current, const Options& options) {
  cmq::CMQObject target = ReferenceObject(document, current, options.referenceObjectId);
  if (!target.IsValid()) return 0;

  const MQMatrix identity = IdentityMatrix();
  if (options.transformVertices) {
    MQMatrix scratch = identity;
    MoveVerticesWithMatrix(target, scratch, true);
  }
  WriteLocalMatrix(target.Object(), identity);
  return 1;
}

}  // namespace tervolin
