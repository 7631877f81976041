// The replacement host's calls made per vertex, face or line answer from the
// object that the last passing check found. They must refuse all that the full
// checks refuse, and see at once what deletes an object, replaces its
// geometry or destroys its document.
#include <gtest/gtest.h>

#include "binding/host_api.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "support/host_fixture.hpp"

namespace {

using tervolin::HostApi;
using HostRecentLookups = host_testing::DocumentTest;

// Six vertices, the square 0-1-2-3 (face 0) and the triangle 1-5-2 (face 1).
mqhost::ObjectData SquareAndTriangle() {
  mqhost::ObjectData object;
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {9, 9, 9}, {2, 0, 0}};
  object.faces = {{0, 1, 2, 3}, {1, 5, 2}};
  return object;
}

TEST_F(HostRecentLookups, EveryIndexAndPointerIsCheckedOnTheObjectJustUsed) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle()), 0);
  ObjectHandle object = HostApi().MQDoc_GetObject(document, 0);
  float position[3] = {};
  HostApi().MQObj_GetVertex(object, 5, position);
  EXPECT_EQ(HostApi().MQDoc_IsSelectFace(document, 0, 1), 0);
  ExpectNoProtocolErrors();

  // Each just out of range, or another slot of the same document.
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 0, 6), 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 0, -1), 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 1, 0), 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectFace(document, 0, 2), 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectLine(document, 0, 2, 0), 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectLine(document, 0, 1, 3), 0);
  EXPECT_EQ(HostApi().MQObj_GetFacePointCount(object, 2), 0);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(object, 6), 0);
  HostApi().MQObj_GetVertex(object, 6, position);
  HostApi().MQObj_SetVertex(object, -1, position);
  HostApi().MQObj_GetVertex(object, 0, nullptr);
  HostApi().MQObj_SetVertex(object, 0, nullptr);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 1), nullptr);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, -2), nullptr);
  EXPECT_EQ(HostApi().MQDoc_IsSelectLine(document, 0, 1, -1), 0);
  EXPECT_EQ(HostApi().MQDoc_GetScene(document, 1), nullptr);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(object, -1), 0);
  EXPECT_EQ(HostApi().MQObj_GetIntValue(object, 261), 0);
  EXPECT_EQ(mqhost::ProtocolErrors().size(), 18u);
  EXPECT_TRUE(HasProtocolError("MQDoc_IsSelectLine: line index 3 is out of range (3 lines)"));
  EXPECT_TRUE(HasProtocolError("MQDoc_IsSelectVertex: object index 1 is out of range"));
  EXPECT_TRUE(HasProtocolError("MQDoc_GetObject: object index 1 is out of range (1 object)"));
  EXPECT_TRUE(HasProtocolError("MQObj_GetIntValue: unknown object value id 261"));
  EXPECT_TRUE(HasProtocolError("MQObj_SetVertex: null output or input pointer"));
  EXPECT_EQ(position[0], 2.0f);
  mqhost::ClearProtocolErrors();
}

TEST_F(HostRecentLookups, DeletionNewGeometryAndTheDocumentsEndAreSeenAtOnce) {
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle()), 0);
  ASSERT_EQ(mqhost::AddObject(document, SquareAndTriangle()), 1);
  ObjectHandle first = HostApi().MQDoc_GetObject(document, 0);
  ObjectHandle second = HostApi().MQDoc_GetObject(document, 1);
  float position[3] = {};
  HostApi().MQObj_GetVertex(first, 5, position);
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 0, 5), 0);
  mqhost::DeleteObject(document, 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 0, 5), 0);
  HostApi().MQObj_SetVertex(first, 5, position);
  EXPECT_TRUE(HasProtocolError("MQDoc_IsSelectVertex: object index 0 is an empty slot"));
  EXPECT_TRUE(HasProtocolError("MQObj_SetVertex: the object was deleted"));

  EXPECT_EQ(HostApi().MQObj_GetFacePointCount(second, 1), 3);
  EXPECT_EQ(HostApi().MQDoc_IsSelectFace(document, 1, 1), 0);
  mqhost::ObjectData shrunk;
  shrunk.vertices = {{1, 2, 3}};
  mqhost::SetObject(document, 1, shrunk);
  EXPECT_EQ(HostApi().MQObj_GetFacePointCount(second, 1), 0);
  EXPECT_EQ(HostApi().MQDoc_IsSelectFace(document, 1, 1), 0);
  HostApi().MQObj_GetVertex(second, 0, position);
  EXPECT_EQ(position[0], 1.0f);
  EXPECT_TRUE(HasProtocolError("MQObj_GetFacePointCount: face index 1 is out of range (0 faces)"));

  mqhost::DestroyDocument(document);
  EXPECT_EQ(HostApi().MQDoc_IsSelectVertex(document, 1, 0), 0);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(second, 0), 0);
  document = nullptr;
  EXPECT_TRUE(HasProtocolError("MQDoc_IsSelectVertex: the document was destroyed"));
  EXPECT_EQ(mqhost::ProtocolErrors().size(), 6u);
  mqhost::ClearProtocolErrors();
}

}  // namespace
