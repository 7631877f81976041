// The scene-file form read and written here:
//
//   {
//     "camera": [heading, pitch, bank],          optional, the camera angle
//     "current": "Box" or 0,                      optional, by name or index
//     "objects": [
//       { "name": "Box",
//         "uniqueId": 7,                          optional, 0 or absent: fresh
//         "vertices": [[x, y, z], ...],
//         "faces": [[0, 1, 2, 3], ...],
//         "selectedVertices": [0, 4], "selectedFaces": [1],
//         "selectedLines": [[face, edge], ...],   all optional
//         "selected": false,                      optional, the object flag
//         "frame": [16 numbers, row-major] }      optional, the identity
//     ]
//   }
#include "tools/runner/scene_json.hpp"

#include <nlohmann/json.hpp>

#include "mqhost/document.hpp"

namespace runner {

namespace {

using nlohmann::json;

struct SceneFault {
  std::string message;
};

[[noreturn]] void Fault(const std::string& where, const std::string& what) {
  throw SceneFault{where + ": " + what};
}

float Number(const json& value, const std::string& where) {
  if (!value.is_number()) Fault(where, "expected a number");
  return value.get<float>();
}

int32_t Index(const json& value, const std::string& where) {
  if (!value.is_number_integer() || value.get<int64_t>() < 0 || value.get<int64_t>() > INT32_MAX) {
    Fault(where, "expected an index (a whole number, 0 or more)");
  }
  return value.get<int32_t>();
}

const json& ArrayAt(const json& object, const char* key, const std::string& where) {
  static const json empty = json::array();
  if (!object.contains(key)) return empty;
  const json& value = object.at(key);
  if (!value.is_array()) Fault(where + "." + key, "expected a list");
  return value;
}

std::vector<int32_t> Indices(const json& object, const char* key, const std::string& where) {
  std::vector<int32_t> indices;
  const json& list = ArrayAt(object, key, where);
  for (size_t i = 0; i < list.size(); ++i) {
    indices.push_back(Index(list[i], where + "." + key + "[" + std::to_string(i) + "]"));
  }
  return indices;
}

void CheckRange(const std::vector<int32_t>& indices, size_t count, const std::string& where,
                const char* what) {
  for (size_t i = 0; i < indices.size(); ++i) {
    if (static_cast<size_t>(indices[i]) >= count) {
      Fault(where + "[" + std::to_string(i) + "]", std::string(what) + " " + std::to_string(indices[i]) +
                                                       " does not exist (there are " + std::to_string(count) +
                                                       ")");
    }
  }
}

mqhost::ObjectData ReadObject(const json& value, const std::string& where) {
  if (!value.is_object()) Fault(where, "expected an object");
  mqhost::ObjectData object;
  if (value.contains("name")) {
    if (!value["name"].is_string()) Fault(where + ".name", "expected a text");
    object.name = value["name"].get<std::string>();
  }
  if (value.contains("uniqueId")) object.uniqueId = Index(value["uniqueId"], where + ".uniqueId");
  const json& vertices = ArrayAt(value, "vertices", where);
  for (size_t i = 0; i < vertices.size(); ++i) {
    const std::string at = where + ".vertices[" + std::to_string(i) + "]";
    if (!vertices[i].is_array() || vertices[i].size() != 3) Fault(at, "expected [x, y, z]");
    object.vertices.push_back(
        {Number(vertices[i][0], at), Number(vertices[i][1], at), Number(vertices[i][2], at)});
  }
  const json& faces = ArrayAt(value, "faces", where);
  for (size_t i = 0; i < faces.size(); ++i) {
    const std::string at = where + ".faces[" + std::to_string(i) + "]";
    if (!faces[i].is_array()) Fault(at, "expected a list of vertex indices");
    std::vector<int32_t> points;
    for (size_t k = 0; k < faces[i].size(); ++k) points.push_back(Index(faces[i][k], at));
    CheckRange(points, object.vertices.size(), at, "vertex");
    object.faces.push_back(std::move(points));
  }
  object.selectedVertices = Indices(value, "selectedVertices", where);
  CheckRange(object.selectedVertices, object.vertices.size(), where + ".selectedVertices", "vertex");
  object.selectedFaces = Indices(value, "selectedFaces", where);
  CheckRange(object.selectedFaces, object.faces.size(), where + ".selectedFaces", "face");
  const json& lines = ArrayAt(value, "selectedLines", where);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string at = where + ".selectedLines[" + std::to_string(i) + "]";
    if (!lines[i].is_array() || lines[i].size() != 2) Fault(at, "expected [face, edge]");
    const int32_t face = Index(lines[i][0], at);
    const int32_t edge = Index(lines[i][1], at);
    if (static_cast<size_t>(face) >= object.faces.size())
      Fault(at, "face " + std::to_string(face) + " does not exist");
    if (static_cast<size_t>(edge) >= object.faces[face].size()) {
      Fault(at, "face " + std::to_string(face) + " has no edge " + std::to_string(edge));
    }
    object.selectedLines.emplace_back(face, edge);
  }
  if (value.contains("selected")) {
    if (!value["selected"].is_boolean()) Fault(where + ".selected", "expected true or false");
    object.selected = value["selected"].get<bool>();
  }
  if (value.contains("frame")) {
    const json& frame = value["frame"];
    if (!frame.is_array() || frame.size() != 16) Fault(where + ".frame", "expected 16 numbers");
    for (size_t i = 0; i < 16; ++i) object.frame[i] = Number(frame[i], where + ".frame");
  }
  return object;
}

}  // namespace

DocumentHandle ParseJsonScene(const std::string& text, std::string* error) {
  const json scene = json::parse(text, nullptr, false);
  if (scene.is_discarded()) {
    *error = "not well-formed JSON";
    return nullptr;
  }
  DocumentHandle document = nullptr;
  try {
    if (!scene.is_object()) Fault("scene", "expected a JSON object");
    std::vector<mqhost::ObjectData> objects;
    const json& list = ArrayAt(scene, "objects", "scene");
    for (size_t i = 0; i < list.size(); ++i)
      objects.push_back(ReadObject(list[i], "objects[" + std::to_string(i) + "]"));
    int32_t current = objects.empty() ? -1 : 0;
    if (scene.contains("current")) {
      const json& value = scene["current"];
      current = -1;
      if (value.is_string()) {
        for (size_t i = 0; i < objects.size() && current < 0; ++i) {
          if (objects[i].name == value.get<std::string>()) current = static_cast<int32_t>(i);
        }
        if (current < 0) Fault("current", "no object is named \"" + value.get<std::string>() + "\"");
      } else if (!value.is_null()) {
        current = Index(value, "current");
        if (static_cast<size_t>(current) >= objects.size()) Fault("current", "no object has this index");
      }
    }
    mqhost::Point3 camera;
    if (scene.contains("camera")) {
      const json& value = scene["camera"];
      if (!value.is_array() || value.size() != 3) Fault("camera", "expected [heading, pitch, bank]");
      camera = {Number(value[0], "camera"), Number(value[1], "camera"), Number(value[2], "camera")};
    }
    document = mqhost::CreateDocument();
    for (size_t i = 0; i < objects.size(); ++i) {
      if (mqhost::AddObject(document, objects[i]) < 0) {
        Fault("objects[" + std::to_string(i) + "]", "refused by the host (a unique ID used twice?)");
      }
    }
    mqhost::SetCurrentObjectIndex(document, current);
    mqhost::SetCameraAngle(document, camera);
    return document;
  } catch (const SceneFault& fault) {
    if (document != nullptr) mqhost::DestroyDocument(document);
    *error = fault.message;
    return nullptr;
  }
}

std::string JsonSceneText(DocumentHandle document) {
  json objects = json::array();
  const int32_t currentSlot = mqhost::CurrentObjectIndex(document);
  json current = nullptr;  // the current object's place in the list: deleted slots are not written
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
    if (!mqhost::HasObject(document, index)) continue;
    if (index == currentSlot) current = objects.size();
    const mqhost::ObjectData object = mqhost::GetObject(document, index);
    json vertices = json::array();
    for (const mqhost::Point3& p : object.vertices) vertices.push_back({p.x, p.y, p.z});
    json lines = json::array();
    for (const auto& [face, edge] : object.selectedLines) lines.push_back({face, edge});
    objects.push_back({{"name", object.name},
                       {"uniqueId", object.uniqueId},
                       {"vertices", vertices},
                       {"faces", object.faces},
                       {"selectedVertices", object.selectedVertices},
                       {"selectedFaces", object.selectedFaces},
                       {"selectedLines", lines},
                       {"selected", object.selected},
                       {"frame", object.frame}});
  }
  const mqhost::Point3 camera = mqhost::CameraAngle(document);
  const json scene = {{"camera", {camera.x, camera.y, camera.z}}, {"current", current}, {"objects", objects}};
  return scene.dump(2) + "\n";
}

}  // namespace runner
