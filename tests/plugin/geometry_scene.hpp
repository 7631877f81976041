// Shared by the geometry and operation tests: a document in the replacement
// host (host_fixture.hpp), and the independent arithmetic (double
// precision) the tests check the plug-in's results against.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "geometry/math.hpp"
#include "mqhost/document.hpp"
#include "mqhost/matrix_values.hpp"
#include "support/host_fixture.hpp"

namespace geometry_test {

using mqhost::Matrix16;
using mqhost::ObjectData;
using mqhost::Point3;

inline Matrix16 Frame(Point3 x, Point3 y, Point3 z, Point3 origin) {
  return {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, origin.x, origin.y, origin.z, 1};
}

inline Point3 Row(const Matrix16& m, int row) {
  const size_t first = static_cast<size_t>(row) * 4;
  return {m[first], m[first + 1], m[first + 2]};
}

// p · M for an affine frame, in double precision.
inline Point3 Apply(const Point3& p, const Matrix16& m) {
  std::array<double, 3> r{};
  for (size_t c = 0; c < 3; ++c) {
    r[c] = p.x * static_cast<double>(m[c]) + p.y * static_cast<double>(m[4 + c]) +
           p.z * static_cast<double>(m[8 + c]) + static_cast<double>(m[12 + c]);
  }
  return {static_cast<float>(r[0]), static_cast<float>(r[1]), static_cast<float>(r[2])};
}

// The inverse of an affine frame (axis rows, origin row), in double precision.
inline Matrix16 AffineInverse(const Matrix16& m) {
  auto a = [&m](size_t r, size_t c) { return static_cast<double>(m[r * 4 + c]); };
  const double det = a(0, 0) * (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) -
                     a(0, 1) * (a(1, 0) * a(2, 2) - a(1, 2) * a(2, 0)) +
                     a(0, 2) * (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0));
  double inv[3][3];
  inv[0][0] = (a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1)) / det;
  inv[0][1] = (a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2)) / det;
  inv[0][2] = (a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1)) / det;
  inv[1][0] = (a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2)) / det;
  inv[1][1] = (a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0)) / det;
  inv[1][2] = (a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2)) / det;
  inv[2][0] = (a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0)) / det;
  inv[2][1] = (a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)) / det;
  inv[2][2] = (a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)) / det;
  Matrix16 out{};
  for (size_t r = 0; r < 3; ++r) {
    for (size_t c = 0; c < 3; ++c) out[r * 4 + c] = static_cast<float>(inv[r][c]);
  }
  for (size_t c = 0; c < 3; ++c) {
    double t = 0;
    for (size_t k = 0; k < 3; ++k) t -= a(3, k) * inv[k][c];
    out[12 + c] = static_cast<float>(t);
  }
  out[15] = 1.0f;
  return out;
}

inline void ExpectNear(const Point3& actual, const Point3& expected, float tolerance,
                       const std::string& what = "") {
  EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
  EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
  EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

inline void ExpectRow(const Matrix16& m, int row, Point3 expected, float tolerance = 1e-5f) {
  ExpectNear(Row(m, row), expected, tolerance, "row " + std::to_string(row));
}

// Which vertices some face uses: the ones the operations walk.
inline std::vector<bool> UsedVertices(const ObjectData& object) {
  std::vector<bool> used(object.vertices.size(), false);
  for (const auto& face : object.faces) {
    for (int32_t v : face) used[static_cast<size_t>(v)] = true;
  }
  return used;
}

// Checks that every vertex some face uses went from p to p · L⁻¹ · moved, and
// that every other vertex stayed where it was.
inline void ExpectVerticesCarried(const ObjectData& before, const ObjectData& after, const Matrix16& oldFrame,
                                  const Matrix16& moved, float tolerance = 1e-4f) {
  ASSERT_EQ(before.vertices.size(), after.vertices.size());
  const Matrix16 inverse = AffineInverse(oldFrame);
  const std::vector<bool> used = UsedVertices(before);
  for (size_t i = 0; i < before.vertices.size(); ++i) {
    const Point3 expected = used[i] ? Apply(Apply(before.vertices[i], inverse), moved) : before.vertices[i];
    ExpectNear(after.vertices[i], expected, tolerance, "vertex " + std::to_string(i));
  }
}

// The frame the vertices are carried into: scale and translation of `scaleAndOrigin`
// with the rotation of `rotation`, composed by the host.
inline Matrix16 Recomposed(const Matrix16& scaleAndOrigin, const Matrix16& rotation) {
  Point3 scale, angle, translation, unused;
  mqhost::DecomposeMatrix(scaleAndOrigin, &scale, &unused, &translation);
  mqhost::DecomposeMatrix(rotation, &unused, &angle, &unused);
  return mqhost::ComposeMatrix(scale, angle, translation);
}

// Vertices 0..5; vertex 4 is used by no face. Face 0 is a square 0-1-2-3,
// face 1 has no points, face 2 is the triangle 1-5-2, face 3 the single
// point 3 and face 4 the two points 0-5.
inline ObjectData MixedObject() {
  ObjectData object;
  object.name = "mixed";
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {9, 9, 9}, {2, 0, 0}};
  object.faces = {{0, 1, 2, 3}, {}, {1, 5, 2}, {3}, {0, 5}};
  return object;
}

class GeometryScene : public host_testing::DocumentTest {
 protected:
  // Adds the object and makes it current when it is the first one.
  int32_t Add(const ObjectData& object) {
    const int32_t index = mqhost::AddObject(document, object);
    if (mqhost::CurrentObjectIndex(document) < 0) mqhost::SetCurrentObjectIndex(document, index);
    return index;
  }
  // Object 0's frame and vertices are exactly `before`'s.
  void ExpectUnchanged(const ObjectData& before) {
    const ObjectData after = mqhost::GetObject(document, 0);
    EXPECT_EQ(after.frame, before.frame);
    for (size_t i = 0; i < before.vertices.size(); ++i)
      ExpectNear(after.vertices[i], before.vertices[i], 0, "vertex " + std::to_string(i));
  }
};

}  // namespace geometry_test
