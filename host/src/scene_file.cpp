// Scene files: a document as JSON (the format is described in
// docs/scene-format.md). Parsing builds every object into a temporary first
// and creates the document only when the whole scene is valid; every error
// names the field ("objects[2].faces[5][1]") and the reason.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "document_model.hpp"
#include "mqhost/document.hpp"

namespace mqhost {

namespace {

using nlohmann::json;

constexpr int kFormatVersion = 1;

struct SceneError {
  std::string message;
};

[[noreturn]] void Throw(const std::string& path, const std::string& reason) {
  throw SceneError{path + ": " + reason};
}

std::string Item(const std::string& path, size_t index) { return path + "[" + std::to_string(index) + "]"; }

std::string Member(const std::string& path, const char* key) {
  return path.empty() ? std::string(key) : path + "." + key;
}

const char* KindOf(const json& value) {
  if (value.is_null()) return "null";
  if (value.is_boolean()) return "a truth value";
  if (value.is_number()) return "a number";
  if (value.is_string()) return "a string";
  if (value.is_array()) return "an array";
  return "an object";
}

void RequireKeys(const json& object, const std::string& path, std::initializer_list<const char*> allowed) {
  for (const auto& item : object.items()) {
    bool known = false;
    for (const char* key : allowed) known = known || item.key() == key;
    if (!known) Throw(Member(path, item.key().c_str()), "unknown field");
  }
}

const json& RequireArray(const json& value, const std::string& path) {
  if (!value.is_array()) Throw(path, std::string("must be an array, not ") + KindOf(value));
  return value;
}

float ReadFloat(const json& value, const std::string& path) {
  if (!value.is_number()) Throw(path, std::string("must be a number, not ") + KindOf(value));
  const double number = value.get<double>();
  if (!std::isfinite(number) || std::fabs(number) > FLT_MAX) {
    Throw(path, "number is outside the range of a float");
  }
  return static_cast<float>(number);
}

int32_t ReadInt(const json& value, const std::string& path) {
  if (!value.is_number_integer()) {
    Throw(path,
          std::string("must be a whole number, not ") + (value.is_number() ? "a fraction" : KindOf(value)));
  }
  if (value.is_number_unsigned()) {
    const auto number = value.get<uint64_t>();
    if (number > static_cast<uint64_t>(INT32_MAX)) Throw(path, "number is outside the 32-bit range");
    return static_cast<int32_t>(number);
  }
  const auto number = value.get<int64_t>();
  if (number < INT32_MIN || number > INT32_MAX) Throw(path, "number is outside the 32-bit range");
  return static_cast<int32_t>(number);
}

Point3 ReadPoint(const json& value, const std::string& path) {
  RequireArray(value, path);
  if (value.size() != 3) Throw(path, "must hold 3 numbers, not " + std::to_string(value.size()));
  return {ReadFloat(value[0], Item(path, 0)), ReadFloat(value[1], Item(path, 1)),
          ReadFloat(value[2], Item(path, 2))};
}

std::vector<int32_t> ReadIndices(const json& value, const std::string& path) {
  RequireArray(value, path);
  std::vector<int32_t> indices;
  indices.reserve(value.size());
  for (size_t i = 0; i < value.size(); ++i) indices.push_back(ReadInt(value[i], Item(path, i)));
  return indices;
}

std::unique_ptr<model::ObjectContent> ReadObject(const json& value, const std::string& path) {
  if (!value.is_object()) Throw(path, std::string("must be an object or null, not ") + KindOf(value));
  RequireKeys(value, path,
              {"name", "uniqueId", "vertices", "faces", "selectedVertices", "selectedLines", "selectedFaces",
               "selected", "frame"});
  ObjectData data;
  if (value.contains("name")) {
    const json& name = value["name"];
    if (!name.is_string()) Throw(Member(path, "name"), std::string("must be a string, not ") + KindOf(name));
    data.name = name.get<std::string>();
  }
  if (value.contains("uniqueId")) {
    const std::string where = Member(path, "uniqueId");
    data.uniqueId = ReadInt(value["uniqueId"], where);
    if (data.uniqueId <= 0) Throw(where, "must be a positive number (leave it out for a fresh one)");
  }
  if (!value.contains("vertices")) Throw(Member(path, "vertices"), "missing");
  {
    const std::string where = Member(path, "vertices");
    const json& vertices = RequireArray(value["vertices"], where);
    data.vertices.reserve(vertices.size());
    for (size_t i = 0; i < vertices.size(); ++i)
      data.vertices.push_back(ReadPoint(vertices[i], Item(where, i)));
  }
  if (value.contains("faces")) {
    const std::string where = Member(path, "faces");
    const json& faces = RequireArray(value["faces"], where);
    data.faces.reserve(faces.size());
    for (size_t i = 0; i < faces.size(); ++i) data.faces.push_back(ReadIndices(faces[i], Item(where, i)));
  }
  if (value.contains("selectedVertices")) {
    data.selectedVertices = ReadIndices(value["selectedVertices"], Member(path, "selectedVertices"));
  }
  if (value.contains("selectedFaces")) {
    data.selectedFaces = ReadIndices(value["selectedFaces"], Member(path, "selectedFaces"));
  }
  if (value.contains("selectedLines")) {
    const std::string where = Member(path, "selectedLines");
    const json& lines = RequireArray(value["selectedLines"], where);
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::vector<int32_t> pair = ReadIndices(lines[i], Item(where, i));
      if (pair.size() != 2) Throw(Item(where, i), "must be a [face, edge] pair");
      data.selectedLines.emplace_back(pair[0], pair[1]);
    }
  }
  if (value.contains("selected")) {
    const json& selected = value["selected"];
    if (!selected.is_boolean()) {
      Throw(Member(path, "selected"), std::string("must be true or false, not ") + KindOf(selected));
    }
    data.selected = selected.get<bool>();
  }
  if (value.contains("frame") && !value["frame"].is_null()) {
    const std::string where = Member(path, "frame");
    const json& frame = RequireArray(value["frame"], where);
    if (frame.size() != 16) Throw(where, "must hold 16 numbers, not " + std::to_string(frame.size()));
    for (size_t i = 0; i < 16; ++i) data.frame[i] = ReadFloat(frame[i], Item(where, i));
  }
  auto content = std::make_unique<model::ObjectContent>();
  std::string error;
  if (!model::BuildContent(data, content.get(), &error)) throw SceneError{path + "." + error};
  return content;
}

int32_t ReadCurrentObject(const json& value, const json& objects) {
  const std::string path = "currentObject";
  if (value.is_null()) return -1;
  if (value.is_string()) {
    const std::string name = value.get<std::string>();
    int32_t found = -1;
    for (size_t i = 0; i < objects.size(); ++i) {
      if (!objects[i].is_object() || objects[i].value("name", std::string()) != name) continue;
      if (found >= 0) Throw(path, "name \"" + name + "\" is shared by several objects; give an index");
      found = static_cast<int32_t>(i);
    }
    if (found < 0) Throw(path, "no object is named \"" + name + "\"");
    return found;
  }
  const int32_t index = ReadInt(value, path);
  if (index == -1) return -1;
  if (index < 0 || static_cast<size_t>(index) >= objects.size()) {
    Throw(path, "index " + std::to_string(index) + " is out of range (scene has " +
                    std::to_string(objects.size()) + " object slots)");
  }
  if (objects[static_cast<size_t>(index)].is_null())
    Throw(path, "index " + std::to_string(index) + " is an empty slot");
  return index;
}

DocumentHandle Parse(const std::string& text) {
  json root;
  try {
    root = json::parse(text);
  } catch (const json::parse_error& error) {
    throw SceneError{std::string("not valid JSON: ") + error.what()};
  }
  if (!root.is_object()) Throw("scene", std::string("must be a JSON object, not ") + KindOf(root));
  RequireKeys(root, "", {"version", "cameraAngle", "currentObject", "objects"});
  if (root.contains("version")) {
    const int32_t version = ReadInt(root["version"], "version");
    if (version != kFormatVersion)
      Throw("version", std::to_string(version) + " is not a version this host reads (1)");
  }
  if (!root.contains("objects")) Throw("objects", "missing");
  const json& objects = RequireArray(root["objects"], "objects");
  std::vector<std::unique_ptr<model::ObjectContent>> contents;
  contents.reserve(objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    contents.push_back(objects[i].is_null() ? nullptr : ReadObject(objects[i], Item("objects", i)));
  }
  const Point3 camera =
      root.contains("cameraAngle") ? ReadPoint(root["cameraAngle"], "cameraAngle") : Point3{};
  const int32_t current =
      root.contains("currentObject") ? ReadCurrentObject(root["currentObject"], objects) : -1;
  std::string error;
  DocumentHandle document = model::CreateDocumentFrom(std::move(contents), current, camera, &error);
  if (document == nullptr) throw SceneError{error};
  return document;
}

// The shortest text that reads back as the same float; null for a value
// JSON cannot hold.
void WriteFloat(std::string& out, float value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  if (value == 0 && std::signbit(value)) {
    out += "-0.0";  // "-0" would read back as the integer 0 and lose the sign
    return;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

void WriteFloats(std::string& out, const float* values, size_t count) {
  out += '[';
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    WriteFloat(out, values[i]);
  }
  out += ']';
}

void WriteInts(std::string& out, const int32_t* values, size_t count) {
  out += '[';
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) out += ", ";
    out += std::to_string(values[i]);
  }
  out += ']';
}

void WriteObject(std::string& out, const model::ObjectContent& object) {
  out += "    {\n      \"name\": " + json(object.name).dump(-1, ' ', false, json::error_handler_t::replace);
  out += ",\n      \"uniqueId\": " + std::to_string(object.uniqueId);
  out += std::string(",\n      \"selected\": ") + (object.selected ? "true" : "false");
  out += ",\n      \"frame\": ";
  WriteFloats(out, object.frame.data(), 16);
  out += ",\n      \"vertices\": [";
  for (size_t v = 0; v < object.vertices.size(); ++v) {
    out += v == 0 ? "\n        " : ",\n        ";
    const float xyz[3] = {object.vertices[v].x, object.vertices[v].y, object.vertices[v].z};
    WriteFloats(out, xyz, 3);
  }
  out += object.vertices.empty() ? "]" : "\n      ]";
  out += ",\n      \"faces\": [";
  const int32_t faceCount = object.FaceCount();
  for (int32_t f = 0; f < faceCount; ++f) {
    out += f == 0 ? "\n        " : ",\n        ";
    const size_t begin = object.faceStart[static_cast<size_t>(f)];
    WriteInts(out, object.facePoints.data() + begin, object.faceStart[static_cast<size_t>(f) + 1] - begin);
  }
  out += faceCount == 0 ? "]" : "\n      ]";

  const ObjectData selection = [&] {
    ObjectData data;
    for (size_t v = 0; v < object.vertexSelected.size(); ++v) {
      if (object.vertexSelected[v] != 0) data.selectedVertices.push_back(static_cast<int32_t>(v));
    }
    for (int32_t f = 0; f < faceCount; ++f) {
      if (object.faceSelected[static_cast<size_t>(f)] != 0) data.selectedFaces.push_back(f);
      const size_t begin = object.faceStart[static_cast<size_t>(f)];
      for (size_t p = begin; p < object.faceStart[static_cast<size_t>(f) + 1]; ++p) {
        if (object.lineSelected[p] != 0) data.selectedLines.emplace_back(f, static_cast<int32_t>(p - begin));
      }
    }
    return data;
  }();
  out += ",\n      \"selectedVertices\": ";
  WriteInts(out, selection.selectedVertices.data(), selection.selectedVertices.size());
  out += ",\n      \"selectedLines\": [";
  for (size_t i = 0; i < selection.selectedLines.size(); ++i) {
    if (i > 0) out += ", ";
    const int32_t pair[2] = {selection.selectedLines[i].first, selection.selectedLines[i].second};
    WriteInts(out, pair, 2);
  }
  out += "],\n      \"selectedFaces\": ";
  WriteInts(out, selection.selectedFaces.data(), selection.selectedFaces.size());
  out += "\n    }";
}

// The first value of `document` that JSON cannot hold, as a field path, or
// an empty string.
std::string FirstUnwritableValue(const model::DocumentRecord& document) {
  const float camera[3] = {document.cameraAngle.x, document.cameraAngle.y, document.cameraAngle.z};
  for (size_t i = 0; i < 3; ++i) {
    if (!std::isfinite(camera[i])) return Item("cameraAngle", i);
  }
  for (size_t slot = 0; slot < document.slots.size(); ++slot) {
    const model::ObjectRecord* object = document.slots[slot];
    if (object == nullptr) continue;
    const std::string path = Item("objects", slot);
    for (size_t i = 0; i < 16; ++i) {
      if (!std::isfinite(object->content.frame[i])) return Item(path + ".frame", i);
    }
    const auto& vertices = object->content.vertices;
    for (size_t v = 0; v < vertices.size(); ++v) {
      if (!std::isfinite(vertices[v].x) || !std::isfinite(vertices[v].y) || !std::isfinite(vertices[v].z)) {
        return Item(path + ".vertices", v);
      }
    }
  }
  return {};
}

}  // namespace

DocumentHandle ParseScene(const std::string& text, std::string* error) {
  try {
    return Parse(text);
  } catch (const SceneError& failure) {
    if (error != nullptr) *error = failure.message;
  } catch (const std::exception& failure) {
    if (error != nullptr) *error = std::string("scene could not be read: ") + failure.what();
  }
  return nullptr;
}

DocumentHandle LoadSceneFile(const std::string& path, std::string* error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    if (error != nullptr) *error = path + ": cannot open the file";
    return nullptr;
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    if (error != nullptr) *error = path + ": cannot read the file";
    return nullptr;
  }
  std::string reason;
  DocumentHandle document = ParseScene(text.str(), &reason);
  if (document == nullptr && error != nullptr) *error = path + ": " + reason;
  return document;
}

std::string SceneText(DocumentHandle document) {
  const model::DocumentRecord* record = model::CheckDocument(document, "SceneText");
  if (record == nullptr) return {};
  std::string out = "{\n  \"version\": " + std::to_string(kFormatVersion) + ",\n  \"cameraAngle\": ";
  const float camera[3] = {record->cameraAngle.x, record->cameraAngle.y, record->cameraAngle.z};
  WriteFloats(out, camera, 3);
  out += ",\n  \"currentObject\": " +
         (record->current < 0 ? std::string("null") : std::to_string(record->current));
  out += ",\n  \"objects\": [";
  for (size_t slot = 0; slot < record->slots.size(); ++slot) {
    out += slot == 0 ? "\n" : ",\n";
    if (record->slots[slot] == nullptr) {
      out += "    null";
    } else {
      WriteObject(out, record->slots[slot]->content);
    }
  }
  out += record->slots.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return out;
}

bool SaveSceneFile(DocumentHandle document, const std::string& path, std::string* error) {
  auto fail = [&](const std::string& reason) {
    if (error != nullptr) *error = path + ": " + reason;
    return false;
  };
  const model::DocumentRecord* record = model::CheckDocument(document, "SaveSceneFile");
  if (record == nullptr) return fail("not a live document");
  const std::string unwritable = FirstUnwritableValue(*record);
  if (!unwritable.empty()) return fail(unwritable + ": not a finite number, which a scene file cannot hold");
  const std::string text = SceneText(document);

  // Written beside the target and renamed over it, so that a failed write
  // leaves the old file (or none) rather than a partial one.
  const std::string temporary = path + ".saving";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    if (!file) return fail("cannot create " + temporary);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return fail("cannot write " + temporary);
    }
  }
  std::error_code renamed;
  std::filesystem::rename(temporary, path, renamed);
  if (renamed) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return fail("cannot replace the file: " + renamed.message());
  }
  return true;
}

}  // namespace mqhost
