// Placeholder host functions, answered with a protocol error until the
// replacement host models what they reach.
#include "mqhost/api.hpp"
#include "mqhost/protocol.hpp"
#include "plugin/host_types.hpp"

MQHOST_EXPORT_C int MQDoc_GetObjectCount(DocumentHandle) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_GetObjectCount is not modelled yet"); return {};
}

MQHOST_EXPORT_C ObjectHandle MQDoc_GetObject(DocumentHandle, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_GetObject is not modelled yet"); return {};
}

MQHOST_EXPORT_C ObjectHandle MQDoc_GetObjectFromUniqueID(DocumentHandle, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_GetObjectFromUniqueID is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQDoc_GetCurrentObjectIndex(DocumentHandle) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_GetCurrentObjectIndex is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQDoc_GetObjectIndex(DocumentHandle, ObjectHandle) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_GetObjectIndex is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQDoc_IsSelectVertex(DocumentHandle, int, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_IsSelectVertex is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQDoc_IsSelectLine(DocumentHandle, int, int, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_IsSelectLine is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQDoc_IsSelectFace(DocumentHandle, int, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_IsSelectFace is not modelled yet"); return {};
}

MQHOST_EXPORT_C SceneHandle MQDoc_GetScene(DocumentHandle, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQDoc_GetScene is not modelled yet"); return {};
}

MQHOST_EXPORT_C void MQScene_FloatValue(SceneHandle, int, float*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQScene_FloatValue is not modelled yet");
}

MQHOST_EXPORT_C void MQObj_GetName(ObjectHandle, char*, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetName is not modelled yet");
}

MQHOST_EXPORT_C int MQObj_GetVertexCount(ObjectHandle) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetVertexCount is not modelled yet"); return {};
}

MQHOST_EXPORT_C void MQObj_GetVertex(ObjectHandle, int, float*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetVertex is not modelled yet");
}

MQHOST_EXPORT_C void MQObj_SetVertex(ObjectHandle, int, const float*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_SetVertex is not modelled yet");
}

MQHOST_EXPORT_C int MQObj_GetFaceCount(ObjectHandle) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetFaceCount is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQObj_GetFacePointCount(ObjectHandle, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetFacePointCount is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQObj_GetFacePointArray(ObjectHandle, int, int*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetFacePointArray is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQObj_GetVertexRefCount(ObjectHandle, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetVertexRefCount is not modelled yet"); return {};
}

MQHOST_EXPORT_C int MQObj_GetIntValue(ObjectHandle, int) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetIntValue is not modelled yet"); return {};
}

MQHOST_EXPORT_C void MQObj_GetFloatArray(ObjectHandle, int, float*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_GetFloatArray is not modelled yet");
}

MQHOST_EXPORT_C void MQObj_SetFloatArray(ObjectHandle, int, const float*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQObj_SetFloatArray is not modelled yet");
}

MQHOST_EXPORT_C void MQMatrix_FloatValue(float*, int, float*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQMatrix_FloatValue is not modelled yet");
}
