// The array floor: each case's arithmetic on plain arrays.
#include <limits>

#include "bench/floors.hpp"

namespace bench {

namespace {

// The inverse of an affine frame (three axis rows and an origin row).
MQMatrix AffineInverse(const MQMatrix& f) {
  const float* m = f.m;
  const float det = m[0] * (m[5] * m[10] - m[6] * m[9]) - m[1] * (m[4] * m[10] - m[6] * m[8]) +
                    m[2] * (m[4] * m[9] - m[5] * m[8]);
  const float s = 1.0f / det;
  MQMatrix r = IdentityMatrix();
  r.m[0] = (m[5] * m[10] - m[6] * m[9]) * s;
  r.m[1] = (m[2] * m[9] - m[1] * m[10]) * s;
  r.m[2] = (m[1] * m[6] - m[2] * m[5]) * s;
  r.m[4] = (m[6] * m[8] - m[4] * m[10]) * s;
  r.m[5] = (m[0] * m[10] - m[2] * m[8]) * s;
  r.m[6] = (m[2] * m[4] - m[0] * m[6]) * s;
  r.m[8] = (m[4] * m[9] - m[5] * m[8]) * s;
  r.m[9] = (m[1] * m[8] - m[0] * m[9]) * s;
  r.m[10] = (m[0] * m[5] - m[1] * m[4]) * s;
  for (int c = 0; c < 3; ++c) {
    r.m[12 + c] = -(m[12] * r.m[c] + m[13] * r.m[4 + c] + m[14] * r.m[8 + c]);
  }
  return r;
}

// Every live vertex from the old frame into the new one. The new frame
// keeps the old origin unless `mirror` (then it is taken whole).
void MoveWithFrame(ArrayScene& s, const MQMatrix& newFrame, bool mirror) {
  MQMatrix target = newFrame;
  if (!mirror) SetMatrixRow(target, 3, MatrixRow(s.frame, 3));
  const MQMatrix motion = MatrixProduct(AffineInverse(s.frame), target);
  const size_t count = s.positions.size();
  for (size_t i = 0; i < count; ++i) {
    if (s.grid.refCounts[i] > 0) s.positions[i] = TransformPoint(s.positions[i], motion);
  }
}

int32_t ApplyDirection(ArrayScene& s, Float3 direction, bool transform) {
  MQMatrix frame{};
  if (!FrameWithYAlong(s.frame, direction, &frame)) return 0;
  if (transform) MoveWithFrame(s, frame, false);
  s.frame = frame;
  return 1;
}

// The first `wanted` selected live vertices, in one pass; answers how many
// there were (at most `wanted`).
int FirstSelectedVertices(const ArrayScene& s, int wanted, int32_t* found) {
  const auto count = static_cast<int32_t>(s.positions.size());
  int n = 0;
  for (int32_t i = 0; i < count && n < wanted; ++i) {
    if (s.grid.refCounts[static_cast<size_t>(i)] > 0 && s.selection.vertices[static_cast<size_t>(i)] != 0) {
      found[n++] = i;
    }
  }
  return n;
}

}  // namespace

int32_t ArrayCentre(ArrayScene s, bool selectedOnly, bool transform) {
  constexpr float kLargest = std::numeric_limits<float>::max();
  Float3 low{kLargest, kLargest, kLargest};
  Float3 high{-kLargest, -kLargest, -kLargest};
  const size_t count = s.positions.size();
  for (size_t i = 0; i < count; ++i) {
    if (s.grid.refCounts[i] <= 0 || (selectedOnly && s.selection.vertices[i] == 0)) continue;
    const Float3& p = s.positions[i];
    if (p.x < low.x) low.x = p.x;
    if (p.y < low.y) low.y = p.y;
    if (p.z < low.z) low.z = p.z;
    if (p.x > high.x) high.x = p.x;
    if (p.y > high.y) high.y = p.y;
    if (p.z > high.z) high.z = p.z;
  }
  const Float3 centre = (high + low) * 0.5f;
  if (transform) {
    const Float3 delta = centre - MatrixRow(s.frame, 3);
    for (size_t i = 0; i < count; ++i) {
      if (s.grid.refCounts[i] > 0) s.positions[i] = s.positions[i] + delta;
    }
  }
  SetMatrixRow(s.frame, 3, centre);
  return 1;
}

int32_t ArrayLine(ArrayScene s, bool transform) {
  int32_t pair[2] = {};
  if (FirstSelectedVertices(s, 2, pair) == 2) {
    return ApplyDirection(
        s, s.positions[static_cast<size_t>(pair[0])] - s.positions[static_cast<size_t>(pair[1])], transform);
  }
  const int32_t faces = s.grid.FaceCount();
  for (int32_t f = 0; f < faces; ++f) {
    const uint32_t begin = s.grid.faceStart[static_cast<size_t>(f)];
    const uint32_t end = s.grid.faceStart[static_cast<size_t>(f) + 1];
    for (uint32_t p = begin; p < end; ++p) {
      if (s.selection.lines[p] == 0) continue;
      const int32_t a = s.grid.facePoints[p];
      const int32_t b = s.grid.facePoints[p + 1 == end ? begin : p + 1];
      return ApplyDirection(s, s.positions[static_cast<size_t>(b)] - s.positions[static_cast<size_t>(a)],
                            transform);
    }
  }
  return 0;
}

int32_t ArrayFaceNormal(ArrayScene s, bool transform) {
  const int32_t faces = s.grid.FaceCount();
  for (int32_t f = 0; f < faces; ++f) {
    const uint32_t begin = s.grid.faceStart[static_cast<size_t>(f)];
    const uint32_t end = s.grid.faceStart[static_cast<size_t>(f) + 1];
    if (begin == end || s.selection.faces[static_cast<size_t>(f)] == 0) continue;
    auto at = [&](uint32_t k) { return s.positions[static_cast<size_t>(s.grid.facePoints[k])]; };
    const Float3 p0 = at(begin);
    const Float3 p1 = at(begin + 1);
    const Float3 w = at(begin + 2) - p1;
    return ApplyDirection(s, Cross(p1 - p0, ((p0 - at(end - 1)) - w) * 0.5f), transform);
  }
  int32_t picked[3] = {};
  if (FirstSelectedVertices(s, 3, picked) < 3) return 0;
  const Float3 p0 = s.positions[static_cast<size_t>(picked[0])];
  return ApplyDirection(s,
                        Cross(s.positions[static_cast<size_t>(picked[1])] - p0,
                              s.positions[static_cast<size_t>(picked[2])] - p0),
                        transform);
}

int32_t ArrayVertex(ArrayScene s, bool transform) {
  int32_t i = 0;
  if (FirstSelectedVertices(s, 1, &i) < 1) return 0;
  return ApplyDirection(s, s.positions[static_cast<size_t>(i)] - MatrixRow(s.frame, 3), transform);
}

int32_t ArrayRotateX(ArrayScene s) {
  MQMatrix frame = s.frame;
  const Float3 y = MatrixRow(frame, 1);
  SetMatrixRow(frame, 1, MatrixRow(frame, 2));
  SetMatrixRow(frame, 2, -y);
  MoveWithFrame(s, frame, false);
  s.frame = frame;
  return 1;
}

int32_t ArrayMirrorX(ArrayScene s) {
  MQMatrix frame = s.frame;
  frame.m[0] = -frame.m[0];
  frame.m[4] = -frame.m[4];
  frame.m[8] = -frame.m[8];
  MoveWithFrame(s, frame, true);
  s.frame = frame;
  return 1;
}

int32_t ArrayClear(ArrayScene s) {
  const MQMatrix identity = IdentityMatrix();
  MoveWithFrame(s, identity, true);
  s.frame = identity;
  return 1;
}

int32_t ArrayCopyToSelected(const GridArrays& grid, const MQMatrix& source,
                            std::vector<std::vector<Float3>>& targets, std::vector<MQMatrix>& frames) {
  for (size_t t = 0; t < targets.size(); ++t) {
    const MQMatrix motion = MatrixProduct(AffineInverse(frames[t]), source);
    std::vector<Float3>& positions = targets[t];
    for (size_t i = 0; i < positions.size(); ++i) {
      if (grid.refCounts[i] > 0) positions[i] = TransformPoint(positions[i], motion);
    }
    frames[t] = source;
  }
  return 1;
}

}  // namespace bench
