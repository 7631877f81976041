// The document's control interface (document.hpp): what tests, benchmarks and
// the runner use to set a document up and read it back, with every handle and
// index checked.
#include <utility>

#include "host/src/document/document_model.hpp"
#include "mqhost/error_log.hpp"

namespace mqhost {

namespace {

std::vector<Point3>& NoVertices() {
  static std::vector<Point3> none;
  none.clear();
  return none;
}

}  // namespace

using model::CheckDocument;
using model::CheckSlot;
using model::DocumentRecord;
using model::ObjectRecord;
using model::registry;

DocumentHandle CreateDocument() { return model::CreateDocumentFrom({}, -1, Point3{}, nullptr); }

void DestroyDocument(DocumentHandle document) {
  DocumentRecord* record = CheckDocument(document, "DestroyDocument");
  if (record == nullptr) return;
  for (ObjectRecord* object : record->slots) {
    if (object != nullptr) model::KillObject(*object);
  }
  record->alive = false;
  record->slots = {};
  record->byUniqueId = {};
  record->current = -1;
  if (registry.active == document) registry.active = nullptr;
}

void SetActiveDocument(DocumentHandle document) {
  if (document != nullptr && CheckDocument(document, "SetActiveDocument") == nullptr) return;
  registry.active = document;
}

DocumentHandle ActiveDocument() { return registry.active; }

int32_t AddObject(DocumentHandle document, const ObjectData& object) {
  DocumentRecord* record = CheckDocument(document, "AddObject");
  if (record == nullptr) return -1;
  model::ObjectContent content;
  std::string error;
  if (!model::BuildContent(object, &content, &error)) {
    RecordProtocolError("AddObject: " + error);
    return -1;
  }
  if (content.uniqueId != 0 && record->byUniqueId.count(content.uniqueId) != 0) {
    RecordProtocolError("AddObject: uniqueId " + std::to_string(content.uniqueId) +
                        " is already used in the document");
    return -1;
  }
  return model::PlaceObject(*record, std::move(content));
}

void DeleteObject(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "DeleteObject");
  if (record == nullptr) return;
  ObjectRecord* object = CheckSlot(*record, index, "DeleteObject");
  if (object == nullptr) return;
  record->byUniqueId.erase(object->content.uniqueId);
  record->slots[static_cast<size_t>(index)] = nullptr;
  if (record->current == index) record->current = -1;
  model::KillObject(*object);
}

int32_t ObjectSlotCount(DocumentHandle document) {
  DocumentRecord* record = CheckDocument(document, "ObjectSlotCount");
  return record == nullptr ? 0 : static_cast<int32_t>(record->slots.size());
}

bool HasObject(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "HasObject");
  return record != nullptr && index >= 0 && static_cast<size_t>(index) < record->slots.size() &&
         record->slots[static_cast<size_t>(index)] != nullptr;
}

ObjectData GetObject(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "GetObject");
  ObjectRecord* object = record == nullptr ? nullptr : CheckSlot(*record, index, "GetObject");
  return object == nullptr ? ObjectData{} : model::ContentToData(object->content);
}

void SetObject(DocumentHandle document, int32_t index, const ObjectData& object) {
  DocumentRecord* record = CheckDocument(document, "SetObject");
  ObjectRecord* target = record == nullptr ? nullptr : CheckSlot(*record, index, "SetObject");
  if (target == nullptr) return;
  model::ObjectContent content;
  std::string error;
  if (!model::BuildContent(object, &content, &error)) {
    RecordProtocolError("SetObject: " + error);
    return;
  }
  // 0 keeps the object's own ID; another ID must be free.
  if (content.uniqueId == 0) content.uniqueId = target->content.uniqueId;
  if (content.uniqueId != target->content.uniqueId) {
    if (record->byUniqueId.count(content.uniqueId) != 0) {
      RecordProtocolError("SetObject: uniqueId " + std::to_string(content.uniqueId) +
                          " is already used in the document");
      return;
    }
    record->byUniqueId.erase(target->content.uniqueId);
    record->byUniqueId[content.uniqueId] = target;
  }
  target->content = std::move(content);
}

ObjectHandle ObjectHandleAt(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "ObjectHandleAt");
  ObjectRecord* object = record == nullptr ? nullptr : CheckSlot(*record, index, "ObjectHandleAt");
  return object == nullptr ? nullptr : object->handle;
}

void SetCurrentObjectIndex(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "SetCurrentObjectIndex");
  if (record == nullptr) return;
  if (index != -1 && CheckSlot(*record, index, "SetCurrentObjectIndex") == nullptr) return;
  record->current = index;
}

int32_t CurrentObjectIndex(DocumentHandle document) {
  DocumentRecord* record = CheckDocument(document, "CurrentObjectIndex");
  return record == nullptr ? -1 : record->current;
}

std::vector<Point3>& VerticesOf(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "VerticesOf");
  ObjectRecord* object = record == nullptr ? nullptr : CheckSlot(*record, index, "VerticesOf");
  return object == nullptr ? NoVertices() : object->content.vertices;
}

Matrix16 FrameOf(DocumentHandle document, int32_t index) {
  DocumentRecord* record = CheckDocument(document, "FrameOf");
  ObjectRecord* object = record == nullptr ? nullptr : CheckSlot(*record, index, "FrameOf");
  return object == nullptr ? IdentityMatrix() : object->content.frame;
}

void SetFrame(DocumentHandle document, int32_t index, const Matrix16& frame) {
  DocumentRecord* record = CheckDocument(document, "SetFrame");
  ObjectRecord* object = record == nullptr ? nullptr : CheckSlot(*record, index, "SetFrame");
  if (object != nullptr) object->content.frame = frame;
}

void SetCameraAngle(DocumentHandle document, Point3 angle) {
  DocumentRecord* record = CheckDocument(document, "SetCameraAngle");
  if (record != nullptr) record->cameraAngle = angle;
}

Point3 CameraAngle(DocumentHandle document) {
  DocumentRecord* record = CheckDocument(document, "CameraAngle");
  return record == nullptr ? Point3{} : record->cameraAngle;
}

}  // namespace mqhost
