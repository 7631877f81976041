// One menu pick: the dialog, the check of the current object, and the
// operation table that turns the chosen code into one operation.
#include "geometry/cmq_object.hpp"
#include "plugin/tervolin.hpp"

namespace tervolin {

int32_t Tervolin::Execute(DocumentHandle document) {
  // A cancelled dialog has saved its options already; the document is untouched.
  if (!RunDialog(document)) return 0;

  cmq::CMQObject current = cmq::CMQObject::Current(document);
  if (!current.IsValid()) return 0;

  // A confirmed dialog without a known operation has nothing to do.
  if (operation < OpCenterOfVertices || operation > OpClear) return 1;
  return DispatchOperation(document, current);
}

int32_t Tervolin::DispatchOperation(DocumentHandle document, cmq::CMQObject& current) {
  switch (operation) {
    case OpCenterOfVertices: return SetOriginToCenter(document, current, true);
    case OpCenterOfObject: return SetOriginToCenter(document, current, false);
    case OpLine: return AlignAxisToLine(document, current);
    case OpFaceNormal: return AlignAxisToFaceNormal(document, current);
    case OpOriginToVertex: return AlignAxisToVertex(document, current);
    case OpCamera: return AlignAxisToCamera(document, current);
    case OpRotateX:
    case OpRotateY:
    case OpRotateZ: return RotateAxis90(current);
    case OpMirrorX:
    case OpMirrorY:
    case OpMirrorZ: return MirrorAxis(current);
    case OpCopyToSelected: return CopyToSelected(document, current);
    case OpClipboardCopy: return CopyAxisToClipboard(document, current);
    case OpClipboardPaste: return PasteAxisFromClipboard(document, current);
    case OpClear: return ClearAxis(document, current);
    default: return 0;
  }
}

cmq::CMQObject Tervolin::ReferenceObject(DocumentHandle document, const cmq::CMQObject& current) const {
  if (referenceObjectId == kCurrentObjectReference) return current;
  return cmq::CMQObject::ByUniqueID(document, referenceObjectId);
}

}  // namespace tervolin
