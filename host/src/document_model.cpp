// The document model: the handle registry, validation of object data, and the
// control interface of document.hpp.
#include "document_model.hpp"

#include <utility>

#include "mqhost/protocol.hpp"

namespace mqhost {

Matrix16 IdentityMatrix() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

namespace model {

Registry registry;

namespace {

void Fail(const char* function, const std::string& problem) {
  RecordProtocolError(std::string(function) + ": " + problem);
}

std::string Count(size_t count, const char* noun) {
  const std::string word = noun;
  if (count == 1) return "1 " + word;
  return std::to_string(count) + " " + (word == "vertex" ? std::string("vertices") : word + "s");
}

}  // namespace

DocumentRecord* RejectDocument(DocumentHandle document, const char* function) {
  if (document == nullptr) {
    Fail(function, "null document handle");
  } else if (Decode(document, kDocumentTag, registry.documents) == nullptr) {
    Fail(function, "not a document handle");
  } else {
    Fail(function, "the document was destroyed");
  }
  return nullptr;
}

ObjectRecord* RejectObject(ObjectHandle object, const char* function) {
  if (object == nullptr) {
    Fail(function, "null object handle");
  } else if (Decode(object, kObjectTag, registry.objects) == nullptr) {
    Fail(function, "not an object handle");
  } else {
    Fail(function, "the object was deleted or its document destroyed");
  }
  return nullptr;
}

DocumentRecord* RejectScene(SceneHandle scene, const char* function) {
  if (scene == nullptr) {
    Fail(function, "null scene handle");
  } else if (Decode(scene, kSceneTag, registry.documents) == nullptr) {
    Fail(function, "not a scene handle");
  } else {
    Fail(function, "the scene's document was destroyed");
  }
  return nullptr;
}

ObjectRecord* RejectSlot(const DocumentRecord& document, int32_t index, const char* function) {
  if (index < 0 || static_cast<size_t>(index) >= document.slots.size()) {
    Fail(function, "object index " + std::to_string(index) + " is out of range (document has " +
                       Count(document.slots.size(), "object slot") + ")");
  } else {
    Fail(function, "object index " + std::to_string(index) + " is an empty slot");
  }
  return nullptr;
}

bool BuildContent(const ObjectData& object, ObjectContent* content, std::string* error) {
  auto fail = [error](const std::string& message) {
    if (error != nullptr) *error = message;
    return false;
  };
  if (object.uniqueId < 0) {
    return fail("uniqueId: " + std::to_string(object.uniqueId) + " is negative (0 asks for a fresh one)");
  }
  const size_t vertexCount = object.vertices.size();
  if (vertexCount > static_cast<size_t>(INT32_MAX) || object.faces.size() > static_cast<size_t>(INT32_MAX)) {
    return fail("too many vertices or faces for 32-bit indices");
  }

  ObjectContent built;
  built.name = object.name;
  built.uniqueId = object.uniqueId;
  built.vertices = object.vertices;
  built.selected = object.selected;
  built.frame = object.frame;

  size_t pointTotal = 0;
  for (const auto& face : object.faces) pointTotal += face.size();
  built.faceStart.clear();
  built.faceStart.reserve(object.faces.size() + 1);
  built.facePoints.reserve(pointTotal);
  built.faceStart.push_back(0);
  built.refCounts.assign(vertexCount, 0);
  // The last face that counted each vertex, so that a face naming a vertex
  // twice counts it once.
  std::vector<int32_t> lastFace(vertexCount, -1);
  for (size_t f = 0; f < object.faces.size(); ++f) {
    const auto& face = object.faces[f];
    for (size_t k = 0; k < face.size(); ++k) {
      const int32_t v = face[k];
      if (v < 0 || static_cast<size_t>(v) >= vertexCount) {
        return fail("faces[" + std::to_string(f) + "][" + std::to_string(k) + "]: vertex index " +
                    std::to_string(v) + " is out of range (object has " + Count(vertexCount, "vertex") + ")");
      }
      built.facePoints.push_back(v);
      if (lastFace[static_cast<size_t>(v)] != static_cast<int32_t>(f)) {
        lastFace[static_cast<size_t>(v)] = static_cast<int32_t>(f);
        ++built.refCounts[static_cast<size_t>(v)];
      }
    }
    built.faceStart.push_back(built.facePoints.size());
  }
  lastFace = {};

  built.vertexSelected.assign(vertexCount, 0);
  for (size_t i = 0; i < object.selectedVertices.size(); ++i) {
    const int32_t v = object.selectedVertices[i];
    if (v < 0 || static_cast<size_t>(v) >= vertexCount) {
      return fail("selectedVertices[" + std::to_string(i) + "]: vertex index " + std::to_string(v) +
                  " is out of range (object has " + Count(vertexCount, "vertex") + ")");
    }
    built.vertexSelected[static_cast<size_t>(v)] = 1;
  }
  const size_t faceCount = object.faces.size();
  built.faceSelected.assign(faceCount, 0);
  for (size_t i = 0; i < object.selectedFaces.size(); ++i) {
    const int32_t f = object.selectedFaces[i];
    if (f < 0 || static_cast<size_t>(f) >= faceCount) {
      return fail("selectedFaces[" + std::to_string(i) + "]: face index " + std::to_string(f) +
                  " is out of range (object has " + Count(faceCount, "face") + ")");
    }
    built.faceSelected[static_cast<size_t>(f)] = 1;
  }
  built.lineSelected.assign(built.facePoints.size(), 0);
  for (size_t i = 0; i < object.selectedLines.size(); ++i) {
    const auto [f, edge] = object.selectedLines[i];
    if (f < 0 || static_cast<size_t>(f) >= faceCount) {
      return fail("selectedLines[" + std::to_string(i) + "][0]: face index " + std::to_string(f) +
                  " is out of range (object has " + Count(faceCount, "face") + ")");
    }
    const size_t points = object.faces[static_cast<size_t>(f)].size();
    if (edge < 0 || static_cast<size_t>(edge) >= points) {
      return fail("selectedLines[" + std::to_string(i) + "][1]: edge " + std::to_string(edge) +
                  " is out of range (face " + std::to_string(f) + " has " + Count(points, "edge") + ")");
    }
    built.lineSelected[built.faceStart[static_cast<size_t>(f)] + static_cast<size_t>(edge)] = 1;
  }
  *content = std::move(built);
  return true;
}

ObjectData ContentToData(const ObjectContent& content) {
  ObjectData data;
  data.name = content.name;
  data.uniqueId = content.uniqueId;
  data.vertices = content.vertices;
  data.selected = content.selected;
  data.frame = content.frame;
  const int32_t faceCount = content.FaceCount();
  data.faces.resize(static_cast<size_t>(faceCount));
  for (int32_t f = 0; f < faceCount; ++f) {
    const size_t begin = content.faceStart[static_cast<size_t>(f)];
    const size_t end = content.faceStart[static_cast<size_t>(f) + 1];
    data.faces[static_cast<size_t>(f)].assign(content.facePoints.begin() + static_cast<std::ptrdiff_t>(begin),
                                              content.facePoints.begin() + static_cast<std::ptrdiff_t>(end));
    if (content.faceSelected[static_cast<size_t>(f)] != 0) data.selectedFaces.push_back(f);
    for (size_t p = begin; p < end; ++p) {
      if (content.lineSelected[p] != 0) data.selectedLines.emplace_back(f, static_cast<int32_t>(p - begin));
    }
  }
  for (size_t v = 0; v < content.vertexSelected.size(); ++v) {
    if (content.vertexSelected[v] != 0) data.selectedVertices.push_back(static_cast<int32_t>(v));
  }
  return data;
}

namespace {

int32_t FreshUniqueId(DocumentRecord& document) {
  while (document.byUniqueId.count(document.nextUniqueId) != 0) ++document.nextUniqueId;
  return document.nextUniqueId++;
}

// Takes a new slot for `content`, whose unique ID is free in the document
// (or 0: a fresh one is assigned).
int32_t PlaceObject(DocumentRecord& document, ObjectContent&& content) {
  auto record = std::make_unique<ObjectRecord>();
  record->handle = MakeHandle<ObjectHandle>(registry.objects.size(), kObjectTag);
  record->alive = true;
  record->document = &document;
  record->index = static_cast<int32_t>(document.slots.size());
  record->content = std::move(content);
  if (record->content.uniqueId == 0) record->content.uniqueId = FreshUniqueId(document);
  document.byUniqueId[record->content.uniqueId] = record.get();
  document.slots.push_back(record.get());
  registry.objects.push_back(std::move(record));
  return static_cast<int32_t>(document.slots.size()) - 1;
}

void KillObject(ObjectRecord& object) {
  object.alive = false;
  object.document = nullptr;
  object.index = -1;
  object.content = ObjectContent{};  // releases the geometry; the record stays as a tombstone
}

DocumentRecord* NewDocumentRecord() {
  auto record = std::make_unique<DocumentRecord>();
  record->alive = true;
  record->handle = MakeHandle<DocumentHandle>(registry.documents.size(), kDocumentTag);
  record->scene = MakeHandle<SceneHandle>(registry.documents.size(), kSceneTag);
  registry.documents.push_back(std::move(record));
  return registry.documents.back().get();
}

std::vector<Point3>& NoVertices() {
  static std::vector<Point3> none;
  none.clear();
  return none;
}

}  // namespace

DocumentHandle CreateDocumentFrom(std::vector<std::unique_ptr<ObjectContent>> objects, int32_t current,
                                  Point3 cameraAngle, std::string* error) {
  std::unordered_map<int32_t, size_t> seen;
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i] == nullptr || objects[i]->uniqueId == 0) continue;
    const auto [where, inserted] = seen.emplace(objects[i]->uniqueId, i);
    if (!inserted) {
      if (error != nullptr) {
        *error = "objects[" + std::to_string(i) + "].uniqueId: " + std::to_string(objects[i]->uniqueId) +
                 " is already used by objects[" + std::to_string(where->second) + "]";
      }
      return nullptr;
    }
  }
  if (current < -1 || current >= static_cast<int32_t>(objects.size()) ||
      (current >= 0 && objects[static_cast<size_t>(current)] == nullptr)) {
    if (error != nullptr)
      *error = "currentObject: " + std::to_string(current) + " is not an object of the scene";
    return nullptr;
  }
  DocumentRecord* document = NewDocumentRecord();
  // Explicit IDs first, so that fresh ones never take an ID a later object names.
  for (const auto& object : objects) {
    if (object != nullptr && object->uniqueId != 0) document->byUniqueId[object->uniqueId] = nullptr;
  }
  for (auto& object : objects) {
    if (object == nullptr) {
      document->slots.push_back(nullptr);
    } else {
      PlaceObject(*document, std::move(*object));
    }
  }
  document->current = current;
  document->cameraAngle = cameraAngle;
  registry.active = document->handle;
  return document->handle;
}

}  // namespace model

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
  return object == nullptr ? model::NoVertices() : object->content.vertices;
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
