// Object data in and out of the document model: validating an ObjectData and
// building the flat content the host calls read, and the way back.
#include <utility>

#include "host/src/document/document_model.hpp"

namespace mqhost::model {

bool BuildContent(const ObjectData& object, ObjectContent* content, std::string* error) {
  ObjectContent built;
  built.name = object.name;
  built.uniqueId = object.uniqueId;
  built.vertices = object.vertices;
  built.selected = object.selected;
  built.frame = object.frame;
  size_t pointTotal = 0;
  for (const auto& face : object.faces) pointTotal += face.size();
  built.faceStart.clear();
  built.faceStart.reserve(object.faces.size() + 1);
  built.facePoints.reserve(pointTotal);
  built.faceStart.push_back(0);
  for (const auto& face : object.faces) {
    built.facePoints.insert(built.facePoints.end(), face.begin(), face.end());
    built.faceStart.push_back(built.facePoints.size());
  }
  if (!FinishContent(&built, object.selectedVertices, object.selectedLines, object.selectedFaces, error)) {
    return false;
  }
  *content = std::move(built);
  return true;
}

bool FinishContent(ObjectContent* content, const std::vector<int32_t>& selectedVertices,
                   const std::vector<std::pair<int32_t, int32_t>>& selectedLines,
                   const std::vector<int32_t>& selectedFaces, std::string* error) {
  auto fail = [error](const std::string& message) {
    if (error != nullptr) *error = message;
    return false;
  };
  ObjectContent& built = *content;
  if (built.uniqueId < 0) {
    return fail("uniqueId: " + std::to_string(built.uniqueId) + " is negative (0 asks for a fresh one)");
  }
  const size_t vertexCount = built.vertices.size();
  const size_t faceCount = built.faceStart.size() - 1;
  if (vertexCount > static_cast<size_t>(INT32_MAX) || faceCount > static_cast<size_t>(INT32_MAX)) {
    return fail("too many vertices or faces for 32-bit indices");
  }

  built.refCounts.assign(vertexCount, 0);
  // The last face that counted each vertex, so that a face naming a vertex
  // twice counts it once.
  std::vector<int32_t> lastFace(vertexCount, -1);
  for (size_t f = 0; f < faceCount; ++f) {
    const size_t begin = built.faceStart[f];
    for (size_t k = 0; begin + k < built.faceStart[f + 1]; ++k) {
      const int32_t v = built.facePoints[begin + k];
      if (v < 0 || static_cast<size_t>(v) >= vertexCount) {
        return fail("faces[" + std::to_string(f) + "][" + std::to_string(k) + "]: vertex index " +
                    std::to_string(v) + " is out of range (object has " + Count(vertexCount, "vertex") + ")");
      }
      if (lastFace[static_cast<size_t>(v)] != static_cast<int32_t>(f)) {
        lastFace[static_cast<size_t>(v)] = static_cast<int32_t>(f);
        ++built.refCounts[static_cast<size_t>(v)];
      }
    }
  }
  lastFace = {};

  built.vertexSelected.assign(vertexCount, 0);
  for (size_t i = 0; i < selectedVertices.size(); ++i) {
    const int32_t v = selectedVertices[i];
    if (v < 0 || static_cast<size_t>(v) >= vertexCount) {
      return fail("selectedVertices[" + std::to_string(i) + "]: vertex index " + std::to_string(v) +
                  " is out of range (object has " + Count(vertexCount, "vertex") + ")");
    }
    built.vertexSelected[static_cast<size_t>(v)] = 1;
  }
  built.faceSelected.assign(faceCount, 0);
  for (size_t i = 0; i < selectedFaces.size(); ++i) {
    const int32_t f = selectedFaces[i];
    if (f < 0 || static_cast<size_t>(f) >= faceCount) {
      return fail("selectedFaces[" + std::to_string(i) + "]: face index " + std::to_string(f) +
                  " is out of range (object has " + Count(faceCount, "face") + ")");
    }
    built.faceSelected[static_cast<size_t>(f)] = 1;
  }
  built.lineSelected.assign(built.facePoints.size(), 0);
  for (size_t i = 0; i < selectedLines.size(); ++i) {
    const auto [f, edge] = selectedLines[i];
    if (f < 0 || static_cast<size_t>(f) >= faceCount) {
      return fail("selectedLines[" + std::to_string(i) + "][0]: face index " + std::to_string(f) +
                  " is out of range (object has " + Count(faceCount, "face") + ")");
    }
    const size_t points =
        built.faceStart[static_cast<size_t>(f) + 1] - built.faceStart[static_cast<size_t>(f)];
    if (edge < 0 || static_cast<size_t>(edge) >= points) {
      return fail("selectedLines[" + std::to_string(i) + "][1]: edge " + std::to_string(edge) +
                  " is out of range (face " + std::to_string(f) + " has " + Count(points, "edge") + ")");
    }
    built.lineSelected[built.faceStart[static_cast<size_t>(f)] + static_cast<size_t>(edge)] = 1;
  }
  return true;
}

ObjectData ContentToData(const ObjectContent& content) {
  ObjectData data;
  data.name = content.name;
  data.uniqueId = content.uniqueId;
  data.vertices = content.vertices;
  data.selected = content.selected;
  data.frame = content.frame;
  const int32_t faceCount = content.FaceCount();
  data.faces.resize(static_cast<size_t>(faceCount));
  for (int32_t f = 0; f < faceCount; ++f) {
    const size_t begin = content.faceStart[static_cast<size_t>(f)];
    const size_t end = content.faceStart[static_cast<size_t>(f) + 1];
    data.faces[static_cast<size_t>(f)].assign(content.facePoints.begin() + static_cast<std::ptrdiff_t>(begin),
                                              content.facePoints.begin() + static_cast<std::ptrdiff_t>(end));
    if (content.faceSelected[static_cast<size_t>(f)] != 0) data.selectedFaces.push_back(f);
    for (size_t p = begin; p < end; ++p) {
      if (content.lineSelected[p] != 0) data.selectedLines.emplace_back(f, static_cast<int32_t>(p - begin));
    }
  }
  for (size_t v = 0; v < content.vertexSelected.size(); ++v) {
    if (content.vertexSelected[v] != 0) data.selectedVertices.push_back(static_cast<int32_t>(v));
  }
  return data;
}
}  // namespace mqhost::model
