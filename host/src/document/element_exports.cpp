// The host functions that a walk calls once per vertex, face or line: the
// selection flags, vertex positions and reference counts, and face points.
//
// Each has two paths. The fast one answers only when the object is the one
// the last passing check found (recent_lookups.hpp) and every index and
// pointer is in range; it calls nothing, so it saves no registers. Anything
// else goes to the checked path, which makes every check of
// document_exports.cpp, records the protocol error that applies and answers
// the neutral value; the fast path can therefore never answer where the
// checked one would refuse.
#include <cstring>
#include <string>

#include "host/src/calls/call_counter.hpp"
#include "host/src/calls/host_function_declarations.hpp"
#include "host/src/calls/write_log.hpp"
#include "host/src/document/export_checks.hpp"
#include "host/src/document/recent_lookups.hpp"
#include "mqhost/api.hpp"

namespace {

using mqhost::Point3;
using mqhost::exports::CheckIndex;
using mqhost::exports::CheckPointer;
using mqhost::exports::CopyPoint;
using mqhost::exports::InRange;
using mqhost::model::CheckObjectRecent;
using mqhost::model::CheckSlotRecent;
using mqhost::model::KeptObject;
using mqhost::model::KeptSlot;
using mqhost::model::ObjectContent;
using mqhost::model::ObjectRecord;

// The points of face `face` (in range) of `content`.
struct FacePoints {
  size_t begin;
  size_t count;
};

inline FacePoints PointsOf(const ObjectContent& content, int face) {
  const size_t begin = content.faceStart[static_cast<size_t>(face)];
  return {begin, content.faceStart[static_cast<size_t>(face) + 1] - begin};
}

// The checked paths (see the top of this file).

[[gnu::noinline]] int IsSelectVertexChecked(DocumentHandle document, int objectIndex, int vertex) {
  const ObjectRecord* object = CheckSlotRecent(document, objectIndex, "MQDoc_IsSelectVertex");
  if (object == nullptr ||
      !CheckIndex(vertex, object->content.vertexSelected.size(), "vertex", "MQDoc_IsSelectVertex")) {
    return 0;
  }
  return object->content.vertexSelected[static_cast<size_t>(vertex)];
}

[[gnu::noinline]] int IsSelectLineChecked(DocumentHandle document, int objectIndex, int face, int line) {
  const ObjectRecord* object = CheckSlotRecent(document, objectIndex, "MQDoc_IsSelectLine");
  if (object == nullptr ||
      !CheckIndex(face, object->content.faceSelected.size(), "face", "MQDoc_IsSelectLine")) {
    return 0;
  }
  const FacePoints points = PointsOf(object->content, face);
  if (!CheckIndex(line, points.count, "line", "MQDoc_IsSelectLine")) return 0;
  return object->content.lineSelected[points.begin + static_cast<size_t>(line)];
}

[[gnu::noinline]] int IsSelectFaceChecked(DocumentHandle document, int objectIndex, int face) {
  const ObjectRecord* object = CheckSlotRecent(document, objectIndex, "MQDoc_IsSelectFace");
  if (object == nullptr ||
      !CheckIndex(face, object->content.faceSelected.size(), "face", "MQDoc_IsSelectFace")) {
    return 0;
  }
  return object->content.faceSelected[static_cast<size_t>(face)];
}

[[gnu::noinline]] void GetVertexChecked(ObjectHandle object, int vertex, float* position) {
  const ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetVertex");
  if (record == nullptr || !CheckPointer(position, "MQObj_GetVertex") ||
      !CheckIndex(vertex, record->content.vertices.size(), "vertex", "MQObj_GetVertex")) {
    return;
  }
  CopyPoint(record->content.vertices[static_cast<size_t>(vertex)], position);
}

[[gnu::noinline]] void SetVertexChecked(ObjectHandle object, int vertex, const float* position) {
  ObjectRecord* record = CheckObjectRecent(object, "MQObj_SetVertex");
  if (record == nullptr || !CheckPointer(position, "MQObj_SetVertex") ||
      !CheckIndex(vertex, record->content.vertices.size(), "vertex", "MQObj_SetVertex")) {
    return;
  }
  if (mqhost::write_log::recordingWrites) {
    mqhost::exports::LogWrite(*record, "vertex " + std::to_string(vertex), position, 3);
  }
  record->content.vertices[static_cast<size_t>(vertex)] = Point3{position[0], position[1], position[2]};
}

[[gnu::noinline]] int GetFacePointCountChecked(ObjectHandle object, int face) {
  const ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetFacePointCount");
  if (record == nullptr || !CheckIndex(face, static_cast<size_t>(record->content.FaceCount()), "face",
                                       "MQObj_GetFacePointCount")) {
    return 0;
  }
  return static_cast<int>(PointsOf(record->content, face).count);
}

[[gnu::noinline]] int GetFacePointArrayChecked(ObjectHandle object, int face, int* points) {
  const ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetFacePointArray");
  if (record == nullptr || !CheckPointer(points, "MQObj_GetFacePointArray") ||
      !CheckIndex(face, static_cast<size_t>(record->content.FaceCount()), "face",
                  "MQObj_GetFacePointArray")) {
    return 0;
  }
  const FacePoints span = PointsOf(record->content, face);
  if (span.count > 0)
    std::memcpy(points, record->content.facePoints.data() + span.begin, span.count * sizeof(int));
  return static_cast<int>(span.count);
}

[[gnu::noinline]] int GetVertexRefCountChecked(ObjectHandle object, int vertex) {
  const ObjectRecord* record = CheckObjectRecent(object, "MQObj_GetVertexRefCount");
  if (record == nullptr ||
      !CheckIndex(vertex, record->content.refCounts.size(), "vertex", "MQObj_GetVertexRefCount")) {
    return 0;
  }
  return record->content.refCounts[static_cast<size_t>(vertex)];
}

}  // namespace

MQHOST_EXPORT_C int MQDoc_IsSelectVertex(DocumentHandle document, int objectIndex, int vertex) {
  mqhost::call_counter::Count();
  const ObjectRecord* object = KeptSlot(document, objectIndex);
  if (object != nullptr && InRange(vertex, object->content.vertexSelected.size())) {
    return object->content.vertexSelected[static_cast<size_t>(vertex)];
  }
  return IsSelectVertexChecked(document, objectIndex, vertex);
}

MQHOST_EXPORT_C int MQDoc_IsSelectLine(DocumentHandle document, int objectIndex, int face, int line) {
  mqhost::call_counter::Count();
  const ObjectRecord* object = KeptSlot(document, objectIndex);
  if (object != nullptr && InRange(face, object->content.faceSelected.size())) {
    const FacePoints points = PointsOf(object->content, face);
    if (InRange(line, points.count))
      return object->content.lineSelected[points.begin + static_cast<size_t>(line)];
  }
  return IsSelectLineChecked(document, objectIndex, face, line);
}

MQHOST_EXPORT_C int MQDoc_IsSelectFace(DocumentHandle document, int objectIndex, int face) {
  mqhost::call_counter::Count();
  const ObjectRecord* object = KeptSlot(document, objectIndex);
  if (object != nullptr && InRange(face, object->content.faceSelected.size())) {
    return object->content.faceSelected[static_cast<size_t>(face)];
  }
  return IsSelectFaceChecked(document, objectIndex, face);
}

MQHOST_EXPORT_C void MQObj_GetVertex(ObjectHandle object, int vertex, float* position) {
  mqhost::call_counter::Count();
  const ObjectRecord* record = KeptObject(object);
  if (record != nullptr && position != nullptr && InRange(vertex, record->content.vertices.size())) {
    CopyPoint(record->content.vertices[static_cast<size_t>(vertex)], position);
    return;
  }
  GetVertexChecked(object, vertex, position);
}

// A recorded write takes the checked path, which logs it.
MQHOST_EXPORT_C void MQObj_SetVertex(ObjectHandle object, int vertex, const float* position) {
  mqhost::call_counter::Count();
  ObjectRecord* record = KeptObject(object);
  if (record != nullptr && position != nullptr && InRange(vertex, record->content.vertices.size()) &&
      !mqhost::write_log::recordingWrites) {
    record->content.vertices[static_cast<size_t>(vertex)] = Point3{position[0], position[1], position[2]};
    return;
  }
  SetVertexChecked(object, vertex, position);
}

MQHOST_EXPORT_C int MQObj_GetFacePointCount(ObjectHandle object, int face) {
  mqhost::call_counter::Count();
  const ObjectRecord* record = KeptObject(object);
  if (record != nullptr && InRange(face, static_cast<size_t>(record->content.FaceCount()))) {
    return static_cast<int>(PointsOf(record->content, face).count);
  }
  return GetFacePointCountChecked(object, face);
}

// Writes the face's point indices into `points`, which holds as many ints as
// MQObj_GetFacePointCount answered; returns that count.
MQHOST_EXPORT_C int MQObj_GetFacePointArray(ObjectHandle object, int face, int* points) {
  mqhost::call_counter::Count();
  return GetFacePointArrayChecked(object, face, points);
}

MQHOST_EXPORT_C int MQObj_GetVertexRefCount(ObjectHandle object, int vertex) {
  mqhost::call_counter::Count();
  const ObjectRecord* record = KeptObject(object);
  if (record != nullptr && InRange(vertex, record->content.refCounts.size())) {
    return record->content.refCounts[static_cast<size_t>(vertex)];
  }
  return GetVertexRefCountChecked(object, vertex);
}
