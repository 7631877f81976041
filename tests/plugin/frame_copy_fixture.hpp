// A document in the replacement host for the tests of the operations that
// carry frames between objects (copy to selected, clipboard copy, paste and
// clear): objects with known frames and vertices, and the checks they share.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/cmq_object.hpp"
#include "geometry_scene.hpp"
#include "operations/operations.hpp"

namespace frame_copy_testing {

using mqhost::Matrix16;
using mqhost::Point3;

inline Matrix16 Frame(Point3 scale, Point3 angle, Point3 translation) {
  return mqhost::ComposeMatrix(scale, angle, translation);
}

inline void ExpectMatrixNear(const Matrix16& actual, const Matrix16& expected, float tolerance) {
  for (int k = 0; k < 16; ++k) EXPECT_NEAR(actual[k], expected[k], tolerance) << "element " << k;
}

using geometry_test::ExpectNear;

struct Parts {
  Point3 scale;
  Point3 angle;
  Point3 translation;
};

inline Parts Decompose(const Matrix16& matrix) {
  Parts parts;
  mqhost::DecomposeMatrix(matrix, &parts.scale, &parts.angle, &parts.translation);
  return parts;
}

class FrameCopyTest : public host_testing::DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    options.referenceObjectId = tervolin::kCurrentObjectReference;
  }

  // A quad and a vertex that no face uses (it never moves), with `frame`.
  int32_t AddObject(const std::string& name, const Matrix16& frame, bool selected) {
    mqhost::ObjectData object;
    object.name = name;
    object.vertices = {{1, 2, 3}, {-4, 0.5f, 2}, {0, -3, 1}, {2, 2, -2}, {7, 7, 7}};
    object.faces = {{0, 1, 2, 3}};
    object.selected = selected;
    object.frame = frame;
    return mqhost::AddObject(document, object);
  }
  uint32_t UniqueIdOf(int32_t index) const {
    return static_cast<uint32_t>(mqhost::GetObject(document, index).uniqueId);
  }
  int32_t Run(int32_t code, int32_t currentIndex) {
    mqhost::SetCurrentObjectIndex(document, currentIndex);
    cmq::CMQObject current = cmq::CMQObject::Current(document);
    return tervolin::DispatchOperation(document, current, code, options);
  }
  void ExpectUnchanged(int32_t index, const mqhost::ObjectData& before) {
    const mqhost::ObjectData after = mqhost::GetObject(document, index);
    EXPECT_EQ(after.frame, before.frame) << "frame of object " << index;
    ASSERT_EQ(after.vertices.size(), before.vertices.size());
    for (size_t i = 0; i < after.vertices.size(); ++i) {
      EXPECT_EQ(after.vertices[i].x, before.vertices[i].x) << "vertex " << i << " of object " << index;
      EXPECT_EQ(after.vertices[i].y, before.vertices[i].y) << "vertex " << i << " of object " << index;
      EXPECT_EQ(after.vertices[i].z, before.vertices[i].z) << "vertex " << i << " of object " << index;
    }
  }
  // The live vertices of an object whose frame went from `before` to `next`
  // with the vertices carried along: p · L⁻¹ · N; vertex 4 is not live and stays.
  void ExpectVerticesCarried(int32_t index, const mqhost::ObjectData& before, const Matrix16& next) {
    geometry_test::ExpectVerticesCarried(before, mqhost::GetObject(document, index), before.frame, next,
                                         1e-3f);
  }
};

}  // namespace frame_copy_testing
