// The document model's handle registry: the records behind every document,
// object and scene handle, the error paths of the handle checks, and placing
// objects into documents. The data checks are object_content.cpp and the
// control interface of document.hpp is document_control.cpp.
#include "host/src/document/document_model.hpp"

#include <utility>

#include "mqhost/error_log.hpp"

namespace mqhost {

Matrix16 IdentityMatrix() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

namespace model {

Registry registry;

namespace {

void Fail(const char* function, const std::string& problem) {
  RecordProtocolError(std::string(function) + ": " + problem);
}

int32_t FreshUniqueId(DocumentRecord& document) {
  while (document.byUniqueId.count(document.nextUniqueId) != 0) ++document.nextUniqueId;
  return document.nextUniqueId++;
}

DocumentRecord* NewDocumentRecord() {
  auto record = std::make_unique<DocumentRecord>();
  record->alive = true;
  record->handle = MakeHandle<DocumentHandle>(registry.documents.size(), kDocumentTag);
  record->scene = MakeHandle<SceneHandle>(registry.documents.size(), kSceneTag);
  registry.documents.push_back(std::move(record));
  return registry.documents.back().get();
}

}  // namespace

std::string Count(size_t count, const char* noun) {
  const std::string word = noun;
  if (count == 1) return "1 " + word;
  return std::to_string(count) + " " + (word == "vertex" ? std::string("vertices") : word + "s");
}

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

}  // namespace mqhost
