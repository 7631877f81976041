#include "scene_gen.hpp"

#include <cmath>
#include <limits>

#include "mqhost/matrix_values.hpp"

namespace validator {

namespace {

void Note(std::string* notes, const char* word) {
  if (notes->find(word) == std::string::npos) *notes += (notes->empty() ? "" : ",") + std::string(word);
}

// Within a factor of 34 of the largest float, either sign; sometimes the
// largest itself.
float NearLimit(Rng& rng) {
  const float magnitude =
      rng.Percent(10) ? std::numeric_limits<float>::max() : static_cast<float>(rng.Real(1e37, 3.4028234e38));
  return rng.Percent(50) ? -magnitude : magnitude;
}

float Coordinate(Rng& rng, int kind) {
  switch (kind) {
    case 4: return NearLimit(rng);
    case 0: return static_cast<float>(rng.Real(-1e30, 1e30));    // huge
    case 1: return static_cast<float>(rng.Real(-1e-30, 1e-30));  // tiny
    case 2: return static_cast<float>(rng.Between(-3, 3));       // small whole numbers
    default: return static_cast<float>(rng.Real(-10, 10));
  }
}

mqhost::Point3 Triple(Rng& rng, double from, double to) {
  return {static_cast<float>(rng.Real(from, to)), static_cast<float>(rng.Real(from, to)),
          static_cast<float>(rng.Real(from, to))};
}

}  // namespace

mqhost::Matrix16 RandomFrame(Rng& rng, std::string* notes, bool farOrigins) {
  const uint32_t kind = rng.Below(farOrigins ? 13 : 12);
  if (kind < 3) return mqhost::IdentityMatrix();
  mqhost::Point3 scale{1, 1, 1};
  if (kind >= 5) scale = Triple(rng, 0.2, 3);
  if (kind == 7) {
    Note(notes, "mirror");
    (rng.Percent(50) ? scale.x : rng.Percent(50) ? scale.y : scale.z) *= -1;
  }
  if (kind == 10) {
    Note(notes, "limit-scale");  // axes up to the largest float long, or as short as 1e-37
    for (float* component : {&scale.x, &scale.y, &scale.z}) {
      if (rng.Percent(50))
        *component = std::fabs(NearLimit(rng));
      else if (rng.Percent(30))
        *component = static_cast<float>(rng.Real(1e-37, 1e-30));
    }
  }
  const mqhost::Point3 angle = Triple(rng, -180, 180);
  mqhost::Point3 translation = Triple(rng, -20, 20);
  if (kind == 11) {
    Note(notes, "limit-origin");
    for (float* component : {&translation.x, &translation.y, &translation.z}) {
      if (rng.Percent(60)) *component = NearLimit(rng);
    }
  }
  mqhost::Matrix16 frame = mqhost::ComposeMatrix(scale, angle, translation);
  if (kind == 8) {
    Note(notes, "singular");
    const int row = rng.Between(0, 2);
    if (rng.Percent(50)) {
      for (int c = 0; c < 3; ++c) frame[row * 4 + c] = 0;  // a zero axis
    } else {
      for (int c = 0; c < 3; ++c) frame[row * 4 + c] = frame[((row + 1) % 3) * 4 + c];  // two equal axes
    }
  }
  if (kind == 9) {
    Note(notes, "sheared");
    frame[4] += 0.5f;  // the Y axis leans towards X
  }
  if (kind == 12) {
    Note(notes, "far-origin");
    const double far = rng.Percent(50) ? 1e13 : 1e30;
    frame[12] = static_cast<float>(rng.Real(-far, far));
  }
  return frame;
}

DocumentHandle GenerateScene(Rng& rng, const SceneSpec& spec, std::string* notes) {
  const DocumentHandle document = mqhost::CreateDocument();
  const int slots = rng.Between(0, spec.maxObjects);
  std::vector<int32_t> live;
  for (int slot = 0; slot < slots; ++slot) {
    mqhost::ObjectData object;
    object.name = rng.Percent(10) ? std::string() : "obj" + std::to_string(rng.Below(4));
    const int vertexCount = rng.Percent(10) ? 0 : rng.Between(1, spec.maxVertices);
    if (vertexCount == 0) Note(notes, "empty");
    const int coordinateKind = rng.Percent(8)   ? 0
                               : rng.Percent(8) ? 1
                               : rng.Percent(8) ? 4
                                                : rng.Between(2, 3);
    if (coordinateKind == 0) Note(notes, "huge");
    if (coordinateKind == 1) Note(notes, "tiny");
    if (coordinateKind == 4) Note(notes, "near-limit");
    for (int v = 0; v < vertexCount; ++v) {
      if (v > 0 && rng.Percent(10)) {
        Note(notes, "coincident");
        object.vertices.push_back(object.vertices[rng.Below(static_cast<uint32_t>(v))]);
        continue;
      }
      object.vertices.push_back({Coordinate(rng, coordinateKind), Coordinate(rng, coordinateKind),
                                 Coordinate(rng, coordinateKind)});
    }
    const int faceCount = vertexCount == 0 ? 0 : rng.Between(0, spec.maxFaces);
    for (int f = 0; f < faceCount; ++f) {
      // Mostly triangles and quads; sometimes one or two points, or a removed face.
      const uint32_t shape = rng.Below(10);
      const int points = shape == 0 ? 0 : shape == 1 ? 1 : shape == 2 ? 2 : shape < 7 ? 3 : 4;
      if (points < 3) Note(notes, points == 0 ? "removed-face" : "short-face");
      std::vector<int32_t> face;
      for (int p = 0; p < points; ++p)
        face.push_back(static_cast<int32_t>(rng.Below(static_cast<uint32_t>(vertexCount))));
      object.faces.push_back(face);
    }
    // Selections: vertices (used or not), lines of faces, faces.
    const uint32_t density = rng.Below(4);  // none, few, some, all
    for (int v = 0; v < vertexCount; ++v) {
      if (density == 3 || (density > 0 && rng.Percent(density * 20))) object.selectedVertices.push_back(v);
    }
    for (int f = 0; f < faceCount; ++f) {
      const int points = static_cast<int>(object.faces[static_cast<size_t>(f)].size());
      for (int e = 0; e < points; ++e) {
        if (rng.Percent(density * 8)) object.selectedLines.push_back({f, e});
      }
      if (rng.Percent(density * 12)) object.selectedFaces.push_back(f);
    }
    object.selected = rng.Percent(50);
    object.frame = RandomFrame(rng, notes, spec.farOrigins);
    const int32_t index = mqhost::AddObject(document, object);
    if (index < 0) continue;
    if (rng.Percent(12)) {
      Note(notes, "deleted-slot");
      mqhost::DeleteObject(document, index);
    } else {
      live.push_back(index);
    }
  }
  if (!live.empty() && !rng.Percent(8)) {
    mqhost::SetCurrentObjectIndex(document, live[rng.Below(static_cast<uint32_t>(live.size()))]);
  } else {
    Note(notes, "no-current");
  }
  mqhost::SetCameraAngle(document, Triple(rng, -180, 180));
  return document;
}

}  // namespace validator
