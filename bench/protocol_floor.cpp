// The protocol floors, the host calls of each case written out as plain loops,
// in two sets (floors.hpp): Calls::PlugIn, the plug-in's own calls, and
// Calls::Fewest, which leaves out the reads the plug-in repeats. The walks
// hold the host functions they call in locals, so that a floor pays for the
// host's answers and little else.
#include <limits>
#include <utility>
#include <vector>

#include "bench/floors.hpp"
#include "binding/host_api.hpp"

namespace bench {

namespace {

using tervolin::HostApi;

// The current object, as the plug-in's caller wraps it: two calls.
struct Target {
  DocumentHandle document;
  ObjectHandle object;
};
Target Current(DocumentHandle document) {
  const int32_t index = HostApi().MQDoc_GetCurrentObjectIndex(document);
  return {document, HostApi().MQDoc_GetObject(document, index)};
}

int32_t IndexOf(const Target& t) { return HostApi().MQDoc_GetObjectIndex(t.document, t.object); }

Float3 GetVertex(ObjectHandle object, int32_t i) {
  Float3 p{0.0f, 0.0f, 0.0f};
  HostApi().MQObj_GetVertex(object, i, &p.x);
  return p;
}

// The next selected live vertex after `i`, or -1: the selection first.
int32_t NextSelected(const Target& t, int32_t index, int32_t count, int32_t i) {
  auto* const isSelected = HostApi().MQDoc_IsSelectVertex;
  auto* const refCount = HostApi().MQObj_GetVertexRefCount;
  for (++i; i < count; ++i) {
    if (isSelected(t.document, index, i) != 0 && refCount(t.object, i) > 0) return i;
  }
  return -1;
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

// The host's rebuild of `target` from three sources: four calls.
void Rebuild(MQMatrix& target, const MQMatrix& scaleFrom, const MQMatrix& rotationFrom,
             const MQMatrix& translationFrom) {
  const Float3 s = MatrixValue(scaleFrom, mq::kMatrixScale);
  const Float3 r = MatrixValue(rotationFrom, mq::kMatrixRotation);
  const Float3 t = MatrixValue(translationFrom, mq::kMatrixTranslation);
  float parts[9] = {s.x, s.y, s.z, r.x, r.y, r.z, t.x, t.y, t.z};
  HostApi().MQMatrix_FloatValue(target.m, mq::kMatrixCompose, parts);
}

// New places for the vertices, all read and computed before the first is
// written, as the plug-in must: a move that would leave the float range is
// refused whole, so no write may come before the last read.
using PlannedMoves = std::vector<std::pair<int32_t, Float3>>;

template <typename Move>
bool PlanLiveVertices(ObjectHandle object, int32_t count, Move move, PlannedMoves& planned) {
  auto* const refCount = HostApi().MQObj_GetVertexRefCount;
  auto* const getVertex = HostApi().MQObj_GetVertex;
  planned.clear();
  planned.reserve(static_cast<size_t>(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i) {
    if (refCount(object, i) <= 0) continue;
    Float3 read{0.0f, 0.0f, 0.0f};
    getVertex(object, i, &read.x);
    const Float3 p = move(read);
    if (!IsFinite(p)) return false;
    planned.emplace_back(i, p);
  }
  return true;
}

void WriteVertices(ObjectHandle object, const PlannedMoves& planned) {
  auto* const setVertex = HostApi().MQObj_SetVertex;
  for (const auto& [i, p] : planned) setVertex(object, i, &p.x);
}

// Every live vertex through `motion`: three calls each. The plug-in's walk
// asks for the count itself; the fewest calls reuse one the case has.
bool PlanVertices(ObjectHandle object, const MQMatrix& motion, Calls calls, int32_t count,
                  PlannedMoves& planned) {
  if (calls == Calls::PlugIn || count < 0) count = HostApi().MQObj_GetVertexCount(object);
  return PlanLiveVertices(
      object, count, [&motion](const Float3& p) { return TransformPoint(p, motion); }, planned);
}

// A frame change: the old frame read once, its inverse when the vertices
// move, the host's rebuild of the new frame, the vertices, the write.
int32_t WriteFrame(ObjectHandle object, const MQMatrix& oldFrame, const MQMatrix& frame, bool transform,
                   bool mirror, Calls calls, int32_t count) {
  if (transform) {
    const MQMatrix inverse = ReadArray16(object, mq::kLocalInverseMatrix);
    MQMatrix scratch = frame;
    if (mirror) {
      Rebuild(scratch, scratch, scratch, scratch);
    } else {
      Rebuild(scratch, oldFrame, scratch, oldFrame);
    }
    PlannedMoves planned;
    if (!PlanVertices(object, MatrixProduct(inverse, scratch), calls, count, planned)) return 0;
    WriteVertices(object, planned);
  }
  HostApi().MQObj_SetFloatArray(object, mq::kLocalMatrix, frame.m);
  return 1;
}

int32_t ApplyDirection(ObjectHandle object, Float3 direction, bool transform, Calls calls, int32_t count) {
  const MQMatrix oldFrame = ReadArray16(object, mq::kLocalMatrix);
  MQMatrix frame{};
  if (!FrameWithYAlong(oldFrame, direction, &frame)) return 0;
  return WriteFrame(object, oldFrame, frame, transform, false, calls, count);
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

int32_t ProtocolCentre(DocumentHandle document, bool selectedOnly, bool transform, Calls calls) {
  auto& host = HostApi();
  const Target t = Current(document);
  // The fewest calls ask for the index only where a selection test needs it.
  const int32_t index = calls == Calls::PlugIn || selectedOnly ? IndexOf(t) : 0;
  if (index < 0) return 0;
  const int32_t count = host.MQObj_GetVertexCount(t.object);
  constexpr float kLargest = std::numeric_limits<float>::max();
  Float3 low{kLargest, kLargest, kLargest};
  Float3 high{-kLargest, -kLargest, -kLargest};
  auto* const getVertex = host.MQObj_GetVertex;
  auto include = [&](int32_t i) {
    Float3 p{0.0f, 0.0f, 0.0f};
    getVertex(t.object, i, &p.x);
    if (p.x < low.x) low.x = p.x;
    if (p.y < low.y) low.y = p.y;
    if (p.z < low.z) low.z = p.z;
    if (p.x > high.x) high.x = p.x;
    if (p.y > high.y) high.y = p.y;
    if (p.z > high.z) high.z = p.z;
  };
  if (selectedOnly) {
    for (int32_t i = NextSelected(t, index, count, -1); i >= 0; i = NextSelected(t, index, count, i))
      include(i);
  } else {
    auto* const refCount = host.MQObj_GetVertexRefCount;
    for (int32_t i = 0; i < count; ++i) {
      if (refCount(t.object, i) > 0) include(i);
    }
  }
  const Float3 centre = (high + low) * 0.5f;
  if (transform) {
    Float3 origin{0.0f, 0.0f, 0.0f};
    host.MQObj_GetFloatArray(t.object, mq::kLocalTranslation, &origin.x);
    const Float3 delta = centre - origin;
    const int32_t moved = calls == Calls::PlugIn ? host.MQObj_GetVertexCount(t.object) : count;
    PlannedMoves planned;
    if (!PlanLiveVertices(
            t.object, moved, [&delta](const Float3& p) { return p + delta; }, planned))
      return 0;
    WriteVertices(t.object, planned);
  }
  host.MQObj_SetFloatArray(t.object, mq::kLocalTranslation, &centre.x);
  return 1;
}

int32_t ProtocolLine(DocumentHandle document, bool transform, Calls calls) {
  auto& host = HostApi();
  const Target t = Current(document);
  const int32_t index = IndexOf(t);
  if (index < 0) return 0;
  const int32_t count = host.MQObj_GetVertexCount(t.object);
  const int32_t first = NextSelected(t, index, count, -1);
  const int32_t second = first < 0 ? -1 : NextSelected(t, index, count, first);
  if (second >= 0) {
    return ApplyDirection(t.object, GetVertex(t.object, first) - GetVertex(t.object, second), transform,
                          calls, count);
  }
  const int32_t faces = host.MQObj_GetFaceCount(t.object);
  auto* const pointCount = host.MQObj_GetFacePointCount;
  auto* const isSelected = host.MQDoc_IsSelectLine;
  for (int32_t f = 0; f < faces; ++f) {
    const int32_t points = pointCount(t.object, f);
    for (int32_t k = 0; k < points; ++k) {
      if (isSelected(t.document, index, f, k) == 0) continue;
      int32_t face[8] = {};
      host.MQObj_GetFacePointArray(t.object, f, face);
      const Float3 direction =
          GetVertex(t.object, face[k == points - 1 ? 0 : k + 1]) - GetVertex(t.object, face[k]);
      return ApplyDirection(t.object, direction, transform, calls, count);
    }
  }
  return 0;
}

int32_t ProtocolFaceNormal(DocumentHandle document, bool transform, Calls calls) {
  auto& host = HostApi();
  const Target t = Current(document);
  const int32_t index = IndexOf(t);
  if (index < 0) return 0;
  // The fewest calls read the vertex count only for a walk that needs it.
  const int32_t faces = host.MQObj_GetFaceCount(t.object);
  auto* const isSelected = host.MQDoc_IsSelectFace;
  for (int32_t f = 0; f < faces; ++f) {
    if (isSelected(t.document, index, f) == 0) continue;
    const int32_t points = host.MQObj_GetFacePointCount(t.object, f);
    if (points < 1) continue;
    if (calls == Calls::PlugIn) host.MQObj_GetFacePointCount(t.object, f);
    int32_t face[8] = {};
    host.MQObj_GetFacePointArray(t.object, f, face);
    const Float3 p0 = GetVertex(t.object, face[0]);
    const Float3 p1 = GetVertex(t.object, face[1]);
    const Float3 last = GetVertex(t.object, face[points - 1]);
    const Float3 w = GetVertex(t.object, face[2]) - p1;
    return ApplyDirection(t.object, Cross(p1 - p0, ((p0 - last) - w) * 0.5f), transform, calls, -1);
  }
  const int32_t count = host.MQObj_GetVertexCount(t.object);
  int32_t found[3] = {-1, -1, -1};
  for (int k = 0; k < 3; ++k) {
    found[k] = NextSelected(t, index, count, k == 0 ? -1 : found[k - 1]);
    if (found[k] < 0) return 0;
  }
  const Float3 p0 = GetVertex(t.object, found[0]);
  const Float3 p1 = GetVertex(t.object, found[1]);
  const Float3 p2 = GetVertex(t.object, found[2]);
  return ApplyDirection(t.object, Cross(p1 - p0, p2 - p0), transform, calls, count);
}

int32_t ProtocolVertex(DocumentHandle document, bool transform, Calls calls) {
  auto& host = HostApi();
  const Target t = Current(document);
  const int32_t index = IndexOf(t);
  if (index < 0) return 0;
  const int32_t count = host.MQObj_GetVertexCount(t.object);
  const int32_t i = NextSelected(t, index, count, -1);
  if (i < 0) return 0;
  const Float3 position = GetVertex(t.object, i);
  Float3 origin{0.0f, 0.0f, 0.0f};
  host.MQObj_GetFloatArray(t.object, mq::kLocalTranslation, &origin.x);
  return ApplyDirection(t.object, position - origin, transform, calls, count);
}

int32_t ProtocolRotateX(DocumentHandle document, Calls calls) {
  const Target t = Current(document);
  const MQMatrix oldFrame = ReadArray16(t.object, mq::kLocalMatrix);
  MQMatrix frame = oldFrame;
  SetMatrixRow(frame, 1, MatrixRow(oldFrame, 2));
  SetMatrixRow(frame, 2, -MatrixRow(oldFrame, 1));
  return WriteFrame(t.object, oldFrame, frame, true, false, calls, -1);
}

int32_t ProtocolMirrorX(DocumentHandle document, Calls calls) {
  const Target t = Current(document);
  const MQMatrix oldFrame = ReadArray16(t.object, mq::kLocalMatrix);
  MQMatrix frame = oldFrame;
  frame.m[0] = -frame.m[0];
  frame.m[4] = -frame.m[4];
  frame.m[8] = -frame.m[8];
  return WriteFrame(t.object, oldFrame, frame, true, true, calls, -1);
}

int32_t ProtocolClear(DocumentHandle document, Calls calls) {
  const Target t = Current(document);
  // The plug-in checks the reference and reads the frame whose inverse
  // carries the vertices; with no selection to test, the fewest calls need
  // neither.
  if (calls == Calls::PlugIn) {
    if (IndexOf(t) < 0) return 0;
    ReadArray16(t.object, mq::kLocalInverseMatrix);
  }
  return WriteFrame(t.object, IdentityMatrix(), IdentityMatrix(), true, true, calls, -1);
}

int32_t ProtocolCopyToSelected(DocumentHandle document, Calls calls) {
  auto& host = HostApi();
  const Target source = Current(document);
  if (IndexOf(source) < 0) return 0;
  const MQMatrix sourceFrame = ReadArray16(source.object, mq::kLocalMatrix);
  // Every target is planned before any is written: one target carried out of
  // the float range stops the whole copy.
  struct Planned {
    ObjectHandle object;
    MQMatrix frame;
    PlannedMoves moves;
  };
  std::vector<Planned> targets;
  const int32_t objects = host.MQDoc_GetObjectCount(document);
  for (int32_t index = 0; index < objects; ++index) {
    ObjectHandle object = host.MQDoc_GetObject(document, index);
    if (object == nullptr || object == source.object) continue;
    if (host.MQObj_GetIntValue(object, mq::kObjectSelected) == 0) continue;
    // A target the host says is not in the document is skipped.
    if (host.MQDoc_GetObjectIndex(document, object) < 0) continue;
    const MQMatrix own = ReadArray16(object, mq::kLocalMatrix);
    // Scale, rotation and translation all from the source.
    MQMatrix next = own;
    Rebuild(next, sourceFrame, sourceFrame, sourceFrame);
    const MQMatrix inverse = ReadArray16(object, mq::kLocalInverseMatrix);
    MQMatrix scratch = next;
    // The plug-in rebuilds the copied frame once more before it moves the
    // vertices with it.
    if (calls == Calls::PlugIn) Rebuild(scratch, scratch, scratch, scratch);
    targets.push_back({object, next, {}});
    if (!PlanVertices(object, MatrixProduct(inverse, scratch), Calls::PlugIn, -1, targets.back().moves))
      return 0;
  }
  for (const Planned& target : targets) {
    WriteVertices(target.object, target.moves);
    host.MQObj_SetFloatArray(target.object, mq::kLocalMatrix, target.frame.m);
  }
  return 1;
}

}  // namespace bench
