// The operation table that turns the chosen code into one operation, and the
// reference object every operation reads.
#include "geometry/cmq_object.hpp"
#include "operations/operations.hpp"

namespace tervolin {

int32_t DispatchOperation(DocumentHandle document, cmq::CMQObject& current, int32_t code,
                          const Options& options) {
  switch (code) {
    case OpCenterOfVertices: return SetOriginToCenter(document, current, options, true);
    case OpCenterOfObject: return SetOriginToCenter(document, current, options, false);
    case OpLine: return AlignAxisToLine(document, current, options);
    case OpFaceNormal: return AlignAxisToFaceNormal(document, current, options);
    case OpOriginToVertex: return AlignAxisToVertex(document, current, options);
    case OpCamera: return AlignAxisToCamera(document, current, options);
    case OpRotateX:
    case OpRotateY:
    case OpRotateZ: return RotateAxis90(current, code, options);
    case OpMirrorX:
    case OpMirrorY:
    case OpMirrorZ: return MirrorAxis(current, code, options);
    case OpCopyToSelected: return CopyToSelected(document, current, options);
    case OpClipboardCopy: return CopyAxisToClipboard(document, current, options);
    case OpClipboardPaste: return PasteAxisFromClipboard(document, current, options);
    case OpClear: return ClearAxis(document, current, options);
    default: return 0;
  }
}

cmq::CMQObject ReferenceObject(DocumentHandle document, const cmq::CMQObject& current,
                               uint32_t referenceObjectId) {
  if (referenceObjectId == kCurrentObjectReference) return current;
  return cmq::CMQObject::ByUniqueID(document, referenceObjectId);
}

}  // namespace tervolin
