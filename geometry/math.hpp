// Value types and arithmetic of points, directions and frames.
//
// Float3 is a point or a direction: x, y, z in that order, 12 bytes, the layout
// every host call that takes or returns a point uses.
//
// MQMatrix is a 4x4 single-precision matrix stored row-major: m[k] is the
// element in row k / 4 and column k % 4. Points are row vectors on the left:
// p maps to (p.x, p.y, p.z, 1) · M. For an object's local frame the rows hold
//   row 0 (m0, m1, m2)    the X axis,
//   row 1 (m4, m5, m6)    the Y axis,
//   row 2 (m8, m9, m10)   the Z axis,
//   row 3 (m12, m13, m14) the origin,
// each in the space of the object's vertex positions; m3, m7, m11 and m15 form
// the homogeneous column, which the plug-in passes through as it was read.
//
// Everything here is single precision, works on stack values and never
// allocates. Products are named functions so that the order is always written.
#pragma once

#include <cmath>

struct Float3 {
  float x, y, z;
};

struct MQMatrix {
  float m[16];
};

static_assert(sizeof(Float3) == 12, "a point is three packed floats in host calls");
static_assert(sizeof(MQMatrix) == 64, "a matrix is sixteen packed floats in host calls");

inline Float3 operator+(const Float3& a, const Float3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Float3 operator-(const Float3& a, const Float3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Float3 operator-(const Float3& a) { return {-a.x, -a.y, -a.z}; }
inline Float3 operator*(const Float3& a, float s) { return {a.x * s, a.y * s, a.z * s}; }
inline Float3 operator*(float s, const Float3& a) { return a * s; }

// a × b, right-handed.
inline Float3 Cross(const Float3& a, const Float3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline float Dot(const Float3& a, const Float3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Halfway between a and b, and finite whenever both are. Where a + b is finite
// this is (a + b) · 0.5 bit for bit; only where the sum overflows are the
// halves added instead. (Halving first everywhere would differ for subnormal
// values, where a half is rounded: 3·2^-149 twice gives 4·2^-149 that way.)
inline float Midpoint(float a, float b) {
  const float sum = a + b;
  return std::isfinite(sum) ? sum * 0.5f : a * 0.5f + b * 0.5f;
}
inline Float3 Midpoint(const Float3& a, const Float3& b) {
  return {Midpoint(a.x, b.x), Midpoint(a.y, b.y), Midpoint(a.z, b.z)};
}

inline bool IsFinite(const Float3& v) {
  return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Scales `v` to unit length in place. A vector whose length is not greater
// than 0 (zero, or not a number) becomes (0, 0, 0); there is no other threshold.
inline void Normalize(Float3& v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length > 0.0f) {
    v.x /= length;
    v.y /= length;
    v.z /= length;
  } else {
    v = {0.0f, 0.0f, 0.0f};
  }
}

inline constexpr MQMatrix IdentityMatrix() {
  return {{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}};
}

// The full 4x4 product A · B. With row vectors, p · (A · B) applies A first.
inline MQMatrix MatrixProduct(const MQMatrix& a, const MQMatrix& b) {
  MQMatrix result{};
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[row * 4 + k] * b.m[k * 4 + column];
      result.m[row * 4 + column] = sum;
    }
  }
  return result;
}

// p · M for the point (p, 1). The homogeneous column is ignored: no division by w.
inline Float3 TransformPoint(const Float3& p, const MQMatrix& m) {
  return {p.x * m.m[0] + p.y * m.m[4] + p.z * m.m[8] + m.m[12],
          p.x * m.m[1] + p.y * m.m[5] + p.z * m.m[9] + m.m[13],
          p.x * m.m[2] + p.y * m.m[6] + p.z * m.m[10] + m.m[14]};
}

// True when all sixteen elements are finite: the only frames written.
inline bool IsFinite(const MQMatrix& m) {
  for (const float value : m.m) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

// Rows 0 to 3 of a frame: the X, Y, Z axes and the origin. Only the first three
// elements of a row are read or written; the homogeneous column stays.
inline Float3 MatrixRow(const MQMatrix& m, int row) {
  return {m.m[row * 4 + 0], m.m[row * 4 + 1], m.m[row * 4 + 2]};
}
inline void SetMatrixRow(MQMatrix& m, int row, const Float3& v) {
  m.m[row * 4 + 0] = v.x;
  m.m[row * 4 + 1] = v.y;
  m.m[row * 4 + 2] = v.z;
}
