// Codes 14 to 16: the reference object's frame to the clipboard as text, a
// frame from the clipboard's text, and the frame back to the identity.

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry/object_view.hpp"
#include "operations/clipboard_text.hpp"
#include "operations/frame_text.hpp"
#include "operations/operations.hpp"
#include "operations/vertex_motion.hpp"

namespace tervolin {

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

  // The pasted numbers are taken as they are: whatever frame the host
  // composes from their parts is written, flat or not, as long as it is
  // finite (axes near the float limit can overflow in the decomposition).
  const MQMatrix own = ReadLocalMatrix(target.Object());
  MQMatrix next = own;
  RebuildMatrix(next, options.copyScale ? pasted : own, options.copyRotation ? pasted : own,
                options.copyTranslation ? pasted : own);
  if (!IsFinite(next)) return 0;

  if (options.transformVertices) {
    const MQMatrix inverse = ReadLocalInverseMatrix(target.Object());
    MQMatrix scratch = next;
    // A flat frame keeps its vertices where they are. A regular one carries
    // them: it refuses the paste when the host could not give its inverse,
    // or when the new frame is flat and would fold them into its plane,
    // where no inverse carries them back.
    if (FrameIsInvertible(own)) {
      if (!FrameIsInvertible(next)) return 0;
      if (!IsInverseFrame(own, inverse)) return 0;
      if (!MoveVerticesBetweenFrames(target, own, inverse, scratch, true)) return 0;
    }
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
    if (!MoveVerticesWithMatrix(target, scratch, true)) return 0;
  }
  WriteLocalMatrix(target.Object(), identity);
  return 1;
}

}  // namespace tervolin
