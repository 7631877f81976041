// The dialog's reference-object list and the enabling of the buttons that
// need a selection on the reference object.
#include <cstdint>

#include "binding/host_api.hpp"
#include "dialog/operation_buttons.hpp"
#include "dialog/tervolin_dialog.hpp"
#include "geometry/cmq_object.hpp"
#include "geometry/object_view.hpp"

namespace tervolin {

namespace {

// The "-" entry: the current object itself.
constexpr int64_t kCurrentObjectTag = -1;

// The enabling rules compare the vertex count with 1, 2 and 3 and the face and
// line counts with 1: a count that reaches 4 (vertices) or 2 (faces, lines)
// can change no rule, and its walk stops there. The counts are then "at
// least" that many.
constexpr int32_t kVerticesDecided = 4;
constexpr int32_t kFacesDecided = 2;
constexpr int32_t kLinesDecided = 2;

SelectionCounts CountSelection(const cmq::CMQObject& wrapper) {
  SelectionCounts counts;
  const cmq::ObjectView object(wrapper);
  // A document without a current object has nothing selected to count.
  if (!object.IsValid()) return counts;

  for (int32_t v = object.NextSelectedVertex(-1); v >= 0; v = object.NextSelectedVertex(v)) {
    if (++counts.vertices == kVerticesDecided) break;
  }
  // Two selected vertices enable the line whatever the lines are, and three
  // the normal whatever the faces are.
  const bool needLines = counts.vertices != 2;
  const bool needFaces = counts.vertices != 3;
  const int32_t faceCount = object.FaceCount();
  for (int32_t face = 0; face < faceCount; ++face) {
    const bool countLines = needLines && counts.lines < kLinesDecided;
    const bool countFaces = needFaces && counts.faces < kFacesDecided;
    if (!countLines && !countFaces) break;
    if (!countLines) {
      // Only the faces: the selection first, then whether the face is live.
      if (object.IsFaceSelected(face) && object.FacePointCount(face) > 0) ++counts.faces;
      continue;
    }
    const int32_t pointCount = object.FacePointCount(face);
    if (pointCount <= 0) continue;
    if (countFaces && object.IsFaceSelected(face)) ++counts.faces;
    for (int32_t edge = 0; edge < pointCount && counts.lines < kLinesDecided; ++edge) {
      if (object.IsLineSelected(face, edge)) ++counts.lines;
    }
  }
  return counts;
}

}  // namespace

void TervolinDialog::FillReferenceCombo(DocumentHandle document, uint32_t preselectId) {
  const cmq::CMQObject current = cmq::CMQObject::Current(document);
  referenceCombo->AddItem(u"-", kCurrentObjectTag);
  int32_t selectIndex = 0;

  // The count is asked again after every object, as the host may answer it
  // differently while the list is filled.
  for (int32_t index = 0; index < HostApi().MQDoc_GetObjectCount(document); ++index) {
    const cmq::CMQObject object = cmq::CMQObject::ByIndex(document, index);
    // The handle of slot `index` is the object at that index: only an empty
    // slot's null handle fails the wrapper's IsValid, and its index need not
    // be asked (with a host that finds it by a scan, that would be a walk
    // over the objects per object).
    if (object.Object() == nullptr || object.Object() == current.Object()) continue;
    const auto uniqueId =
        static_cast<uint32_t>(HostApi().MQObj_GetIntValue(object.Object(), mq::kObjectUniqueId));
    // Unique IDs are unsigned: widened with zero high bits, so that no object
    // can carry the "-" entry's tag.
    referenceCombo->AddItem(cmq::ToWide(object.GetName()), static_cast<int64_t>(uniqueId));
    if (uniqueId == preselectId) selectIndex = referenceCombo->GetItemCount() - 1;
  }
  referenceCombo->SetCurrentIndex(selectIndex);
}

int32_t TervolinDialog::UpdateButtonStates(MQWidgetBase* /*sender*/, DocumentHandle document) {
  const int64_t tag = referenceCombo->GetItemTag(referenceCombo->GetCurrentIndex());
  const auto reference32 = static_cast<int32_t>(static_cast<uint32_t>(tag));
  const cmq::CMQObject reference =
      reference32 == -1 ? cmq::CMQObject::Current(document)
                        : cmq::CMQObject::ByUniqueID(document, static_cast<uint32_t>(reference32));

  const SelectionCounts counts = CountSelection(reference);
  for (const OperationButton& entry : kOperationButtons) {
    if (entry.rule != EnablingRule::Always) (this->*entry.button)->SetEnabled(IsEnabled(entry.rule, counts));
  }
  return 0;
}

}  // namespace tervolin
