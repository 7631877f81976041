// Codes 8 to 13: quarter turns of the frame about its own axes, and mirrors in
// a vertex-space axis, with and without the vertices following.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/cmq_object.hpp"
#include "geometry_scene.hpp"

namespace {

using namespace geometry_test;

ObjectData Box(const Matrix16& frame) {
  ObjectData object;
  object.name = "box";
  object.vertices = {{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 1}, {8, 8, 8}};
  object.faces = {{0, 1, 2, 3}};
  object.frame = frame;
  return object;
}

class AxisAdjust : public geometry_test::GeometryScene {
 protected:
  int32_t Run(int32_t code) {
    cmq::CMQObject current = cmq::CMQObject::Current(document);
    if (code >= tervolin::OpMirrorX) return tervolin::MirrorAxis(current, code, options);
    return tervolin::RotateAxis90(current, code, options);
  }
  Matrix16 FrameNow() { return mqhost::FrameOf(document, 0); }
};

TEST_F(AxisAdjust, FourQuarterTurnsAndTwoMirrorsGiveTheStartBack) {
  const float h = std::sqrt(0.5f);
  const Matrix16 start = Frame({h, h, 0}, {-2 * h, 2 * h, 0}, {0, 0, 3}, {1, 2, 3});
  Add(Box(start));
  for (int code : {tervolin::OpRotateX, tervolin::OpRotateY, tervolin::OpRotateZ}) {
    for (int turn = 0; turn < 4; ++turn) EXPECT_EQ(Run(code), 1);
    EXPECT_EQ(FrameNow(), start) << "code " << code;
  }
  options.useGlobal = true;
  for (int code : {tervolin::OpMirrorX, tervolin::OpMirrorY, tervolin::OpMirrorZ}) {
    EXPECT_EQ(Run(code), 1);
    EXPECT_NE(FrameNow(), start);
    EXPECT_EQ(Run(code), 1);
    EXPECT_EQ(FrameNow(), start) << "code " << code;
  }
}

TEST_F(AxisAdjust, AxisLengthsTravelWithTheirRows) {
  Add(Box(Frame({2, 0, 0}, {0, 3, 0}, {0, 0, 4}, {0, 0, 0})));
  EXPECT_EQ(Run(tervolin::OpRotateX), 1);
  const Matrix16 frame = FrameNow();
  ExpectRow(frame, 0, {2, 0, 0}, 0);
  ExpectRow(frame, 1, {0, 0, 4}, 0);
  ExpectRow(frame, 2, {0, -3, 0}, 0);
}

TEST_F(AxisAdjust, MirrorReflectsTheAxesAndWithGlobalTheOrigin) {
  // Without "global" the origin stays (the end-to-end picks check it); with
  // it the origin is reflected too.
  Add(Box(Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {3, 1, 2})));
  options.useGlobal = true;
  EXPECT_EQ(Run(tervolin::OpMirrorX), 1);
  Matrix16 frame = FrameNow();
  ExpectRow(frame, 0, {-1, 0, 0}, 0);
  ExpectRow(frame, 3, {-3, 1, 2}, 0);

  // Mirror in Z reflects element 2 of every axis, whatever the axes are.
  mqhost::SetFrame(document, 0, Frame({0, 1, 1}, {1, 0, 2}, {1, 1, -3}, {4, 5, 6}));
  EXPECT_EQ(Run(tervolin::OpMirrorZ), 1);
  frame = FrameNow();
  ExpectRow(frame, 0, {0, 1, -1}, 0);
  ExpectRow(frame, 1, {1, 0, -2}, 0);
  ExpectRow(frame, 2, {1, 1, 3}, 0);
  ExpectRow(frame, 3, {4, 5, -6}, 0);
}

TEST_F(AxisAdjust, HomogeneousColumnAndOriginStay) {
  Matrix16 start = Frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {7, 8, 9});
  start[3] = 0.5f;
  start[7] = -2;
  start[11] = 4;
  start[15] = 2;
  Add(Box(start));
  for (int code = tervolin::OpRotateX; code <= tervolin::OpMirrorZ; ++code) {
    EXPECT_EQ(Run(code), 1);
    const Matrix16 frame = FrameNow();
    EXPECT_EQ(frame[3], 0.5f) << code;
    EXPECT_EQ(frame[7], -2.0f) << code;
    EXPECT_EQ(frame[11], 4.0f) << code;
    EXPECT_EQ(frame[15], 2.0f) << code;
    ExpectRow(frame, 3, {7, 8, 9}, 0);
  }
}

// The vertices keep their coordinates in the frame, placed again with the old
// scale and origin: with a unit frame that is the written frame itself.
TEST_F(AxisAdjust, TurnsCarryTheVerticesWithTheOldScale) {
  const float h = std::sqrt(0.5f);
  Add(Box(mqhost::IdentityMatrix()));
  options.transformVertices = true;
  for (const Matrix16& start : {Frame({h, 0, -h}, {0, 1, 0}, {h, 0, h}, {1, -1, 2}),
                                Frame({2, 0, 0}, {0, 3, 0}, {0, 0, 4}, {1, 0, 0})}) {
    mqhost::SetObject(document, 0, Box(start));
    for (int code : {tervolin::OpRotateX, tervolin::OpRotateY, tervolin::OpRotateZ}) {
      const ObjectData before = mqhost::GetObject(document, 0);
      EXPECT_EQ(Run(code), 1);
      const ObjectData after = mqhost::GetObject(document, 0);
      geometry_test::ExpectVerticesCarried(before, after, before.frame,
                                           geometry_test::Recomposed(before.frame, after.frame));
    }
  }
}

TEST_F(AxisAdjust, MirrorsCarryTheVerticesThroughTheMirroredFrame) {
  Add(Box(Frame({0, 2, 0}, {-2, 0, 0}, {0, 0, 2}, {1, 2, 3})));
  options.transformVertices = true;
  for (bool global : {false, true}) {
    options.useGlobal = global;
    for (int code : {tervolin::OpMirrorX, tervolin::OpMirrorY, tervolin::OpMirrorZ}) {
      const ObjectData before = mqhost::GetObject(document, 0);
      EXPECT_EQ(Run(code), 1);
      const ObjectData after = mqhost::GetObject(document, 0);
      geometry_test::ExpectVerticesCarried(before, after, before.frame, after.frame, 2e-4f);
    }
  }
  // Each axis was reflected once in the plane through the origin (1, 2, 3) and
  // once in the plane through the vertex-space origin: a shift by -2 · (1, 2, 3).
  ExpectNear(mqhost::GetObject(document, 0).vertices[2], {0, -1, -6}, 1e-4f, "vertex 2");
  ExpectNear(mqhost::GetObject(document, 0).vertices[4], {8, 8, 8}, 0, "the orphan stays");
}

}  // namespace
