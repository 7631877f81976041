// The replacement host's document: objects with vertices, faces, selections
// and a local frame, the current object, and the scene's camera. This is the
// control side that tests, benchmarks and the runner use to set a document up
// and read it back; the plug-in reaches the same document only through the
// host functions (MQDoc_*, MQObj_*, MQScene_*, MQMatrix_FloatValue).
//
// Frames are 16 floats, row-major: rows 0 to 2 are the X, Y, Z axes and row 3
// the origin, in the space of the object's vertex positions; points are row
// vectors on the left. Through MQObj_GetFloatArray/SetFloatArray, id 771 is
// row 3 (3 floats), 772 the whole frame (16 floats) and 773 its inverse (16
// floats, read only: a write is a protocol error). When the frame is singular
// (see InvertMatrix in matrix_values.hpp) 773 answers the identity matrix: a
// caller that maps vertices through the inverse then keeps their coordinates
// instead of collapsing them, and no protocol error is recorded, since asking
// is legitimate.
//
// Host-call answers worth knowing: MQDoc_GetObject(document, -1) answers null
// without an error (-1 is the host's own "no current object"); an unknown
// unique ID answers null; MQDoc_GetObjectIndex answers -1 for null and for an
// object of another document, and records an error only for a deleted object
// or a foreign pointer. A vertex's reference count is the number of faces that
// use it (a face naming a vertex twice counts once), derived when the object
// is added or replaced.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "mqhost/api.hpp"
#include "protocol/host_types.hpp"

namespace mqhost {

struct Point3 {
  float x = 0;
  float y = 0;
  float z = 0;
};

using Matrix16 = std::array<float, 16>;
MQHOST_API Matrix16 IdentityMatrix();

// One object, as a value. Selections hold indices; a line is (face, edge),
// edge k running from point k to point k + 1 of the face (the last edge
// closes the face). A face may have any number of points; a face with none
// stands for a removed face (point count 0, no edges). Every face, selection
// and unique ID is checked when the object is added or replaced: an index out
// of range is rejected with a protocol error naming the field, never stored.
struct ObjectData {
  std::string name;
  int32_t uniqueId = 0;  // 0 when adding: the document assigns a fresh one
  std::vector<Point3> vertices;
  std::vector<std::vector<int32_t>> faces;
  std::vector<int32_t> selectedVertices;
  std::vector<std::pair<int32_t, int32_t>> selectedLines;
  std::vector<int32_t> selectedFaces;
  bool selected = false;  // the object selection flag (int value 262)
  Matrix16 frame = IdentityMatrix();
};

// Documents. A new document is empty, has no current object (-1) and a camera
// angle of (0, 0, 0), and becomes the active document: the one the widget
// events of a modal run are raised for.
MQHOST_API DocumentHandle CreateDocument();
MQHOST_API void DestroyDocument(DocumentHandle document);
MQHOST_API void SetActiveDocument(DocumentHandle document);
MQHOST_API DocumentHandle ActiveDocument();

// Objects. AddObject returns the new object's index, or -1 when the object
// is rejected (bad index, negative unique ID, or an ID the document already
// uses). A unique ID of 0 is replaced with a fresh one; SetObject with 0
// keeps the object's own ID, and the object keeps its handle. DeleteObject
// leaves an empty slot (MQDoc_GetObject answers null for it), the object's
// handle goes stale, and a deleted current object leaves no current object
// (-1). Bad handles and indices out of range are protocol errors.
MQHOST_API int32_t AddObject(DocumentHandle document, const ObjectData& object);
MQHOST_API void DeleteObject(DocumentHandle document, int32_t index);
MQHOST_API int32_t ObjectSlotCount(DocumentHandle document);
MQHOST_API bool HasObject(DocumentHandle document, int32_t index);
MQHOST_API ObjectData GetObject(DocumentHandle document, int32_t index);
MQHOST_API void SetObject(DocumentHandle document, int32_t index, const ObjectData& object);
MQHOST_API ObjectHandle ObjectHandleAt(DocumentHandle document, int32_t index);
MQHOST_API void SetCurrentObjectIndex(DocumentHandle document, int32_t index);  // -1: none
MQHOST_API int32_t CurrentObjectIndex(DocumentHandle document);

// Direct access for large scenes (benchmarks), without copying an ObjectData.
// Positions may be changed through VerticesOf; the vector's size must stay as
// it is (faces, counts and selections are sized to it). A bad handle or index
// answers an empty vector.
MQHOST_API std::vector<Point3>& VerticesOf(DocumentHandle document, int32_t index);
MQHOST_API Matrix16 FrameOf(DocumentHandle document, int32_t index);
MQHOST_API void SetFrame(DocumentHandle document, int32_t index, const Matrix16& frame);

// Lookups the way a host that keeps its objects in a plain list makes them:
// MQDoc_GetObjectIndex and MQDoc_GetObjectFromUniqueID scan the document's
// slots in order, so each costs O(objects) instead of O(1). For benchmarks
// that check the plug-in does not ask them per vertex. Off by default; on at
// load when the environment variable TERVOLIN_HOST_SCAN_LOOKUPS is "1".
MQHOST_API void SetScanningLookups(bool on);
MQHOST_API bool ScanningLookups();

// The camera angle of scene 0 (scene float value 258), in the angle
// convention of matrix_values.hpp.
MQHOST_API void SetCameraAngle(DocumentHandle document, Point3 angle);
MQHOST_API Point3 CameraAngle(DocumentHandle document);

// Scene files (JSON). Loading never leaves a half-loaded document: on any
// error it returns null and `error` names the field and the reason.
MQHOST_API DocumentHandle LoadSceneFile(const std::string& path, std::string* error);
MQHOST_API DocumentHandle ParseScene(const std::string& text, std::string* error);
MQHOST_API bool SaveSceneFile(DocumentHandle document, const std::string& path, std::string* error);
MQHOST_API std::string SceneText(DocumentHandle document);

}  // namespace mqhost
