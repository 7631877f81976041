// The dialog's reference-object list and the enabling of the buttons that
// need a selection on the reference object.
#include <cstdint>

#include "binding/host_api.hpp"
#include "dialog/tervolin_dialog.hpp"
#include "geometry/cmq_object.hpp"

namespace tervolin {

namespace {

// The "-" entry: the current object itself.
constexpr int64_t kCurrentObjectTag = -1;

struct SelectionCounts {
  int32_t vertices = 0;
  int32_t faces = 0;
  // Selected face edges; an edge shared by two faces counts once per face
  // that reports it selected.
  int32_t lines = 0;
};

SelectionCounts CountSelection(const cmq::CMQObject& object) {
  SelectionCounts counts;
  // A document without a current object has nothing selected to count.
  if (!object.IsValid()) return counts;
  // The walks run once per vertex and face of the reference object, on every
  // pick in the list: they read each one by the iterator's index, with the
  // host calls a view would make (the vertex's position, then its selection;
  // the face's point count, its selection and each of its lines) and without
  // making a view per step.
  for (cmq::VertexIterator it(object); it != cmq::IterationEnd{}; ++it) {
    static_cast<void>(object.GetVertex(it.Index()));
    if (object.IsVertexSelected(it.Index())) ++counts.vertices;
  }
  for (cmq::FaceIterator it(object); it != cmq::IterationEnd{}; ++it) {
    const int32_t face = it.Index();
    const int32_t pointCount = object.GetFacePointCount(face);
    if (pointCount <= 0) continue;
    if (object.IsFaceSelected(face)) ++counts.faces;
    for (int32_t edge = 0; edge < pointCount; ++edge) {
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
    if (!object.IsValid() || object.Object() == current.Object()) continue;
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
  centerOfVerticesButton->SetEnabled(counts.vertices > 0);
  lineButton->SetEnabled(counts.vertices == 2 || counts.lines == 1);
  faceNormalButton->SetEnabled(counts.vertices == 3 || counts.faces == 1);
  originToVertexButton->SetEnabled(counts.vertices == 1);
  return 0;
}

}  // namespace tervolin
