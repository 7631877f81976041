// Reading scene files: a document as JSON (the format is described in
// docs/scene-format.md). Reading is strict: an unknown field, a key given
// twice, a number out of range is an error. Parsing builds every object into a temporary first
// and creates the document only when the whole scene is valid; every error
// names the field ("objects[2].faces[5][1]") and the reason.
#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fileio/safe_file.hpp"
#include "host/src/document/document_model.hpp"
#include "host/src/scene/scene_format.hpp"
#include "mqhost/document.hpp"

namespace mqhost {

namespace {

using nlohmann::json;

using scene::Item;
using scene::kFormatVersion;

struct SceneError {
  std::string message;
};

[[noreturn]] void Throw(const std::string& path, const std::string& reason) {
  throw SceneError{path + ": " + reason};
}

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
  // Every number that rounds to a finite float is one: up to FLT_MAX and half
  // its spacing (a tie there rounds to even, which is infinity).
  constexpr double kFirstOutOfRange = 0x1.ffffffp127;
  if (!(std::fabs(number) < kFirstOutOfRange)) Throw(path, "number is outside the range of a float");
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

// A scene nests five deep (objects, an object, its faces, a face); this is
// far beyond it.
constexpr int kMaxDepth = 64;

// Refuses a key given twice in one JSON object, naming it, while the text is
// parsed (the parsed value keeps only one of them). Each open container
// remembers where it sits in its parent, so the path is built only for the
// message.
class DuplicateKeys {
 public:
  bool operator()(int depth, json::parse_event_t event, json& parsed) {
    switch (event) {
      case json::parse_event_t::object_start:
      case json::parse_event_t::array_start:
        // Refused as soon as it goes too deep, before the parser builds a
        // value per bracket (gigabytes for the largest file read).
        if (depth >= kMaxDepth) {
          Throw(Path(), "nested deeper than " + std::to_string(kMaxDepth) +
                            " arrays and objects, far more than a scene has");
        }
        open_.push_back(Container{event == json::parse_event_t::object_start, {}, {}, 0});
        break;
      case json::parse_event_t::key: {
        Container& object = open_.back();
        object.key = parsed.get<std::string>();
        if (!object.keys.insert(object.key).second) Throw(Path(), "this key is given twice");
        break;
      }
      case json::parse_event_t::object_end:
      case json::parse_event_t::array_end:
        open_.pop_back();
        ElementDone();
        break;
      case json::parse_event_t::value: ElementDone(); break;
    }
    return true;
  }

 private:
  struct Container {
    bool isObject;
    std::set<std::string> keys;
    std::string key;   // of an object: the member being read
    size_t index = 0;  // of an array: the element being read
  };

  void ElementDone() {
    if (!open_.empty() && !open_.back().isObject) ++open_.back().index;
  }

  std::string Path() const {
    std::string path;
    for (const Container& container : open_) {
      path = container.isObject ? Member(path, container.key.c_str()) : Item(path, container.index);
    }
    return path;
  }

  std::vector<Container> open_;
};

DocumentHandle Parse(const std::string& text) {
  // The JSON parser takes a NUL byte for the end of the text; the file goes
  // on after it, and all of it is read.
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) {
    throw SceneError{"not valid JSON: a NUL byte at byte " + std::to_string(nul) + " (a scene file is text)"};
  }
  json root;
  try {
    root = json::parse(text, DuplicateKeys());
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
  std::string text;
  std::string reason;
  switch (fileio::ReadWholeFile(path, scene::kSceneFileLimit, &text, &reason)) {
    case fileio::ReadResult::kMissing:
      if (error != nullptr) *error = path + ": cannot open the file: there is no such file";
      return nullptr;
    case fileio::ReadResult::kFailed:
      if (error != nullptr) *error = path + ": " + reason;
      return nullptr;
    case fileio::ReadResult::kRead: break;
  }
  DocumentHandle document = ParseScene(text, &reason);
  if (document == nullptr && error != nullptr) *error = path + ": " + reason;
  return document;
}

}  // namespace mqhost
