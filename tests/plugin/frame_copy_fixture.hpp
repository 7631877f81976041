// A document in the replacement host for the tests of the operations that
// carry frames between objects (copy to selected, clipboard copy, paste and
// clear): objects with known frames and vertices, and the checks they share.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/cmq_object.hpp"
#include "mqhost/document.hpp"
#include "mqhost/matrix_values.hpp"
#include "operations/operations.hpp"
#include "support/host_fixture.hpp"

namespace frame_copy_testing {

using mqhost::Matrix16;
using mqhost::Point3;

inline Matrix16 Frame(Point3 scale, Point3 angle, Point3 translation) {
  return mqhost::ComposeMatrix(scale, angle, translation);
}

// p · M for the point (p, 1), as the vertex motion applies it.
inline Point3 Apply(const Point3& p, const Matrix16& m) {
  return {p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12], p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13],
          p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14]};
}

inline Matrix16 Product(const Matrix16& a, const Matrix16& b) {
  Matrix16 result{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += static_cast<double>(a[row * 4 + k]) * b[k * 4 + column];
      result[row * 4 + column] = static_cast<float>(sum);
    }
  }
  return result;
}

inline void ExpectMatrixNear(const Matrix16& actual, const Matrix16& expected, float tolerance) {
  for (int k = 0; k < 16; ++k) EXPECT_NEAR(actual[k], expected[k], tolerance) << "element " << k;
}

inline void ExpectPointNear(const Point3& actual, const Point3& expected, float tolerance) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

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
  cmq::CMQObject MakeCurrent(int32_t index) {
    mqhost::SetCurrentObjectIndex(document, index);
    return cmq::CMQObject::Current(document);
  }
  int32_t Run(int32_t code, int32_t currentIndex) {
    cmq::CMQObject current = MakeCurrent(currentIndex);
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
  // with the vertices carried along: p · L⁻¹ · N. Vertex 4 is not live and
  // stays where it was.
  void ExpectVerticesCarried(int32_t index, const mqhost::ObjectData& before, const Matrix16& next) {
    Matrix16 inverse{};
    ASSERT_TRUE(mqhost::InvertMatrix(before.frame, &inverse));
    const Matrix16 motion = Product(inverse, next);
    const mqhost::ObjectData after = mqhost::GetObject(document, index);
    for (size_t i = 0; i < 4; ++i)
      ExpectPointNear(after.vertices[i], Apply(before.vertices[i], motion), 1e-3f);
    EXPECT_EQ(after.vertices[4].x, before.vertices[4].x);
  }
};

}  // namespace frame_copy_testing
