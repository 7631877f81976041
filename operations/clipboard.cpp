// Codes 14 to 16: the reference object's frame to the clipboard as text, a
// frame from the clipboard's text, and the frame back to the identity.

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "operations/clipboard_text.hpp"
#include "operations/frame_text.hpp"
#include "plugin/tervolin.hpp"

namespace tervolin {

int32_t Tervolin::CopyAxisToClipboard(DocumentHandle document, cmq::CMQObject& current) {
  const cmq::CMQObject reference = ReferenceObject(document, current);
  if (!reference.IsValid()) return 0;
  const MQMatrix frame = ReadLocalMatrix(reference.Object());
  // Whether or not the text got there, the document is unchanged: "not done".
  WriteClipboardText(FormatFrameText(frame.m));
  return 0;
}

int32_t Tervolin::PasteAxisFromClipboard(DocumentHandle document, cmq::CMQObject& current) {
  cmq::CMQObject target = ReferenceObject(document, current);
  if (!target.IsValid()) return 0;

  MQMatrix pasted = IdentityMatrix();
  if (!ParseFrameText(ReadClipboardText(), pasted.m)) return 0;
  // Axes that the target takes must span space, or the decomposition would
  // give it a frame made of infinities and not-a-numbers; a paste of the
  // translation alone does not look at them.
  if ((copyRotation || copyScale) && !FrameIsInvertible(pasted)) return 0;

  const MQMatrix own = ReadLocalMatrix(target.Object());
  MQMatrix next = own;
  RebuildMatrix(next, copyScale ? pasted : own, copyRotation ? pasted : own, copyTranslation ? pasted : own);
  // Axes near the float limit can overflow in the decomposition.
  if (!IsFinite(next)) return 0;

  if (transformVertices) {
    MQMatrix scratch = next;
    if (!MoveVerticesWithMatrix(target, scratch, true)) return 0;
  }
  WriteLocalMatrix(target.Object(), next);
  return 1;
}

int32_t Tervolin::ClearAxis(DocumentHandle document, cmq::CMQObject& current) {
  cmq::CMQObject target = ReferenceObject(document, current);
  if (!target.IsValid()) return 0;

  const MQMatrix identity = IdentityMatrix();
  if (transformVertices) {
    MQMatrix scratch = identity;
    if (!MoveVerticesWithMatrix(target, scratch, true)) return 0;
  }
  WriteLocalMatrix(target.Object(), identity);
  return 1;
}

}  // namespace tervolin
