// The host modeller's function table: every function the plug-in binds, in
// the order MQInit binds them. This list is the only place the names, the
// order and the signatures of the called functions are written down. From it
// come: the plug-in's bound table, its name strings and the binding loop
// (binding/host_api.*); the replacement host's declarations of the 25
// functions it implements (host/src/calls/host_function_declarations.hpp, so a
// definition that differs does not compile) and its inert stand-ins for the
// rest (host/src/calls/inert_exports.cpp). The 25 bodies themselves are written by
// hand in host/src.
//
// MQ_HOST_USED(return type, name, (parameters)) names a function the plug-in
// calls; MQ_HOST_INERT(name) one it binds but never calls. The replacement host
// implements the first kind and answers the second with a protocol error.
//
// Conventions of the calls (the host's answer always comes back in caller
// memory, never through a return value the plug-in reads):
// - "3 floats" and "16 floats" are pointers to the caller's array;
// - MQWidget_Value takes a null-terminated (name, value) slot list;
// - MQ_SendMessage and MQXmlElem_Value take a pointer to a request record.
//
// What the host answers, per called function. The plug-in calls them all from
// the thread that called its export, during that call.
// - MQ_SendMessage(kMessageGetSettings, SettingsRequest*): writes the plug-in's
//   "pluginsettings" element into the request's list (settings_records.hpp),
//   or leaves null there. The return value is not read.
// - MQDoc_GetObjectCount: the number of object slots, deleted ones included.
// - MQDoc_GetObject(index): the object in that slot; null for a deleted slot or
//   an index out of range.
// - MQDoc_GetObjectFromUniqueID: the object with that ID, or null.
// - MQDoc_GetCurrentObjectIndex: the current object's slot, or -1.
// - MQDoc_GetObjectIndex(object): the object's slot, or -1 for a foreign handle.
// - MQDoc_IsSelectVertex / IsSelectLine / IsSelectFace: nonzero when selected;
//   0 for anything out of range. Lines are per (face, edge).
// - MQDoc_GetScene(0): the scene of the current view.
// - MQScene_FloatValue(kSceneCameraAngle): the camera angle, 3 floats.
// - MQObj_GetName(buffer, size): the name, cut to size - 1 bytes and ended.
// - MQObj_GetVertexCount / GetFaceCount: slot counts, deleted ones included.
// - MQObj_GetVertex / SetVertex: one position, 3 floats, in vertex space.
// - MQObj_GetFacePointCount: the face's corners; 0 for a deleted face.
// - MQObj_GetFacePointArray: writes the corners' vertex indices.
// - MQObj_GetVertexRefCount: faces using the vertex; 0 means deleted.
// - MQObj_GetIntValue(kObjectUniqueId, kObjectSelected): the value as int32.
// - MQObj_GetFloatArray / SetFloatArray(kLocal*): the frame, its translation
//   or its inverse (read only), in caller memory.
// - MQMatrix_FloatValue(kMatrix*): decomposes a 16-float matrix into scale,
//   rotation or translation, or composes one from 9 floats.
// - MQXmlElem_Value(code, record): one settings-tree request; the answer goes
//   into the record (settings_records.hpp).
// - MQWidget_Value(id, code, list): one widget request (host_types.hpp codes);
//   answers go through the list's value pointers; the return value is the new
//   widget's id for kWidgetCreate and is otherwise not read.
#pragma once

#include "protocol/host_types.hpp"

// clang-format off
#define MQ_HOST_FUNCTIONS(MQ_HOST_USED, MQ_HOST_INERT) \
  MQ_HOST_INERT(MQ_GetWindowHandle) \
  MQ_HOST_INERT(MQ_CreateObject) \
  MQ_HOST_INERT(MQ_CreateMaterial) \
  MQ_HOST_INERT(MQ_ShowFileDialog) \
  MQ_HOST_INERT(MQ_ImportAxis) \
  MQ_HOST_INERT(MQ_ExportAxis) \
  MQ_HOST_INERT(MQ_LoadImage) \
  MQ_HOST_INERT(MQ_LoadImageW) \
  MQ_HOST_INERT(MQ_GetSystemPath) \
  MQ_HOST_INERT(MQ_GetSystemPathW) \
  MQ_HOST_INERT(MQ_RefreshView) \
  MQ_HOST_INERT(MQ_StationCallback) \
  MQ_HOST_USED(int, MQ_SendMessage, (int message, void* record)) \
  MQ_HOST_USED(int, MQDoc_GetObjectCount, (DocumentHandle document)) \
  MQ_HOST_USED(ObjectHandle, MQDoc_GetObject, (DocumentHandle document, int index)) \
  MQ_HOST_USED(ObjectHandle, MQDoc_GetObjectFromUniqueID, (DocumentHandle document, int uniqueId)) \
  MQ_HOST_USED(int, MQDoc_GetCurrentObjectIndex, (DocumentHandle document)) \
  MQ_HOST_INERT(MQDoc_SetCurrentObjectIndex) \
  MQ_HOST_INERT(MQDoc_AddObject) \
  MQ_HOST_INERT(MQDoc_DeleteObject) \
  MQ_HOST_USED(int, MQDoc_GetObjectIndex, (DocumentHandle document, ObjectHandle object)) \
  MQ_HOST_INERT(MQDoc_GetUnusedObjectName) \
  MQ_HOST_INERT(MQDoc_GetMaterialCount) \
  MQ_HOST_INERT(MQDoc_GetMaterial) \
  MQ_HOST_INERT(MQDoc_GetMaterialFromUniqueID) \
  MQ_HOST_INERT(MQDoc_GetCurrentMaterialIndex) \
  MQ_HOST_INERT(MQDoc_SetCurrentMaterialIndex) \
  MQ_HOST_INERT(MQDoc_AddMaterial) \
  MQ_HOST_INERT(MQDoc_DeleteMaterial) \
  MQ_HOST_INERT(MQDoc_GetUnusedMaterialName) \
  MQ_HOST_INERT(MQDoc_Compact) \
  MQ_HOST_INERT(MQDoc_ClearSelect) \
  MQ_HOST_INERT(MQDoc_AddSelectVertex) \
  MQ_HOST_INERT(MQDoc_DeleteSelectVertex) \
  MQ_HOST_USED(int, MQDoc_IsSelectVertex, (DocumentHandle document, int objectIndex, int vertex)) \
  MQ_HOST_INERT(MQDoc_AddSelectLine) \
  MQ_HOST_INERT(MQDoc_DeleteSelectLine) \
  MQ_HOST_USED(int, MQDoc_IsSelectLine, (DocumentHandle document, int objectIndex, int face, int line)) \
  MQ_HOST_INERT(MQDoc_AddSelectFace) \
  MQ_HOST_INERT(MQDoc_DeleteSelectFace) \
  MQ_HOST_USED(int, MQDoc_IsSelectFace, (DocumentHandle document, int objectIndex, int face)) \
  MQ_HOST_INERT(MQDoc_AddSelectUVVertex) \
  MQ_HOST_INERT(MQDoc_DeleteSelectUVVertex) \
  MQ_HOST_INERT(MQDoc_IsSelectUVVertex) \
  MQ_HOST_INERT(MQDoc_FindMappingFile) \
  MQ_HOST_INERT(MQDoc_FindMappingFileW) \
  MQ_HOST_USED(SceneHandle, MQDoc_GetScene, (DocumentHandle document, int index)) \
  MQ_HOST_INERT(MQDoc_GetMappingImage) \
  MQ_HOST_INERT(MQDoc_GetMappingImageW) \
  MQ_HOST_INERT(MQDoc_GetParentObject) \
  MQ_HOST_INERT(MQDoc_GetChildObjectCount) \
  MQ_HOST_INERT(MQDoc_GetChildObject) \
  MQ_HOST_INERT(MQDoc_GetGlobalMatrix) \
  MQ_HOST_INERT(MQDoc_GetGlobalInverseMatrix) \
  MQ_HOST_INERT(MQDoc_InsertObject) \
  MQ_HOST_INERT(MQDoc_CreateUserData) \
  MQ_HOST_INERT(MQDoc_DeleteUserData) \
  MQ_HOST_INERT(MQDoc_Triangulate) \
  MQ_HOST_INERT(MQScene_InitSize) \
  MQ_HOST_INERT(MQScene_GetProjMatrix) \
  MQ_HOST_INERT(MQScene_GetViewMatrix) \
  MQ_HOST_USED(void, MQScene_FloatValue, (SceneHandle scene, int id, float* values)) \
  MQ_HOST_INERT(MQScene_GetVisibleFace) \
  MQ_HOST_INERT(MQScene_IntValue) \
  MQ_HOST_INERT(MQObj_Delete) \
  MQ_HOST_INERT(MQObj_Clone) \
  MQ_HOST_INERT(MQObj_Merge) \
  MQ_HOST_INERT(MQObj_Freeze) \
  MQ_HOST_USED(void, MQObj_GetName, (ObjectHandle object, char* buffer, int size)) \
  MQ_HOST_USED(int, MQObj_GetVertexCount, (ObjectHandle object)) \
  MQ_HOST_USED(void, MQObj_GetVertex, (ObjectHandle object, int vertex, float* position)) \
  MQ_HOST_USED(void, MQObj_SetVertex, (ObjectHandle object, int vertex, const float* position)) \
  MQ_HOST_INERT(MQObj_GetVertexArray) \
  MQ_HOST_USED(int, MQObj_GetFaceCount, (ObjectHandle object)) \
  MQ_HOST_USED(int, MQObj_GetFacePointCount, (ObjectHandle object, int face)) \
  MQ_HOST_USED(int, MQObj_GetFacePointArray, (ObjectHandle object, int face, int* points)) \
  MQ_HOST_INERT(MQObj_GetFaceCoordinateArray) \
  MQ_HOST_INERT(MQObj_GetFaceMaterial) \
  MQ_HOST_INERT(MQObj_GetFaceUniqueID) \
  MQ_HOST_INERT(MQObj_GetFaceIndexFromUniqueID) \
  MQ_HOST_INERT(MQObj_SetName) \
  MQ_HOST_INERT(MQObj_AddVertex) \
  MQ_HOST_INERT(MQObj_DeleteVertex) \
  MQ_HOST_USED(int, MQObj_GetVertexRefCount, (ObjectHandle object, int vertex)) \
  MQ_HOST_INERT(MQObj_GetVertexUniqueID) \
  MQ_HOST_INERT(MQObj_GetVertexIndexFromUniqueID) \
  MQ_HOST_INERT(MQObj_GetVertexRelatedFaces) \
  MQ_HOST_INERT(MQObj_GetVertexWeight) \
  MQ_HOST_INERT(MQObj_SetVertexWeight) \
  MQ_HOST_INERT(MQObj_CopyVertexAttribute) \
  MQ_HOST_INERT(MQObj_AddFace) \
  MQ_HOST_INERT(MQObj_InsertFace) \
  MQ_HOST_INERT(MQObj_DeleteFace) \
  MQ_HOST_INERT(MQObj_InvertFace) \
  MQ_HOST_INERT(MQObj_SetFaceMaterial) \
  MQ_HOST_INERT(MQObj_SetFaceCoordinateArray) \
  MQ_HOST_INERT(MQObj_GetFaceVertexColor) \
  MQ_HOST_INERT(MQObj_SetFaceVertexColor) \
  MQ_HOST_INERT(MQObj_GetFaceEdgeCrease) \
  MQ_HOST_INERT(MQObj_SetFaceEdgeCrease) \
  MQ_HOST_INERT(MQObj_GetFaceVisible) \
  MQ_HOST_INERT(MQObj_SetFaceVisible) \
  MQ_HOST_INERT(MQObj_OptimizeVertex) \
  MQ_HOST_INERT(MQObj_Compact) \
  MQ_HOST_INERT(MQObj_GetVisible) \
  MQ_HOST_INERT(MQObj_SetVisible) \
  MQ_HOST_INERT(MQObj_GetPatchType) \
  MQ_HOST_INERT(MQObj_SetPatchType) \
  MQ_HOST_INERT(MQObj_GetPatchSegment) \
  MQ_HOST_INERT(MQObj_SetPatchSegment) \
  MQ_HOST_INERT(MQObj_GetShading) \
  MQ_HOST_INERT(MQObj_SetShading) \
  MQ_HOST_INERT(MQObj_GetSmoothAngle) \
  MQ_HOST_INERT(MQObj_SetSmoothAngle) \
  MQ_HOST_INERT(MQObj_GetMirrorType) \
  MQ_HOST_INERT(MQObj_SetMirrorType) \
  MQ_HOST_INERT(MQObj_GetMirrorAxis) \
  MQ_HOST_INERT(MQObj_SetMirrorAxis) \
  MQ_HOST_INERT(MQObj_GetMirrorDistance) \
  MQ_HOST_INERT(MQObj_SetMirrorDistance) \
  MQ_HOST_INERT(MQObj_GetLatheType) \
  MQ_HOST_INERT(MQObj_SetLatheType) \
  MQ_HOST_INERT(MQObj_GetLatheAxis) \
  MQ_HOST_INERT(MQObj_SetLatheAxis) \
  MQ_HOST_INERT(MQObj_GetLatheSegment) \
  MQ_HOST_INERT(MQObj_SetLatheSegment) \
  MQ_HOST_USED(int, MQObj_GetIntValue, (ObjectHandle object, int id)) \
  MQ_HOST_USED(void, MQObj_GetFloatArray, (ObjectHandle object, int id, float* values)) \
  MQ_HOST_INERT(MQObj_SetIntValue) \
  MQ_HOST_USED(void, MQObj_SetFloatArray, (ObjectHandle object, int id, const float* values)) \
  MQ_HOST_INERT(MQObj_PointerArray) \
  MQ_HOST_INERT(MQObj_AllocUserData) \
  MQ_HOST_INERT(MQObj_FreeUserData) \
  MQ_HOST_INERT(MQObj_GetUserData) \
  MQ_HOST_INERT(MQObj_SetUserData) \
  MQ_HOST_INERT(MQObj_AllocVertexUserData) \
  MQ_HOST_INERT(MQObj_FreeVertexUserData) \
  MQ_HOST_INERT(MQObj_GetVertexUserData) \
  MQ_HOST_INERT(MQObj_SetVertexUserData) \
  MQ_HOST_INERT(MQObj_AllocFaceUserData) \
  MQ_HOST_INERT(MQObj_FreeFaceUserData) \
  MQ_HOST_INERT(MQObj_GetFaceUserData) \
  MQ_HOST_INERT(MQObj_SetFaceUserData) \
  MQ_HOST_INERT(MQMat_Delete) \
  MQ_HOST_INERT(MQMat_GetIntValue) \
  MQ_HOST_INERT(MQMat_GetFloatArray) \
  MQ_HOST_INERT(MQMat_GetName) \
  MQ_HOST_INERT(MQMat_GetColor) \
  MQ_HOST_INERT(MQMat_GetAlpha) \
  MQ_HOST_INERT(MQMat_GetDiffuse) \
  MQ_HOST_INERT(MQMat_GetAmbient) \
  MQ_HOST_INERT(MQMat_GetEmission) \
  MQ_HOST_INERT(MQMat_GetSpecular) \
  MQ_HOST_INERT(MQMat_GetPower) \
  MQ_HOST_INERT(MQMat_GetTextureName) \
  MQ_HOST_INERT(MQMat_GetAlphaName) \
  MQ_HOST_INERT(MQMat_GetBumpName) \
  MQ_HOST_INERT(MQMat_SetIntValue) \
  MQ_HOST_INERT(MQMat_SetFloatArray) \
  MQ_HOST_INERT(MQMat_SetName) \
  MQ_HOST_INERT(MQMat_SetColor) \
  MQ_HOST_INERT(MQMat_SetAlpha) \
  MQ_HOST_INERT(MQMat_SetDiffuse) \
  MQ_HOST_INERT(MQMat_SetAmbient) \
  MQ_HOST_INERT(MQMat_SetEmission) \
  MQ_HOST_INERT(MQMat_SetSpecular) \
  MQ_HOST_INERT(MQMat_SetPower) \
  MQ_HOST_INERT(MQMat_SetTextureName) \
  MQ_HOST_INERT(MQMat_SetAlphaName) \
  MQ_HOST_INERT(MQMat_SetBumpName) \
  MQ_HOST_INERT(MQMat_AllocUserData) \
  MQ_HOST_INERT(MQMat_FreeUserData) \
  MQ_HOST_INERT(MQMat_GetUserData) \
  MQ_HOST_INERT(MQMat_SetUserData) \
  MQ_HOST_INERT(MQMat_GetValueArray) \
  MQ_HOST_INERT(MQMat_SetValueArray) \
  MQ_HOST_INERT(MQShaderNode_GetValueArray) \
  MQ_HOST_INERT(MQShaderNode_SetValueArray) \
  MQ_HOST_USED(void, MQMatrix_FloatValue, (float* matrix, int id, float* values)) \
  MQ_HOST_USED(void, MQXmlElem_Value, (XmlElemHandle element, int code, void* record)) \
  MQ_HOST_INERT(MQXmlDoc_Value) \
  MQ_HOST_USED(int, MQWidget_Value, (int widgetId, int code, void** arguments)) \
  MQ_HOST_INERT(MQCanvas_Value) \
// clang-format on

namespace tervolin {

// NOLINTBEGIN(bugprone-macro-parentheses): counting macros expand to "+1"
#define MQ_HOST_COUNT_USED(ret, name, params) +1
#define MQ_HOST_COUNT_INERT(name) +1
inline constexpr int kHostFunctionCount = 0 MQ_HOST_FUNCTIONS(MQ_HOST_COUNT_USED, MQ_HOST_COUNT_INERT);
#define MQ_HOST_COUNT_USED_ONLY(ret, name, params) +1
#define MQ_HOST_COUNT_NONE(name)
inline constexpr int kHostFunctionsCalled = 0 MQ_HOST_FUNCTIONS(MQ_HOST_COUNT_USED_ONLY, MQ_HOST_COUNT_NONE);
#undef MQ_HOST_COUNT_USED
#undef MQ_HOST_COUNT_INERT
#undef MQ_HOST_COUNT_USED_ONLY
#undef MQ_HOST_COUNT_NONE
// NOLINTEND(bugprone-macro-parentheses)

static_assert(kHostFunctionCount == 183, "the host binds exactly 183 functions");
static_assert(kHostFunctionsCalled == 25, "the plug-in calls exactly 25 of them");

}  // namespace tervolin
