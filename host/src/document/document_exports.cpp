// The host functions that reach the document: objects, their geometry,
// selection and frame, the scene's camera, and matrix values (the ones a walk
// calls per vertex, face or line are element_exports.cpp). Each call is
// O(1) or O(size of its answer) and allocates nothing on its success path.
// Every handle and index is checked first; a bad one is recorded as a
// protocol error and answered with a neutral value (0, -1 for an index, null,
// or the caller's output left as it was).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/src/calls/call_counter.hpp"
#include "host/src/calls/host_faults.hpp"
#include "host/src/calls/host_function_declarations.hpp"
#include "host/src/calls/write_log.hpp"
#include "host/src/document/export_checks.hpp"
#include "host/src/document/recent_lookups.hpp"
#include "mqhost/api.hpp"
#include "mqhost/matrix_values.hpp"
#include "protocol/host_types.hpp"

namespace {

using mqhost::Matrix16;
using mqhost::Point3;
using mqhost::exports::CheckIndex;
using mqhost::exports::CheckPointer;
using mqhost::exports::CopyPoint;
using mqhost::exports::Fail;
using mqhost::exports::LogWrite;
using mqhost::model::CheckDocument;
using mqhost::model::CheckObject;
using mqhost::model::CheckObjectRecent;
using mqhost::model::CheckScene;
using mqhost::model::DocumentRecord;
using mqhost::model::ObjectRecord;

// See SetScanningLookups.
bool scanningLookups = [] {
  const char* value = std::getenv("TERVOLIN_HOST_SCAN_LOOKUPS");
  return value != nullptr && std::strcmp(value, "1") == 0;
}();

// The slot-order scans of the list-scanning mode: they answer what the
// indexed lookups answer, at the cost of a walk over the slots.
const ObjectRecord* ScanForUniqueId(const DocumentRecord& record, int32_t uniqueId) {
  for (const ObjectRecord* object : record.slots) {
    if (object != nullptr && object->content.uniqueId == uniqueId) return object;
  }
  return nullptr;
}

int ScanForIndex(const DocumentRecord& record, const ObjectRecord* target) {
  const size_t count = record.slots.size();
  for (size_t i = 0; i < count; ++i) {
    if (record.slots[i] == target) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

namespace mqhost {
void SetScanningLookups(bool on) { scanningLookups = on; }
bool ScanningLookups() { return scanningLookups; }
}  // namespace mqhost

MQHOST_EXPORT_C int MQDoc_GetObjectCount(DocumentHandle document) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckDocument(document, "MQDoc_GetObjectCount");
  return record == nullptr ? 0 : static_cast<int>(record->slots.size());
}

// -1 is the host's own "no current object": it answers null without an error,
// so that asking for the current object of a document without one is safe.
MQHOST_EXPORT_C ObjectHandle MQDoc_GetObject(DocumentHandle document, int index) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckDocument(document, "MQDoc_GetObject");
  if (record == nullptr || index == -1) return nullptr;
  // The out-of-range current index the host itself just answered is "no
  // object", as -1 is.
  if (index == mqhost::host_faults::answeredCurrentIndex &&
      static_cast<size_t>(index) >= record->slots.size())
    return nullptr;
  if (!CheckIndex(index, record->slots.size(), "object", "MQDoc_GetObject")) return nullptr;
  ObjectRecord* object = record->slots[static_cast<size_t>(index)];
  if (object == nullptr) return nullptr;
  if (mqhost::host_faults::Answer(mqhost::HostFault::NullObject, "MQDoc_GetObject")) return nullptr;
  return object->handle;
}

// An ID that no object of the document carries answers null: asking is how
// the caller learns that the object is gone.
MQHOST_EXPORT_C ObjectHandle MQDoc_GetObjectFromUniqueID(DocumentHandle document, int uniqueId) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckDocument(document, "MQDoc_GetObjectFromUniqueID");
  if (record == nullptr) return nullptr;
  if (scanningLookups) {
    const ObjectRecord* object = ScanForUniqueId(*record, uniqueId);
    return object == nullptr ? nullptr : object->handle;
  }
  const auto found = record->byUniqueId.find(uniqueId);
  return found == record->byUniqueId.end() || found->second == nullptr ? nullptr : found->second->handle;
}

MQHOST_EXPORT_C int MQDoc_GetCurrentObjectIndex(DocumentHandle document) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckDocument(document, "MQDoc_GetCurrentObjectIndex");
  if (record == nullptr) return -1;
  if (mqhost::host_faults::Answer(mqhost::HostFault::CurrentObjectIndex, "MQDoc_GetCurrentObjectIndex")) {
    const auto past = static_cast<int32_t>(record->slots.size() + mqhost::host_faults::Draw(3));
    const int32_t answer = mqhost::host_faults::Draw(2) == 0 ? -1 : past;
    if (answer >= 0) mqhost::host_faults::answeredCurrentIndex = answer;
    return answer;
  }
  mqhost::host_faults::answeredCurrentIndex = -1;
  return record->current;
}

// Null and an object of another document are "not in the document" (-1);
// a deleted object or a foreign pointer is also a protocol error.
MQHOST_EXPORT_C int MQDoc_GetObjectIndex(DocumentHandle document, ObjectHandle object) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckDocument(document, "MQDoc_GetObjectIndex");
  if (record == nullptr || object == nullptr) return -1;
  ObjectRecord* target = CheckObject(object, "MQDoc_GetObjectIndex");
  if (target == nullptr || target->document != record) return -1;
  if (mqhost::host_faults::Hidden(object) ||
      mqhost::host_faults::Answer(mqhost::HostFault::NoObjectIndex, "MQDoc_GetObjectIndex")) {
    return -1;
  }
  return scanningLookups ? ScanForIndex(*record, target) : target->index;
}

MQHOST_EXPORT_C SceneHandle MQDoc_GetScene(DocumentHandle document, int index) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckDocument(document, "MQDoc_GetScene");
  if (record == nullptr || !CheckIndex(index, 1, "scene", "MQDoc_GetScene")) return nullptr;
  if (mqhost::host_faults::Answer(mqhost::HostFault::NullScene, "MQDoc_GetScene")) return nullptr;
  return record->scene;
}

MQHOST_EXPORT_C void MQScene_FloatValue(SceneHandle scene, int id, float* values) {
  mqhost::call_counter::Count();
  DocumentRecord* record = CheckScene(scene, "MQScene_FloatValue");
  if (record == nullptr || !CheckPointer(values, "MQScene_FloatValue")) return;
  if (id != mq::kSceneCameraAngle) {
    Fail("MQScene_FloatValue", "unknown scene value id " + std::to_string(id));
    return;
  }
  CopyPoint(record->cameraAngle, values);
}

// Copies as much of the name as fits, and always ends it with a zero byte
// inside `size`.
MQHOST_EXPORT_C void MQObj_GetName(ObjectHandle object, char* buffer, int size) {
  mqhost::call_counter::Count();
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetName");
  if (record == nullptr || !CheckPointer(buffer, "MQObj_GetName")) return;
  if (size <= 0) {
    Fail("MQObj_GetName", "buffer size " + std::to_string(size) + " leaves no room for the name");
    return;
  }
  const std::string& name = record->content.name;
  const size_t length = std::min(name.size(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, name.data(), length);
  buffer[length] = '\0';
}

MQHOST_EXPORT_C int MQObj_GetVertexCount(ObjectHandle object) {
  mqhost::call_counter::Count();
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetVertexCount");
  return record == nullptr ? 0 : static_cast<int>(record->content.vertices.size());
}

MQHOST_EXPORT_C int MQObj_GetFaceCount(ObjectHandle object) {
  mqhost::call_counter::Count();
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetFaceCount");
  return record == nullptr ? 0 : record->content.FaceCount();
}

MQHOST_EXPORT_C int MQObj_GetIntValue(ObjectHandle object, int id) {
  mqhost::call_counter::Count();
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetIntValue");
  if (record == nullptr) return 0;
  switch (id) {
    case mq::kObjectUniqueId: return record->content.uniqueId;
    case mq::kObjectSelected: return record->content.selected ? 1 : 0;
    default: Fail("MQObj_GetIntValue", "unknown object value id " + std::to_string(id)); return 0;
  }
}

// 773 answers the inverse of 772; when 772 is singular it answers the
// identity (see document.hpp).
MQHOST_EXPORT_C void MQObj_GetFloatArray(ObjectHandle object, int id, float* values) {
  mqhost::call_counter::Count();
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetFloatArray");
  if (record == nullptr || !CheckPointer(values, "MQObj_GetFloatArray")) return;
  const Matrix16& frame = record->content.frame;
  switch (id) {
    case mq::kLocalTranslation: std::memcpy(values, &frame[12], 3 * sizeof(float)); return;
    case mq::kLocalMatrix: std::memcpy(values, frame.data(), sizeof frame); return;
    case mq::kLocalInverseMatrix: {
      Matrix16 inverse = mqhost::IdentityMatrix();
      mqhost::InvertMatrix(frame, &inverse);
      std::memcpy(values, inverse.data(), sizeof inverse);
      return;
    }
    default: Fail("MQObj_GetFloatArray", "unknown object array id " + std::to_string(id)); return;
  }
}

MQHOST_EXPORT_C void MQObj_SetFloatArray(ObjectHandle object, int id, const float* values) {
  mqhost::call_counter::Count();
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_SetFloatArray");
  if (record == nullptr || !CheckPointer(values, "MQObj_SetFloatArray")) return;
  if (mqhost::write_log::recordingWrites && (id == mq::kLocalTranslation || id == mq::kLocalMatrix)) {
    LogWrite(*record, "array " + std::to_string(id), values, id == mq::kLocalTranslation ? 3 : 16);
  }
  Matrix16& frame = record->content.frame;
  switch (id) {
    case mq::kLocalTranslation: std::memcpy(&frame[12], values, 3 * sizeof(float)); return;
    case mq::kLocalMatrix: std::memcpy(frame.data(), values, sizeof frame); return;
    case mq::kLocalInverseMatrix:
      Fail("MQObj_SetFloatArray", "id 773 (the inverse local matrix) is read only");
      return;
    default: Fail("MQObj_SetFloatArray", "unknown object array id " + std::to_string(id)); return;
  }
}

MQHOST_EXPORT_C void MQMatrix_FloatValue(float* matrix, int id, float* values) {
  mqhost::call_counter::Count();
  if (!CheckPointer(matrix, "MQMatrix_FloatValue") || !CheckPointer(values, "MQMatrix_FloatValue")) return;
  Matrix16 m;
  std::memcpy(m.data(), matrix, sizeof m);
  Point3 parts[3];
  switch (id) {
    case mq::kMatrixScale:
    case mq::kMatrixRotation:
    case mq::kMatrixTranslation:
      mqhost::DecomposeMatrix(m, &parts[0], &parts[1], &parts[2]);
      CopyPoint(parts[id - mq::kMatrixScale], values);
      return;
    case mq::kMatrixCompose:
      m = mqhost::ComposeMatrix({values[0], values[1], values[2]}, {values[3], values[4], values[5]},
                                {values[6], values[7], values[8]});
      std::memcpy(matrix, m.data(), sizeof m);
      return;
    default: Fail("MQMatrix_FloatValue", "unknown matrix value id " + std::to_string(id)); return;
  }
}
