// The protocol floor: the host calls of each case, written out as plain loops.
#include <limits>

#include "bench/floors.hpp"
#include "binding/host_api.hpp"

namespace bench {

namespace {

using tervolin::HostApi;

struct Target {
  DocumentHandle document;
  ObjectHandle object;
};

// The current object, as the plug-in's caller wraps it: two calls.
Target Current(DocumentHandle document) {
  const int32_t index = HostApi().MQDoc_GetCurrentObjectIndex(document);
  return {document, HostApi().MQDoc_GetObject(document, index)};
}

// The live-vertex walk: the count is asked at every step and at every end
// test, the reference count of every index. `visit` returns true to stop.
template <class Visit>
void WalkVertices(ObjectHandle object, Visit&& visit) {
  auto& host = HostApi();
  int32_t i = 0;
  if (host.MQObj_GetVertexCount(object) >= 1) {
    while (i < host.MQObj_GetVertexCount(object) && host.MQObj_GetVertexRefCount(object, i) <= 0) ++i;
  }
  while (i != host.MQObj_GetVertexCount(object)) {
    if (visit(i)) return;
    ++i;
    while (i >= 0 && i < host.MQObj_GetVertexCount(object) && host.MQObj_GetVertexRefCount(object, i) < 1)
      ++i;
  }
}

template <class Visit>
void WalkFaces(ObjectHandle object, Visit&& visit) {
  auto& host = HostApi();
  int32_t i = 0;
  if (host.MQObj_GetFaceCount(object) >= 1) {
    while (i < host.MQObj_GetFaceCount(object) && host.MQObj_GetFacePointCount(object, i) <= 0) ++i;
  }
  while (i != host.MQObj_GetFaceCount(object)) {
    if (visit(i)) return;
    ++i;
    while (i >= 0 && i < host.MQObj_GetFaceCount(object) && host.MQObj_GetFacePointCount(object, i) < 1) ++i;
  }
}

Float3 GetVertex(ObjectHandle object, int32_t i) {
  Float3 p{0.0f, 0.0f, 0.0f};
  HostApi().MQObj_GetVertex(object, i, &p.x);
  return p;
}

bool VertexSelected(const Target& t, int32_t i) {
  return HostApi().MQDoc_IsSelectVertex(t.document, HostApi().MQDoc_GetObjectIndex(t.document, t.object),
                                        i) != 0;
}

MQMatrix ReadArray16(ObjectHandle object, int id) {
  MQMatrix m = IdentityMatrix();
  HostApi().MQObj_GetFloatArray(object, id, m.m);
  return m;
}

Float3 MatrixValue(const MQMatrix& matrix, int id) {
  MQMatrix scratch = matrix;
  Float3 value{0.0f, 0.0f, 0.0f};
  HostApi().MQMatrix_FloatValue(scratch.m, id, &value.x);
  return value;
}

// The frame-change compensation: old frame and inverse, the host's
// decomposition and composition, then every live vertex through the motion.
void MoveWithFrame(ObjectHandle object, MQMatrix newFrame, bool mirror) {
  auto& host = HostApi();
  const MQMatrix inverse = ReadArray16(object, mq::kLocalInverseMatrix);
  const MQMatrix frame = ReadArray16(object, mq::kLocalMatrix);
  const Float3 scale = MatrixValue(mirror ? newFrame : frame, mq::kMatrixScale);
  const Float3 rotation = MatrixValue(newFrame, mq::kMatrixRotation);
  const Float3 translation = MatrixValue(mirror ? newFrame : frame, mq::kMatrixTranslation);
  float parts[9] = {scale.x,    scale.y,       scale.z,       rotation.x,   rotation.y,
                    rotation.z, translation.x, translation.y, translation.z};
  host.MQMatrix_FloatValue(newFrame.m, mq::kMatrixCompose, parts);
  const MQMatrix motion = MatrixProduct(inverse, newFrame);
  WalkVertices(object, [&](int32_t i) {
    const Float3 p = TransformPoint(GetVertex(object, i), motion);
    host.MQObj_SetVertex(object, i, &p.x);
    return false;
  });
}

// Writes a changed frame, moving the vertices first when asked: the calls of
// the plug-in's frame writers, including its check that the frame inverts.
void WriteFrame(ObjectHandle object, const MQMatrix& frame, bool transform, bool mirror) {
  if (transform) {
    ReadArray16(object, mq::kLocalMatrix);
    ReadArray16(object, mq::kLocalInverseMatrix);
    MoveWithFrame(object, frame, mirror);
  }
  HostApi().MQObj_SetFloatArray(object, mq::kLocalMatrix, frame.m);
}

int32_t ApplyDirection(ObjectHandle object, Float3 direction, bool transform) {
  MQMatrix frame{};
  if (!FrameWithYAlong(ReadArray16(object, mq::kLocalMatrix), direction, &frame)) return 0;
  WriteFrame(object, frame, transform, false);
  return 1;
}

}  // namespace

bool FrameWithYAlong(const MQMatrix& frame, Float3 direction, MQMatrix* result) {
  Float3 z = Cross(MatrixRow(frame, 0), direction);
  Float3 x = Cross(direction, z);
  Normalize(x);
  Normalize(direction);
  Normalize(z);
  if (!(Dot(x, x) > 0.0f) || !(Dot(direction, direction) > 0.0f) || !(Dot(z, z) > 0.0f)) return false;
  *result = frame;
  SetMatrixRow(*result, 0, x);
  SetMatrixRow(*result, 1, direction);
  SetMatrixRow(*result, 2, z);
  return true;
}

int32_t ProtocolCentre(DocumentHandle document, bool selectedOnly, bool transform) {
  auto& host = HostApi();
  const Target t = Current(document);
  if (host.MQDoc_GetObjectIndex(t.document, t.object) < 0) return 0;
  constexpr float kLargest = std::numeric_limits<float>::max();
  Float3 low{kLargest, kLargest, kLargest};
  Float3 high{-kLargest, -kLargest, -kLargest};
  WalkVertices(t.object, [&](int32_t i) {
    const Float3 p = GetVertex(t.object, i);
    if (selectedOnly && !VertexSelected(t, i)) return false;
    if (p.x < low.x) low.x = p.x;
    if (p.y < low.y) low.y = p.y;
    if (p.z < low.z) low.z = p.z;
    if (p.x > high.x) high.x = p.x;
    if (p.y > high.y) high.y = p.y;
    if (p.z > high.z) high.z = p.z;
    return false;
  });
  const Float3 centre = (high + low) * 0.5f;
  if (transform) {
    Float3 origin{0.0f, 0.0f, 0.0f};
    host.MQObj_GetFloatArray(t.object, mq::kLocalTranslation, &origin.x);
    const Float3 delta = centre - origin;
    WalkVertices(t.object, [&](int32_t i) {
      const Float3 p = GetVertex(t.object, i) + delta;
      host.MQObj_SetVertex(t.object, i, &p.x);
      return false;
    });
  }
  host.MQObj_SetFloatArray(t.object, mq::kLocalTranslation, &centre.x);
  return 1;
}

int32_t ProtocolLine(DocumentHandle document, bool transform) {
  auto& host = HostApi();
  const Target t = Current(document);
  if (host.MQDoc_GetObjectIndex(t.document, t.object) < 0) return 0;
  int found = 0;
  Float3 first{};
  Float3 direction{};
  WalkVertices(t.object, [&](int32_t i) {
    const Float3 p = GetVertex(t.object, i);
    if (!VertexSelected(t, i)) return false;
    if (found++ == 0) {
      first = p;
      return false;
    }
    direction = first - p;
    return true;
  });
  if (found >= 2) return ApplyDirection(t.object, direction, transform);

  bool haveLine = false;
  WalkFaces(t.object, [&](int32_t f) {
    const int32_t count = host.MQObj_GetFacePointCount(t.object, f);
    for (int32_t k = 0; k < count; ++k) {
      if (host.MQDoc_IsSelectLine(t.document, host.MQDoc_GetObjectIndex(t.document, t.object), f, k) == 0)
        continue;
      int32_t points[8] = {};
      host.MQObj_GetFacePointCount(t.object, f);
      host.MQObj_GetFacePointArray(t.object, f, points);
      const int32_t start = points[k];
      const int32_t end = points[k == count - 1 ? 0 : k + 1];
      direction = GetVertex(t.object, end) - GetVertex(t.object, start);
      haveLine = true;
      return true;
    }
    return false;
  });
  return haveLine ? ApplyDirection(t.object, direction, transform) : 0;
}

int32_t ProtocolFaceNormal(DocumentHandle document, bool transform) {
  auto& host = HostApi();
  const Target t = Current(document);
  if (host.MQDoc_GetObjectIndex(t.document, t.object) < 0) return 0;
  bool haveFace = false;
  Float3 direction{};
  WalkFaces(t.object, [&](int32_t f) {
    if (host.MQDoc_IsSelectFace(t.document, host.MQDoc_GetObjectIndex(t.document, t.object), f) == 0)
      return false;
    int32_t points[8] = {};
    const int32_t count = host.MQObj_GetFacePointCount(t.object, f);
    host.MQObj_GetFacePointArray(t.object, f, points);
    const Float3 p0 = GetVertex(t.object, points[0]);
    const Float3 p1 = GetVertex(t.object, points[1]);
    const Float3 last = GetVertex(t.object, points[count - 1]);
    const Float3 w = GetVertex(t.object, points[2]) - p1;
    direction = Cross(p1 - p0, ((p0 - last) - w) * 0.5f);
    haveFace = true;
    return true;
  });
  if (haveFace) return ApplyDirection(t.object, direction, transform);

  Float3 p[3] = {};
  int found = 0;
  WalkVertices(t.object, [&](int32_t i) {
    const Float3 position = GetVertex(t.object, i);
    if (!VertexSelected(t, i)) return false;
    p[found++] = position;
    return found == 3;
  });
  if (found < 3) return 0;
  return ApplyDirection(t.object, Cross(p[1] - p[0], p[2] - p[0]), transform);
}

int32_t ProtocolVertex(DocumentHandle document, bool transform) {
  auto& host = HostApi();
  const Target t = Current(document);
  if (host.MQDoc_GetObjectIndex(t.document, t.object) < 0) return 0;
  bool have = false;
  Float3 position{};
  WalkVertices(t.object, [&](int32_t i) {
    position = GetVertex(t.object, i);
    have = VertexSelected(t, i);
    return have;
  });
  if (!have) return 0;
  Float3 origin{0.0f, 0.0f, 0.0f};
  host.MQObj_GetFloatArray(t.object, mq::kLocalTranslation, &origin.x);
  return ApplyDirection(t.object, position - origin, transform);
}

int32_t ProtocolRotateX(DocumentHandle document) {
  const Target t = Current(document);
  MQMatrix frame = ReadArray16(t.object, mq::kLocalMatrix);
  const Float3 y = MatrixRow(frame, 1);
  SetMatrixRow(frame, 1, MatrixRow(frame, 2));
  SetMatrixRow(frame, 2, -y);
  WriteFrame(t.object, frame, true, false);
  return 1;
}

int32_t ProtocolMirrorX(DocumentHandle document) {
  const Target t = Current(document);
  MQMatrix frame = ReadArray16(t.object, mq::kLocalMatrix);
  frame.m[0] = -frame.m[0];
  frame.m[4] = -frame.m[4];
  frame.m[8] = -frame.m[8];
  WriteFrame(t.object, frame, true, true);
  return 1;
}

int32_t ProtocolClear(DocumentHandle document) {
  const Target t = Current(document);
  if (HostApi().MQDoc_GetObjectIndex(t.document, t.object) < 0) return 0;
  const MQMatrix identity = IdentityMatrix();
  MoveWithFrame(t.object, identity, true);
  HostApi().MQObj_SetFloatArray(t.object, mq::kLocalMatrix, identity.m);
  return 1;
}

int32_t ProtocolCopyToSelected(DocumentHandle document) {
  auto& host = HostApi();
  const Target source = Current(document);
  if (host.MQDoc_GetObjectIndex(source.document, source.object) < 0) return 0;
  const MQMatrix sourceFrame = ReadArray16(source.object, mq::kLocalMatrix);
  for (int32_t index = 0; index < host.MQDoc_GetObjectCount(document); ++index) {
    ObjectHandle object = host.MQDoc_GetObject(document, index);
    if (object == nullptr || host.MQDoc_GetObjectIndex(document, object) < 0 || object == source.object)
      continue;
    if (host.MQObj_GetIntValue(object, mq::kObjectSelected) == 0) continue;
    ReadArray16(object, mq::kLocalMatrix);
    // Scale, rotation and translation all from the source.
    const Float3 scale = MatrixValue(sourceFrame, mq::kMatrixScale);
    const Float3 rotation = MatrixValue(sourceFrame, mq::kMatrixRotation);
    const Float3 translation = MatrixValue(sourceFrame, mq::kMatrixTranslation);
    float parts[9] = {scale.x,    scale.y,       scale.z,       rotation.x,   rotation.y,
                      rotation.z, translation.x, translation.y, translation.z};
    MQMatrix next = sourceFrame;
    host.MQMatrix_FloatValue(next.m, mq::kMatrixCompose, parts);
    MoveWithFrame(object, next, true);
    host.MQObj_SetFloatArray(object, mq::kLocalMatrix, next.m);
  }
  return 1;
}

}  // namespace bench
