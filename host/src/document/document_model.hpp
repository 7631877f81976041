// The replacement host's document model, shared by the control interface
// (document_control.cpp), the exported host functions (document_exports.cpp) and
// the scene files (scene/). Internal to the host library.
//
// Handles. Every document and object ever created keeps a record in a
// registry for the life of the process; a destroyed document or deleted
// object keeps a dead record (its data released), so that its handle stays
// recognisably stale and is never reused. A handle is not a pointer: it is
// the record's registry index shifted left by 8 bits, with a tag in the low
// byte naming the kind (document, object, scene). The tags are odd, so no
// aligned pointer can pass for a handle, and checking a handle is a tag
// compare, a bounds check and a flag test: O(1), never a read through the
// pointer it was given.
//
// The calls made per vertex, face or line keep the record of their last
// passing check (recent_lookups.hpp) and trust it while it is alive. That
// holds only while records are never freed or revived, a live object never
// changes slot, and destroying a document kills its objects: keep it so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mqhost/document.hpp"
#include "protocol/host_types.hpp"

namespace mqhost::model {

struct DocumentRecord;

// An object's data in the form the host calls read: faces as one flat array
// of points with per-face offsets, selections as byte flags (lines: one flag
// per face point, at the face's offset plus the edge number), and vertex
// reference counts derived once from the faces.
struct ObjectContent {
  std::string name;
  int32_t uniqueId = 0;
  std::vector<Point3> vertices;
  std::vector<size_t> faceStart{0};  // face f is facePoints[faceStart[f], faceStart[f + 1])
  std::vector<int32_t> facePoints;
  std::vector<int32_t> refCounts;  // number of faces that use each vertex
  std::vector<uint8_t> vertexSelected;
  std::vector<uint8_t> faceSelected;
  std::vector<uint8_t> lineSelected;
  bool selected = false;
  Matrix16 frame = IdentityMatrix();

  int32_t FaceCount() const { return static_cast<int32_t>(faceStart.size() - 1); }
};

struct ObjectRecord {
  bool alive = false;
  DocumentRecord* document = nullptr;
  int32_t index = -1;  // slot in the document
  ObjectHandle handle = nullptr;
  ObjectContent content;
};

struct DocumentRecord {
  bool alive = false;
  DocumentHandle handle = nullptr;
  SceneHandle scene = nullptr;
  std::vector<ObjectRecord*> slots;  // null: an empty slot
  int32_t current = -1;
  Point3 cameraAngle;
  std::unordered_map<int32_t, ObjectRecord*> byUniqueId;
  int32_t nextUniqueId = 1;
};

struct Registry {
  std::vector<std::unique_ptr<DocumentRecord>> documents;
  std::vector<std::unique_ptr<ObjectRecord>> objects;
  DocumentHandle active = nullptr;
};

extern Registry registry;

inline constexpr uintptr_t kDocumentTag = 0xD3;
inline constexpr uintptr_t kObjectTag = 0x0B;
inline constexpr uintptr_t kSceneTag = 0x5D;

template <typename Handle>
Handle MakeHandle(size_t index, uintptr_t tag) {
  // Handles are tagged indices, not addresses (see the top of this file).
  const uintptr_t value = (static_cast<uintptr_t>(index) << 8) | tag;
  return reinterpret_cast<Handle>(value);  // NOLINT(performance-no-int-to-ptr)
}

// The record a handle names, or null when it is not a handle of that kind
// (foreign pointer, null, out of range). Dead records are returned as they
// are; the caller tells stale from live.
template <typename Record, typename Handle>
Record* Decode(Handle handle, uintptr_t tag, const std::vector<std::unique_ptr<Record>>& records) {
  const auto value = reinterpret_cast<uintptr_t>(handle);
  if ((value & 0xFF) != tag) return nullptr;
  const uintptr_t index = value >> 8;
  if (index >= records.size()) return nullptr;
  return records[index].get();
}

// The error paths of the checks below: each records the protocol error that
// says what was wrong and answers null. Kept out of line (and marked cold) so
// that the checks, which run on every host call, stay a few instructions.
[[gnu::cold]] DocumentRecord* RejectDocument(DocumentHandle document, const char* function);
[[gnu::cold]] ObjectRecord* RejectObject(ObjectHandle object, const char* function);
[[gnu::cold]] DocumentRecord* RejectScene(SceneHandle scene, const char* function);
[[gnu::cold]] ObjectRecord* RejectSlot(const DocumentRecord& document, int32_t index, const char* function);

// Checked look-ups for host calls: on a bad handle they record a protocol
// error naming `function` and answer null.
inline DocumentRecord* CheckDocument(DocumentHandle document, const char* function) {
  DocumentRecord* record = Decode(document, kDocumentTag, registry.documents);
  if (record != nullptr && record->alive) return record;
  return RejectDocument(document, function);
}

inline ObjectRecord* CheckObject(ObjectHandle object, const char* function) {
  ObjectRecord* record = Decode(object, kObjectTag, registry.objects);
  if (record != nullptr && record->alive) return record;
  return RejectObject(object, function);
}

inline DocumentRecord* CheckScene(SceneHandle scene, const char* function) {
  DocumentRecord* record = Decode(scene, kSceneTag, registry.documents);
  if (record != nullptr && record->alive) return record;
  return RejectScene(scene, function);
}

// The live object in slot `index` of a checked document, or null with a
// protocol error (index out of range or an empty slot).
inline ObjectRecord* CheckSlot(DocumentRecord& document, int32_t index, const char* function) {
  if (index >= 0 && static_cast<size_t>(index) < document.slots.size()) {
    ObjectRecord* object = document.slots[static_cast<size_t>(index)];
    if (object != nullptr) return object;
  }
  return RejectSlot(document, index, function);
}

// Validates `object` and builds its content. On a bad face or selection index
// answers false with `error` naming the field ("faces[5][1]: ...").
bool BuildContent(const ObjectData& object, ObjectContent* content, std::string* error);
// The same checks on a content whose name, unique ID, vertices, faces,
// selection flag and frame are already in place (a scene file's reader fills
// them as it reads): checks the face and selection indices, derives the
// reference counts and sets the selection flags. On failure the content is
// left partly built, for the caller to drop.
bool FinishContent(ObjectContent* content, const std::vector<int32_t>& selectedVertices,
                   const std::vector<std::pair<int32_t, int32_t>>& selectedLines,
                   const std::vector<int32_t>& selectedFaces, std::string* error);
ObjectData ContentToData(const ObjectContent& content);

// "1 vertex", "3 vertices", "2 faces": counts in error messages.
std::string Count(size_t count, const char* noun);

// Takes a new slot in `document` for `content`, whose unique ID is free in the
// document (or 0: a fresh one is assigned); answers the slot's index.
int32_t PlaceObject(DocumentRecord& document, ObjectContent&& content);
// Turns a deleted object's record into a tombstone: its data is released and
// its handle stays recognisably stale.
void KillObject(ObjectRecord& object);

// A new, live document holding `objects` (null entries: empty slots), with
// the given current object and camera. Fails without creating anything when
// an object is invalid or two objects share a unique ID; `error` then names
// the object ("objects[2].faces[5][1]: ...").
DocumentHandle CreateDocumentFrom(std::vector<std::unique_ptr<ObjectContent>> objects, int32_t current,
                                  Point3 cameraAngle, std::string* error);

}  // namespace mqhost::model
