// Codes 1 and 2 (origin to the centre of the reference object's vertices),
// the two vertex compensations, and the operation table that reaches them.
#include <gtest/gtest.h>

#include <limits>

#include "geometry/cmq_object.hpp"
#include "geometry/frame.hpp"
#include "geometry_scene.hpp"

namespace {

using namespace geometry_test;

// Vertices at x = 0, 1 and 10 on one triangle, and an orphan at x = 100.
ObjectData Spread() {
  ObjectData object;
  object.name = "spread";
  object.vertices = {{0, 0, 0}, {1, 2, 0}, {10, 0, -4}, {100, 100, 100}};
  object.faces = {{0, 1, 2}};
  return object;
}

class OriginOperations : public geometry_test::GeometryScene {
 protected:
  int32_t Center(bool selectedOnly) {
    cmq::CMQObject current = cmq::CMQObject::Current(document);
    return tervolin::SetOriginToCenter(document, current, options, selectedOnly);
  }
  Point3 Origin(int32_t index = 0) { return geometry_test::Row(mqhost::FrameOf(document, index), 3); }
};

TEST_F(OriginOperations, ObjectCentreIsTheMiddleOfTheBoxNotTheMean) {
  ObjectData object = Spread();
  object.frame = Frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {7, 7, 7});
  Add(object);
  EXPECT_EQ(Center(false), 1);
  ExpectNear(Origin(), {5, 1, -2}, 0, "origin");
  // The axes stay; the orphan at x = 100 counts for nothing.
  const Matrix16 frame = mqhost::FrameOf(document, 0);
  ExpectRow(frame, 0, {0, 1, 0}, 0);
  ExpectRow(frame, 1, {-1, 0, 0}, 0);
  ExpectRow(frame, 2, {0, 0, 1}, 0);
}

TEST_F(OriginOperations, NothingSelectedPutsTheOriginAtZeroAndStillSucceeds) {
  ObjectData object = Spread();
  object.frame = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {4, 5, 6});
  object.selectedVertices = {3};  // the orphan: selected, but not live
  Add(object);
  EXPECT_EQ(Center(true), 1);
  ExpectNear(Origin(), {0, 0, 0}, 0, "origin");
}

TEST_F(OriginOperations, AnObjectWithoutLiveVerticesCentresAtZero) {
  ObjectData object;
  object.vertices = {{3, 3, 3}};
  object.frame = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 2, 3});
  Add(object);
  EXPECT_EQ(Center(false), 1);
  ExpectNear(Origin(), {0, 0, 0}, 0, "origin");
}

// A live vertex at infinity gives no finite centre: without "Trans(&f)orm",
// as with it, the operation answers false and the frame stays as it was.
TEST_F(OriginOperations, AnInfiniteVertexLeavesTheFrameAsItWas) {
  ObjectData object = Spread();
  object.vertices[1].x = std::numeric_limits<float>::infinity();
  object.frame = Frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {7, 7, 7});
  Add(object);
  options.transformVertices = false;
  for (bool selectedOnly : {false, true}) {
    if (selectedOnly) {
      object.selectedVertices = {0, 1};
      mqhost::SetObject(document, 0, object);
    }
    EXPECT_EQ(Center(selectedOnly), 0) << "selected only: " << selectedOnly;
    EXPECT_EQ(mqhost::FrameOf(document, 0), object.frame) << "selected only: " << selectedOnly;
  }
}

TEST_F(OriginOperations, ReferenceObjectGivesTheCentreAndTheCurrentObjectChanges) {
  ObjectData current = Spread();
  current.selectedVertices = {0};
  Add(current);
  ObjectData reference = Spread();
  reference.uniqueId = 500;
  reference.vertices = {{-2, 0, 0}, {2, 8, 0}, {50, 50, 50}, {4, 4, 4}};
  reference.faces = {{0, 1, 2}};
  reference.selectedVertices = {0, 1};
  const int32_t referenceIndex = Add(reference);
  const ObjectData referenceBefore = mqhost::GetObject(document, referenceIndex);

  options.referenceObjectId = 500;
  options.transformVertices = true;
  EXPECT_EQ(Center(true), 1);
  ExpectNear(Origin(0), {0, 4, 0}, 0, "current origin");
  ExpectNear(Origin(referenceIndex), {0, 0, 0}, 0, "reference origin");
  // The current object's vertices moved with its origin; the reference's did not.
  ExpectNear(mqhost::GetObject(document, 0).vertices[2], {10, 4, -4}, 0, "current vertex");
  EXPECT_EQ(mqhost::GetObject(document, referenceIndex).vertices[1].y, referenceBefore.vertices[1].y);
}

TEST_F(OriginOperations, AReferenceThatNamesNoObjectChangesNothing) {
  ObjectData object = Spread();
  object.frame = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1});
  Add(object);
  const ObjectData before = mqhost::GetObject(document, 0);
  options.referenceObjectId = 4242;
  options.transformVertices = true;
  EXPECT_EQ(Center(false), 0);
  ExpectUnchanged(before);
}

TEST_F(OriginOperations, TransformMovesLiveVerticesByTheChangeOfOrigin) {
  ObjectData object;
  object.vertices = {{2, 1, 1}, {4, 1, 1}, {3, 5, 1}, {-7, -7, -7}};
  object.faces = {{0, 1, 2}};
  object.frame = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1});
  object.selectedVertices = {0, 1, 3};
  Add(object);
  options.transformVertices = true;
  EXPECT_EQ(Center(true), 1);  // centre of 0 and 1: (3, 1, 1)
  ExpectNear(Origin(), {3, 1, 1}, 0, "origin");
  const ObjectData after = mqhost::GetObject(document, 0);
  ExpectNear(after.vertices[0], {4, 1, 1}, 0, "vertex 0");
  ExpectNear(after.vertices[1], {6, 1, 1}, 0, "vertex 1");
  ExpectNear(after.vertices[2], {5, 5, 1}, 0, "vertex 2");
  ExpectNear(after.vertices[3], {-7, -7, -7}, 0, "the orphan stays");
}

// MoveVerticesWithMatrix on its own: the vertices keep their coordinates in
// the frame and are placed again by the recomposed new frame.
class MoveVerticesWithMatrix : public geometry_test::GeometryScene {};

TEST_F(MoveVerticesWithMatrix, WithoutMirrorTheOldScaleAndOriginStay) {
  ObjectData object = Spread();
  object.frame = Frame({0, 2, 0}, {-2, 0, 0}, {0, 0, 2}, {1, 2, 3});
  Add(object);
  const ObjectData before = mqhost::GetObject(document, 0);
  const Matrix16 next = Frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {9, 9, 9});
  MQMatrix scratch;
  std::copy(next.begin(), next.end(), scratch.m);
  cmq::CMQObject current = cmq::CMQObject::Current(document);
  tervolin::MoveVerticesWithMatrix(current, scratch, false);

  const Matrix16 carried = geometry_test::Recomposed(before.frame, next);
  ExpectRow(carried, 0, {2, 0, 0});
  ExpectRow(carried, 3, {1, 2, 3});
  geometry_test::ExpectVerticesCarried(before, mqhost::GetObject(document, 0), before.frame, carried);
}

TEST_F(MoveVerticesWithMatrix, WithMirrorEverythingComesFromTheNewFrame) {
  ObjectData object = Spread();
  object.frame = Frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {1, 2, 3});
  Add(object);
  const ObjectData before = mqhost::GetObject(document, 0);
  const Matrix16 next = Frame({-3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {-1, 5, 0});
  MQMatrix scratch;
  std::copy(next.begin(), next.end(), scratch.m);
  cmq::CMQObject current = cmq::CMQObject::Current(document);
  tervolin::MoveVerticesWithMatrix(current, scratch, true);
  geometry_test::ExpectVerticesCarried(before, mqhost::GetObject(document, 0), before.frame, next);
}

// The operation table.
class OperationTable : public geometry_test::GeometryScene {
 protected:
  int32_t Dispatch(int32_t code) {
    cmq::CMQObject current = cmq::CMQObject::Current(document);
    return tervolin::DispatchOperation(document, current, code, options);
  }
};

// Codes 1 to 16 are each picked end to end; codes outside the table do nothing.
TEST_F(OperationTable, CodesOutsideTheTableDoNothing) {
  Add(Spread());
  EXPECT_EQ(Dispatch(0), 0);
  EXPECT_EQ(Dispatch(17), 0);
  EXPECT_EQ(mqhost::FrameOf(document, 0), Spread().frame);
}

}  // namespace
