// The replacement host's document as the plug-in reaches it: the document,
// object, scene and matrix host functions through the bound table, with
// handle and index checking.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "binding/host_api.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/faults.hpp"
#include "mqhost/matrix_values.hpp"
#include "support/host_fixture.hpp"
#include "support/plugin_library.hpp"

namespace {

using mqhost::Matrix16;
using mqhost::ObjectData;
using tervolin::HostApi;

// A unit square (face 0) and a triangle (face 1) sharing the edge 1-2, plus
// vertex 4 that no face uses.
ObjectData SquareAndTriangle(const std::string& name) {
  ObjectData object;
  object.name = name;
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {9, 9, 9}, {2, 0, 0}};
  object.faces = {{0, 1, 2, 3}, {1, 5, 2}};
  return object;
}

using HostDocument = host_testing::DocumentTest;

TEST_F(HostDocument, SlotsKeepTheirIndicesWhenAnObjectIsDeleted) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("a")), 0);
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("b")), 1);
  mqhost::SetCurrentObjectIndex(document, 0);
  const uint64_t callsBefore = mqhost::HostCallCount();
  ObjectHandle second = HostApi().MQDoc_GetObject(document, 1);
  EXPECT_EQ(HostApi().MQDoc_GetCurrentObjectIndex(document), 0);
  EXPECT_EQ(mqhost::HostCallCount() - callsBefore, 2u);  // every call is counted

  mqhost::DeleteObject(document, 0);
  EXPECT_EQ(HostApi().MQDoc_GetObjectCount(document), 2);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 0), nullptr);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 1), second);
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, second), 1);
  EXPECT_FALSE(mqhost::HasObject(document, 0));
  EXPECT_EQ(HostApi().MQDoc_GetCurrentObjectIndex(document), -1);
  // -1 is the host's own "none": the current object of a document without one.
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, -1), nullptr);
}

TEST_F(HostDocument, UniqueIdsAreAssignedWhenZeroAndFoundByHashOrByScan) {
  ObjectData named = SquareAndTriangle("named");
  named.uniqueId = 2;
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("fresh1")), 0);
  ASSERT_EQ(mqhost::AddObject(document, named), 1);
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("fresh2")), 2);
  std::vector<int> ids;
  for (int i = 0; i < 3; ++i) {
    ObjectHandle object = HostApi().MQDoc_GetObject(document, i);
    ids.push_back(HostApi().MQObj_GetIntValue(object, mq::kObjectUniqueId));
    EXPECT_EQ(HostApi().MQDoc_GetObjectFromUniqueID(document, ids.back()), object);
  }
  EXPECT_EQ(ids[1], 2);
  EXPECT_GT(ids[0], 0);
  EXPECT_GT(ids[2], 0);
  EXPECT_NE(ids[0], ids[2]);
  EXPECT_NE(ids[2], 2);

  mqhost::DeleteObject(document, 1);
  // Scanning the slots answers what the indexed lookups answer, past the
  // empty slot too.
  for (const bool scanning : {false, true}) {
    mqhost::SetScanningLookups(scanning);
    EXPECT_EQ(HostApi().MQDoc_GetObjectFromUniqueID(document, 2), nullptr);
    EXPECT_EQ(HostApi().MQDoc_GetObjectFromUniqueID(document, 12345), nullptr);
    ObjectHandle last = HostApi().MQDoc_GetObject(document, 2);
    EXPECT_EQ(HostApi().MQDoc_GetObjectFromUniqueID(document, ids[2]), last);
    EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, last), 2);
  }
  mqhost::SetScanningLookups(false);
}

TEST_F(HostDocument, InvalidObjectsAreRejectedAndNotStored) {
  ObjectData badFace = SquareAndTriangle("bad");
  badFace.faces[1][2] = 6;
  EXPECT_EQ(mqhost::AddObject(document, badFace), -1);
  EXPECT_TRUE(HasProtocolError("faces[1][2]: vertex index 6 is out of range (object has 6 vertices)"));

  ObjectData badVertex = SquareAndTriangle("bad");
  badVertex.selectedVertices = {-1};
  EXPECT_EQ(mqhost::AddObject(document, badVertex), -1);

  ObjectData first = SquareAndTriangle("first");
  first.uniqueId = 7;
  ASSERT_EQ(mqhost::AddObject(document, first), 0);
  EXPECT_EQ(mqhost::AddObject(document, first), -1);
  EXPECT_TRUE(HasProtocolError("uniqueId 7 is already used"));
  EXPECT_EQ(mqhost::ObjectSlotCount(document), 1);

  // A rejected replacement leaves the object as it was.
  mqhost::SetObject(document, 0, badFace);
  EXPECT_EQ(mqhost::GetObject(document, 0).name, "first");
  mqhost::ClearProtocolErrors();
}

TEST_F(HostDocument, GeometryAndDerivedReferenceCounts) {
  ObjectData object = SquareAndTriangle("geo");
  object.faces.push_back({3});        // a one-point face
  object.faces.push_back({});         // a removed face
  object.faces.push_back({0, 0, 3});  // names vertex 0 twice
  ASSERT_EQ(mqhost::AddObject(document, object), 0);
  ObjectHandle handle = HostApi().MQDoc_GetObject(document, 0);

  EXPECT_EQ(HostApi().MQObj_GetVertexCount(handle), 6);
  EXPECT_EQ(HostApi().MQObj_GetFaceCount(handle), 5);
  const std::vector<int> expectedCounts = {2, 2, 2, 3, 0, 1};
  for (int v = 0; v < 6; ++v)
    EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(handle, v), expectedCounts[size_t(v)]) << v;

  EXPECT_EQ(HostApi().MQObj_GetFacePointCount(handle, 3), 0);
  int points[4] = {-7, -7, -7, -7};
  EXPECT_EQ(HostApi().MQObj_GetFacePointArray(handle, 1, points), 3);
  EXPECT_EQ((std::array<int, 4>{points[0], points[1], points[2], points[3]}),
            (std::array<int, 4>{1, 5, 2, -7}));
  EXPECT_EQ(HostApi().MQObj_GetFacePointArray(handle, 2, points), 1);
  EXPECT_EQ(points[0], 3);

  const float moved[3] = {4, 5, 6};
  HostApi().MQObj_SetVertex(handle, 2, moved);
  float position[3] = {};
  HostApi().MQObj_GetVertex(handle, 2, position);
  EXPECT_EQ((std::array<float, 3>{position[0], position[1], position[2]}), (std::array<float, 3>{4, 5, 6}));
  EXPECT_EQ(mqhost::VerticesOf(document, 0)[2].y, 5.0f);

  // Replacing the object recounts, and keeps its handle and unique ID.
  const int id = HostApi().MQObj_GetIntValue(handle, mq::kObjectUniqueId);
  ObjectData replaced = SquareAndTriangle("geo2");
  replaced.faces = {{4, 5, 0}};
  mqhost::SetObject(document, 0, replaced);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 0), handle);
  EXPECT_EQ(HostApi().MQObj_GetIntValue(handle, mq::kObjectUniqueId), id);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(handle, 4), 1);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(handle, 3), 0);
}

TEST_F(HostDocument, SelectionsOfVerticesLinesFacesAndTheObject) {
  ObjectData object = SquareAndTriangle("sel");
  object.selectedVertices = {4, 1};
  object.selectedFaces = {1};
  object.selectedLines = {{0, 1}, {1, 3 - 1}};  // the shared edge only in face 0; face 1's closing edge
  object.selected = true;
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("other")), 0);
  ASSERT_EQ(mqhost::AddObject(document, object), 1);

  for (int v = 0; v < 6; ++v)
    EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 1, v) != 0, v == 1 || v == 4) << v;
  EXPECT_EQ(HostApi().MQDoc_IsSelectFace(document, 1, 0), 0);
  EXPECT_NE(HostApi().MQDoc_IsSelectFace(document, 1, 1), 0);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(HostApi().MQDoc_IsSelectLine(document, 1, 0, k) != 0, k == 1) << k;
  for (int k = 0; k < 3; ++k) EXPECT_EQ(HostApi().MQDoc_IsSelectLine(document, 1, 1, k) != 0, k == 2) << k;
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 0, 1), 0);
  EXPECT_NE(HostApi().MQObj_GetIntValue(HostApi().MQDoc_GetObject(document, 1), mq::kObjectSelected), 0);
  EXPECT_EQ(HostApi().MQObj_GetIntValue(HostApi().MQDoc_GetObject(document, 0), mq::kObjectSelected), 0);

  const ObjectData back = mqhost::GetObject(document, 1);
  EXPECT_EQ(back.selectedVertices, (std::vector<int32_t>{1, 4}));
  EXPECT_EQ(back.selectedFaces, (std::vector<int32_t>{1}));
  EXPECT_EQ(back.selectedLines, (std::vector<std::pair<int32_t, int32_t>>{{0, 1}, {1, 2}}));
}

TEST_F(HostDocument, FrameIdsReadAndWriteTheLocalMatrixAndItsInverse) {
  ObjectData object = SquareAndTriangle("frame");
  object.frame = {0, 2, 0, 0, -3, 0, 0, 0, 0, 0, 4, 0, 5, 6, 7, 1};
  ASSERT_EQ(mqhost::AddObject(document, object), 0);
  ObjectHandle handle = HostApi().MQDoc_GetObject(document, 0);

  float origin[3] = {};
  HostApi().MQObj_GetFloatArray(handle, mq::kLocalTranslation, origin);
  EXPECT_EQ((std::array<float, 3>{origin[0], origin[1], origin[2]}), (std::array<float, 3>{5, 6, 7}));
  const float newOrigin[3] = {-1, -2, -3};
  HostApi().MQObj_SetFloatArray(handle, mq::kLocalTranslation, newOrigin);
  Matrix16 frame{};
  HostApi().MQObj_GetFloatArray(handle, mq::kLocalMatrix, frame.data());
  EXPECT_EQ(frame, (Matrix16{0, 2, 0, 0, -3, 0, 0, 0, 0, 0, 4, 0, -1, -2, -3, 1}));

  Matrix16 inverse{}, expected{};
  HostApi().MQObj_GetFloatArray(handle, mq::kLocalInverseMatrix, inverse.data());
  ASSERT_TRUE(mqhost::InvertMatrix(frame, &expected));
  EXPECT_EQ(inverse, expected);

  const Matrix16 written = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 8, 9, 10, 1};
  HostApi().MQObj_SetFloatArray(handle, mq::kLocalMatrix, written.data());
  EXPECT_EQ(mqhost::FrameOf(document, 0), written);
  ExpectNoProtocolErrors();

  // The inverse is read only: a write is refused and changes nothing.
  HostApi().MQObj_SetFloatArray(handle, mq::kLocalInverseMatrix, written.data());
  EXPECT_TRUE(HasProtocolError("MQObj_SetFloatArray: id 773"));
  EXPECT_EQ(mqhost::FrameOf(document, 0), written);
  mqhost::ClearProtocolErrors();

  // A singular frame (zero Y axis) has the identity as its inverse.
  const Matrix16 flat = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 3, 4, 5, 1};
  HostApi().MQObj_SetFloatArray(handle, mq::kLocalMatrix, flat.data());
  inverse.fill(-5);
  HostApi().MQObj_GetFloatArray(handle, mq::kLocalInverseMatrix, inverse.data());
  EXPECT_EQ(inverse, mqhost::IdentityMatrix());
}

TEST_F(HostDocument, NameIsTruncatedAndAlwaysTerminatedWithinTheSize) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("abcdefgh")), 0);
  ObjectHandle handle = HostApi().MQDoc_GetObject(document, 0);
  char buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), 'x');
  HostApi().MQObj_GetName(handle, buffer, 5);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(buffer[5], 'x');
  ExpectNoProtocolErrors();

  buffer[0] = 'x';
  HostApi().MQObj_GetName(handle, buffer, 0);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_TRUE(HasProtocolError("MQObj_GetName"));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostDocument, DeletedAndForeignObjectHandlesAreRefusedForEveryCall) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("gone")), 0);
  ObjectHandle stale = HostApi().MQDoc_GetObject(document, 0);
  mqhost::DeleteObject(document, 0);
  // A new object never takes the old handle.
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("new")), 1);
  EXPECT_NE(HostApi().MQDoc_GetObject(document, 1), stale);
  mqhost::ClearProtocolErrors();

  float values[16];
  std::fill(std::begin(values), std::end(values), 42.0f);
  int points[4] = {42, 42, 42, 42};
  char name[8] = "keep";
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, stale), -1);
  EXPECT_EQ(HostApi().MQObj_GetVertexCount(stale), 0);
  EXPECT_EQ(HostApi().MQObj_GetFaceCount(stale), 0);
  EXPECT_EQ(HostApi().MQObj_GetFacePointCount(stale, 0), 0);
  EXPECT_EQ(HostApi().MQObj_GetFacePointArray(stale, 0, points), 0);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(stale, 0), 0);
  EXPECT_EQ(HostApi().MQObj_GetIntValue(stale, mq::kObjectUniqueId), 0);
  HostApi().MQObj_GetVertex(stale, 0, values);
  HostApi().MQObj_SetVertex(stale, 0, values);
  HostApi().MQObj_GetFloatArray(stale, mq::kLocalMatrix, values);
  HostApi().MQObj_SetFloatArray(stale, mq::kLocalMatrix, values);
  HostApi().MQObj_GetName(stale, name, 8);
  EXPECT_EQ(mqhost::ProtocolErrors().size(), 12u);
  EXPECT_TRUE(HasProtocolError("MQObj_GetVertex: the object was deleted"));
  EXPECT_TRUE(std::all_of(std::begin(values), std::end(values), [](float v) { return v == 42.0f; }));
  EXPECT_EQ(points[0], 42);
  EXPECT_STREQ(name, "keep");
  mqhost::ClearProtocolErrors();

  // Pointers that were never handles, or handles of the other kind, are not read.
  int local = 0;
  auto* foreignObject = reinterpret_cast<ObjectHandle>(&local);
  auto* foreignDocument = reinterpret_cast<DocumentHandle>(&local);
  auto* documentAsObject = reinterpret_cast<ObjectHandle>(document);
  auto* objectAsDocument = reinterpret_cast<DocumentHandle>(HostApi().MQDoc_GetObject(document, 1));
  EXPECT_EQ(HostApi().MQObj_GetVertexCount(foreignObject), 0);
  EXPECT_EQ(HostApi().MQObj_GetVertexCount(documentAsObject), 0);
  EXPECT_EQ(HostApi().MQDoc_GetObjectCount(foreignDocument), 0);
  EXPECT_EQ(HostApi().MQDoc_GetObjectCount(objectAsDocument), 0);
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, foreignObject), -1);
  EXPECT_EQ(HostApi().MQObj_GetVertexCount(nullptr), 0);
  EXPECT_EQ(mqhost::ProtocolErrors().size(), 6u);
  EXPECT_TRUE(HasProtocolError("MQObj_GetVertexCount: not an object handle"));
  EXPECT_TRUE(HasProtocolError("MQDoc_GetObjectCount: not a document handle"));
  EXPECT_TRUE(HasProtocolError("MQObj_GetVertexCount: null object handle"));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostDocument, DestroyedDocumentAndItsHandlesAreStale) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("x")), 0);
  ObjectHandle object = HostApi().MQDoc_GetObject(document, 0);
  SceneHandle scene = HostApi().MQDoc_GetScene(document, 0);
  ASSERT_NE(scene, nullptr);
  EXPECT_EQ(mqhost::ActiveDocument(), document);
  mqhost::DestroyDocument(document);
  EXPECT_EQ(mqhost::ActiveDocument(), nullptr);
  DocumentHandle dead = document;
  document = nullptr;
  ExpectNoProtocolErrors();

  float angle[3] = {7, 7, 7};
  EXPECT_EQ(HostApi().MQDoc_GetObjectCount(dead), 0);
  EXPECT_EQ(HostApi().MQDoc_GetObject(dead, 0), nullptr);
  EXPECT_EQ(HostApi().MQDoc_GetCurrentObjectIndex(dead), -1);
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(dead, 0, 0), 0);
  EXPECT_EQ(HostApi().MQDoc_GetScene(dead, 0), nullptr);
  EXPECT_EQ(HostApi().MQObj_GetVertexCount(object), 0);
  HostApi().MQScene_FloatValue(scene, mq::kSceneCameraAngle, angle);
  EXPECT_EQ(angle[0], 7.0f);
  EXPECT_EQ(mqhost::ProtocolErrors().size(), 7u);
  EXPECT_TRUE(HasProtocolError("MQDoc_GetObjectCount: the document was destroyed"));
  EXPECT_TRUE(HasProtocolError("MQScene_FloatValue: the scene's document was destroyed"));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostDocument, CameraAngleAndMatrixValues) {
  mqhost::SetCameraAngle(document, {30, -20, 10});
  float angle[3] = {};
  HostApi().MQScene_FloatValue(HostApi().MQDoc_GetScene(document, 0), mq::kSceneCameraAngle, angle);
  EXPECT_EQ((std::array<float, 3>{angle[0], angle[1], angle[2]}), (std::array<float, 3>{30, -20, 10}));

  float matrix[16];
  std::fill(std::begin(matrix), std::end(matrix), 9.0f);
  float nine[9] = {2, 3, 4, 30, -20, 10, 5, 6, 7};
  HostApi().MQMatrix_FloatValue(matrix, mq::kMatrixCompose, nine);
  EXPECT_EQ((std::array<float, 4>{matrix[3], matrix[7], matrix[11], matrix[15]}),
            (std::array<float, 4>{0, 0, 0, 1}));
  float triple[3];
  for (int id = mq::kMatrixScale; id <= mq::kMatrixTranslation; ++id) {
    HostApi().MQMatrix_FloatValue(matrix, id, triple);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(triple[i], nine[(id - mq::kMatrixScale) * 3 + i], 1e-4f) << id;
  }
  ExpectNoProtocolErrors();

  HostApi().MQMatrix_FloatValue(matrix, 260, triple);
  HostApi().MQScene_FloatValue(HostApi().MQDoc_GetScene(document, 0), 259, angle);
  EXPECT_TRUE(HasProtocolError("MQMatrix_FloatValue: unknown matrix value id 260"));
  EXPECT_TRUE(HasProtocolError("MQScene_FloatValue: unknown scene value id 259"));
  mqhost::ClearProtocolErrors();
}

// The fault schedule answers each failure the contract allows, as an answer
// and not an error, only where it is asked to, the same way for the same
// seed; the host's own out-of-range current index is "no object" when it is
// handed back.
TEST_F(HostDocument, ScheduledFaultsAreAnswersOfTheContract) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("a")), 0);
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle("b")), 1);
  mqhost::SetCurrentObjectIndex(document, 1);
  const ObjectHandle b = HostApi().MQDoc_GetObject(document, 1);
  auto only = [](mqhost::HostFault fault) { return 1u << static_cast<int>(fault); };

  mqhost::ScheduleHostFaults(7, 100, only(mqhost::HostFault::NullObject));
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 1), nullptr);
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, b), 1);
  mqhost::ScheduleHostFaults(7, 100, only(mqhost::HostFault::NoObjectIndex));
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, b), -1);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 1), b);
  mqhost::ScheduleHostFaults(7, 100, only(mqhost::HostFault::NullScene));
  EXPECT_EQ(HostApi().MQDoc_GetScene(document, 0), nullptr);
  mqhost::ScheduleHostFaults(7, 100, only(mqhost::HostFault::CurrentObjectIndex));
  for (int i = 0; i < 8; ++i) {
    const int current = HostApi().MQDoc_GetCurrentObjectIndex(document);
    EXPECT_TRUE(current == -1 || current >= 2) << current;
    EXPECT_EQ(HostApi().MQDoc_GetObject(document, current), nullptr);
  }
  EXPECT_EQ(mqhost::AnsweredHostFaults().size(), 8u);
  ExpectNoProtocolErrors();

  // Stopped, every answer is the document's again; past the end is an error.
  mqhost::StopHostFaults();
  EXPECT_EQ(HostApi().MQDoc_GetCurrentObjectIndex(document), 1);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 1), b);
  EXPECT_NE(HostApi().MQDoc_GetScene(document, 0), nullptr);
  HostApi().MQDoc_GetObject(document, 2);
  EXPECT_TRUE(HasProtocolError("MQDoc_GetObject"));
  mqhost::ClearProtocolErrors();

  // A rare schedule: the same seed answers the same calls.
  std::vector<int> first;
  std::vector<int> second;
  for (std::vector<int>* answers : {&first, &second}) {
    mqhost::ScheduleHostFaults(11, 30);
    for (int i = 0; i < 64; ++i) answers->push_back(HostApi().MQDoc_GetObjectIndex(document, b));
    mqhost::StopHostFaults();
  }
  EXPECT_EQ(first, second);
  EXPECT_NE(std::count(first.begin(), first.end(), -1), 0);
  EXPECT_NE(std::count(first.begin(), first.end(), 1), 0);

  mqhost::HideObjectIndex(b);
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, b), -1);
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, HostApi().MQDoc_GetObject(document, 0)), 0);
  mqhost::ClearHiddenObjects();
  EXPECT_EQ(HostApi().MQDoc_GetObjectIndex(document, b), 1);
}

}  // namespace
