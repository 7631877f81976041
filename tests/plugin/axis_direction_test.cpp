// Codes 3 to 6: the frame's Y (or X) axis along a selected line, a face
// normal, the way to a selected vertex, or the camera's axis.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/cmq_object.hpp"
#include "geometry_scene.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/faults.hpp"

namespace {

using namespace geometry_test;

// Ten vertices on two faces: a triangle 7-8-9 and a quad 0-1-2-3; vertex 4 at
// the origin and vertex 9 at (0, 2, 0); 5 and 6 are used by no face.
ObjectData Scene() {
  ObjectData object;
  object.name = "scene";
  object.vertices = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 3}, {0, 0, 0},
                     {5, 5, 5}, {6, 6, 6}, {2, 0, 0}, {2, 0, 5}, {0, 2, 0}};
  object.faces = {{7, 8, 9}, {0, 1, 2, 3}, {4, 9, 3}};
  return object;
}

class AxisDirection : public geometry_test::GeometryScene {
 protected:
  void SetUp() override {
    GeometryScene::SetUp();
    options.axisToSet = tervolin::AxisToSet::Y;
    options.transformVertices = false;
  }
  int32_t Run(int32_t code) {
    cmq::CMQObject current = cmq::CMQObject::Current(document);
    switch (code) {
      case tervolin::OpLine: return tervolin::AlignAxisToLine(document, current, options);
      case tervolin::OpFaceNormal: return tervolin::AlignAxisToFaceNormal(document, current, options);
      case tervolin::OpOriginToVertex: return tervolin::AlignAxisToVertex(document, current, options);
      case tervolin::OpCamera: return tervolin::AlignAxisToCamera(document, current, options);
      default: ADD_FAILURE() << "no axis-direction code " << code; return -1;
    }
  }
  Matrix16 FrameNow() { return mqhost::FrameOf(document, 0); }
};

// The first two selected vertices by index, and they come before a selected line.
TEST_F(AxisDirection, LineUsesTheFirstTwoOfThreeSelectedVerticesBeforeALine) {
  ObjectData object = Scene();
  object.selectedVertices = {0, 9, 4};  // 0 and 4 first: (1, 0, 0) - (0, 0, 0)
  object.selectedLines = {{0, 1}};
  Add(object);
  options.axisToSet = tervolin::AxisToSet::X;
  EXPECT_EQ(Run(tervolin::OpLine), 1);
  ExpectRow(FrameNow(), 0, {1, 0, 0});
}

TEST_F(AxisDirection, LineFromASelectedEdgeRunsFromItsStartToItsEnd) {
  ObjectData object = Scene();
  object.selectedLines = {{0, 1}};  // from point 8 (2, 0, 5) to point 9 (0, 2, 0)
  object.frame = Frame({0, 0, 1}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 0});
  Add(object);
  EXPECT_EQ(Run(tervolin::OpLine), 1);
  const float n = std::sqrt(4.0f + 4.0f + 25.0f);
  ExpectRow(FrameNow(), 1, {-2 / n, 2 / n, -5 / n});
}

TEST_F(AxisDirection, FaceNormalOfTheFirstSelectedFaceComesBeforeVertices) {
  ObjectData object = Scene();
  object.selectedFaces = {1};  // (0, 1, 0) × ((1, 0, -3) + (1, 0, 0)) / 2
  object.selectedVertices = {7, 8, 9};
  Add(object);
  EXPECT_EQ(Run(tervolin::OpFaceNormal), 1);
  const float n = std::sqrt(1.5f * 1.5f + 1.0f);
  ExpectRow(FrameNow(), 1, {-1.5f / n, 0, -1 / n});
}

TEST_F(AxisDirection, ThreeVerticesGiveTheOppositeNormalOfTheSameTriangle) {
  // Face 0 is 7-8-9; selecting its face and selecting its three vertices
  // give normals of opposite sign.
  ObjectData byFace = Scene();
  byFace.selectedFaces = {0};
  Add(byFace);
  EXPECT_EQ(Run(tervolin::OpFaceNormal), 1);
  const Point3 faceNormal = geometry_test::Row(FrameNow(), 1);

  ObjectData byVertices = Scene();
  byVertices.selectedVertices = {7, 8, 9};
  mqhost::SetObject(document, 0, byVertices);
  EXPECT_EQ(Run(tervolin::OpFaceNormal), 1);
  const Point3 vertexNormal = geometry_test::Row(FrameNow(), 1);
  // (P1 - P0) × (P2 - P0) = (0, 0, 5) × (-2, 2, 0) = (-10, -10, 0)
  const float h = std::sqrt(0.5f);
  ExpectNear(vertexNormal, {-h, -h, 0}, 1e-6f, "vertex rule");
  ExpectNear(faceNormal, {h, h, 0}, 1e-6f, "face rule");
}

TEST_F(AxisDirection, YModeDropsTheOldAxisLengths) {
  ObjectData object = Scene();
  object.selectedVertices = {4, 9};  // direction (0, -2, 0)
  object.frame = Frame({2, 0, 0}, {0, 3, 0}, {0, 0, 4}, {0, 0, 0});
  Add(object);
  EXPECT_EQ(Run(tervolin::OpLine), 1);
  const Matrix16 frame = FrameNow();
  ExpectRow(frame, 0, {1, 0, 0});
  ExpectRow(frame, 1, {0, -1, 0});
  ExpectRow(frame, 2, {0, 0, -1});
}

TEST_F(AxisDirection, XModeTurnsAboutTheOldYOnly) {
  ObjectData object = Scene();
  object.vertices[1] = {1, 1, 0};
  object.selectedVertices = {1};
  Add(object);
  options.axisToSet = tervolin::AxisToSet::X;
  EXPECT_EQ(Run(tervolin::OpOriginToVertex), 1);  // direction (1, 1, 0)
  const Matrix16 frame = FrameNow();
  ExpectRow(frame, 0, {1, 0, 0});
  ExpectRow(frame, 1, {0, 1, 0});
  ExpectRow(frame, 2, {0, 0, 1});
}

TEST_F(AxisDirection, OriginAndHomogeneousColumnStay) {
  ObjectData object = Scene();
  object.selectedVertices = {0, 3};
  object.frame = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {3, -2, 7});
  object.frame[3] = 0.25f;
  object.frame[7] = -1;
  object.frame[11] = 2;
  object.frame[15] = 3;
  Add(object);
  EXPECT_EQ(Run(tervolin::OpLine), 1);
  const Matrix16 frame = FrameNow();
  EXPECT_EQ(frame[3], 0.25f);
  EXPECT_EQ(frame[7], -1.0f);
  EXPECT_EQ(frame[11], 2.0f);
  EXPECT_EQ(frame[15], 3.0f);
  ExpectRow(frame, 3, {3, -2, 7}, 0);
}

TEST_F(AxisDirection, CameraAxisIsTheCamerasDepthTowardsTheViewer) {
  // Any camera: the new Y axis is the composed camera's Z row, z negated.
  Add(Scene());
  const Point3 angle{25, 30, -10};
  mqhost::SetCameraAngle(document, angle);
  const Matrix16 camera = mqhost::ComposeMatrix({1, 1, 1}, angle, {0, 0, 0});
  EXPECT_EQ(Run(tervolin::OpCamera), 1);
  ExpectRow(FrameNow(), 1, {camera[8], camera[9], -camera[10]});

  // A host that gives the document no scene has no camera: nothing changes.
  const Matrix16 before = FrameNow();
  options.transformVertices = true;
  mqhost::SetCameraAngle(document, {90, 0, 0});
  mqhost::ScheduleHostFaults(1, 100, 1u << static_cast<int>(mqhost::HostFault::NullScene));
  const int32_t result = Run(tervolin::OpCamera);
  mqhost::StopHostFaults();
  EXPECT_EQ(result, 0);
  EXPECT_EQ(FrameNow(), before);
  EXPECT_TRUE(mqhost::ProtocolErrors().empty());
}

// Without a usable direction nothing is written and nothing moves, where the
// rows would otherwise become zero; with or without the vertices following.
TEST_F(AxisDirection, NoUsableDirectionChangesNothing) {
  constexpr tervolin::AxisToSet Y = tervolin::AxisToSet::Y;
  constexpr tervolin::AxisToSet X = tervolin::AxisToSet::X;
  const struct {
    const char* what;
    std::vector<int32_t> selected;
    int32_t code;
    tervolin::AxisToSet axisToSet;
    uint32_t reference;
  } cases[] = {
      {"one live vertex is no line", {5, 9}, tervolin::OpLine, Y, tervolin::kCurrentObjectReference},
      {"two vertices give no normal", {7, 8}, tervolin::OpFaceNormal, Y, tervolin::kCurrentObjectReference},
      {"no selected live vertex", {6}, tervolin::OpOriginToVertex, Y, tervolin::kCurrentObjectReference},
      {"two vertices at one place", {4, 10}, tervolin::OpLine, Y, tervolin::kCurrentObjectReference},
      {"parallel to the kept X axis", {0, 4}, tervolin::OpLine, Y, tervolin::kCurrentObjectReference},
      {"parallel to the kept Y axis", {2, 4}, tervolin::OpLine, X, tervolin::kCurrentObjectReference},
      {"vertex at the origin", {4}, tervolin::OpOriginToVertex, Y, tervolin::kCurrentObjectReference},
      {"no reference object (line)", {4, 9}, tervolin::OpLine, Y, 999},
      {"no reference object (normal)", {7, 8, 9}, tervolin::OpFaceNormal, Y, 999},
      {"no reference object (vertex)", {9}, tervolin::OpOriginToVertex, Y, 999},
  };
  ObjectData object = Scene();
  object.vertices.push_back({0, 0, 0});  // vertex 10 sits on vertex 4
  object.faces.push_back({4, 10, 9});
  Add(object);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (bool transform : {false, true}) {
      object.selectedVertices = c.selected;
      mqhost::SetObject(document, 0, object);
      const ObjectData before = mqhost::GetObject(document, 0);
      options.axisToSet = c.axisToSet;
      options.referenceObjectId = c.reference;
      options.transformVertices = transform;
      EXPECT_EQ(Run(c.code), 0);
      ExpectUnchanged(before);
    }
  }
}

TEST_F(AxisDirection, ReferenceGeometryTurnsTheCurrentFrame) {
  Add(Scene());
  ObjectData reference = Scene();
  reference.uniqueId = 12;
  reference.selectedVertices = {4, 9};
  const int32_t referenceIndex = Add(reference);
  options.referenceObjectId = 12;
  EXPECT_EQ(Run(tervolin::OpLine), 1);
  ExpectRow(FrameNow(), 1, {0, -1, 0});
  EXPECT_EQ(mqhost::FrameOf(document, referenceIndex), mqhost::IdentityMatrix());
}

// With "Trans(&f)orm" each live vertex p goes to p · L⁻¹ · N', N' being the new
// rotation with the old scale and origin.
TEST_F(AxisDirection, TransformCarriesVerticesWithAUnitFrame) {
  ObjectData object = Scene();
  const float h = std::sqrt(0.5f);
  object.frame = Frame({h, h, 0}, {-h, h, 0}, {0, 0, 1}, {1, 2, 3});
  object.vertices[0] = {1 + h, 2 + h, 3};  // the tip of the old X axis
  object.selectedFaces = {1};
  Add(object);
  const ObjectData before = mqhost::GetObject(document, 0);
  options.transformVertices = true;
  EXPECT_EQ(Run(tervolin::OpFaceNormal), 1);

  const ObjectData after = mqhost::GetObject(document, 0);
  // Coordinates in the frame do not change.
  geometry_test::ExpectVerticesCarried(before, after, before.frame, after.frame);
  const Point3 tip = geometry_test::Row(after.frame, 0);
  ExpectNear(after.vertices[0], {1 + tip.x, 2 + tip.y, 3 + tip.z}, 1e-5f, "the tip of the new X axis");
}

TEST_F(AxisDirection, TransformWithAScaledFrameKeepsTheVerticesSize) {
  ObjectData object = Scene();
  object.frame = Frame({0, 2, 0}, {-2, 0, 0}, {0, 0, 2}, {1, 0, 0});
  object.selectedVertices = {8, 9};
  Add(object);
  const ObjectData before = mqhost::GetObject(document, 0);
  options.transformVertices = true;
  EXPECT_EQ(Run(tervolin::OpLine), 1);

  const ObjectData after = mqhost::GetObject(document, 0);
  const Matrix16 written = after.frame;
  for (int row = 0; row < 3; ++row) {
    const Point3 axis = geometry_test::Row(written, row);
    EXPECT_NEAR(std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z), 1.0f, 1e-6f) << row;
  }
  const Matrix16 carried = geometry_test::Recomposed(before.frame, written);
  geometry_test::ExpectVerticesCarried(before, after, before.frame, carried);
}

}  // namespace
