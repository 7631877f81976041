// Reading scene files: a document as JSON (the format is described in
// docs/scene-format.md). Reading is strict: an unknown field, a key given
// twice, a number out of range is an error. The text is read in one pass
// (scene_stream.cpp), the big arrays straight into each object's content;
// this file checks the rest in a fixed order, field by field, and creates the
// document only when the whole scene is valid. Every error names the field
// ("objects[2].faces[5][1]") and the reason.
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "fileio/safe_file.hpp"
#include "host/src/document/document_model.hpp"
#include "host/src/scene/scene_format.hpp"
#include "host/src/scene/scene_stream.hpp"
#include "mqhost/document.hpp"

namespace mqhost {

namespace {

using nlohmann::json;

using scene::Item;
using scene::kFormatVersion;
using scene::KindOf;
using scene::Member;
using scene::SceneError;
using scene::Streamed;
using scene::StreamedObject;
using scene::Throw;

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
  float number = 0;
  const std::string problem = scene::CoordinateProblem(scene::Scalar::Of(value), &number);
  if (!problem.empty()) Throw(path, problem);
  return number;
}

int32_t ReadInt(const json& value, const std::string& path) {
  int32_t number = 0;
  const std::string problem = scene::IndexProblem(scene::Scalar::Of(value), &number);
  if (!problem.empty()) Throw(path, problem);
  return number;
}

Point3 ReadPoint(const json& value, const std::string& path) {
  RequireArray(value, path);
  if (value.size() != 3) Throw(path, "must hold 3 numbers, not " + std::to_string(value.size()));
  return {ReadFloat(value[0], Item(path, 0)), ReadFloat(value[1], Item(path, 1)),
          ReadFloat(value[2], Item(path, 2))};
}

// A big field of an object, when given: read as the text streamed by (its
// first error is raised now, in the field's turn), or, when its value was no
// array, refused as such.
void CheckStreamed(const json& object, const std::string& path, const StreamedObject& streamed,
                   Streamed field) {
  const char* key = scene::KeyOf(field);
  if (!object.contains(key)) return;
  const size_t f = static_cast<size_t>(field);
  if (!streamed.read[f]) RequireArray(object[key], Member(path, key));
  if (!streamed.error[f].empty()) throw SceneError{streamed.error[f]};
}

std::unique_ptr<model::ObjectContent> ReadObject(const json& value, const std::string& path,
                                                 StreamedObject&& streamed) {
  if (!value.is_object()) Throw(path, std::string("must be an object or null, not ") + KindOf(value));
  RequireKeys(value, path,
              {"name", "uniqueId", "vertices", "faces", "selectedVertices", "selectedLines", "selectedFaces",
               "selected", "frame"});
  auto content = std::make_unique<model::ObjectContent>(std::move(streamed.content));
  if (value.contains("name")) {
    const json& name = value["name"];
    if (!name.is_string()) Throw(Member(path, "name"), std::string("must be a string, not ") + KindOf(name));
    content->name = name.get<std::string>();
  }
  if (value.contains("uniqueId")) {
    const std::string where = Member(path, "uniqueId");
    content->uniqueId = ReadInt(value["uniqueId"], where);
    if (content->uniqueId <= 0) Throw(where, "must be a positive number (leave it out for a fresh one)");
  }
  if (!value.contains("vertices")) Throw(Member(path, "vertices"), "missing");
  for (Streamed field : {Streamed::kVertices, Streamed::kFaces, Streamed::kSelectedVertices,
                         Streamed::kSelectedFaces, Streamed::kSelectedLines}) {
    CheckStreamed(value, path, streamed, field);
  }
  if (value.contains("selected")) {
    const json& selected = value["selected"];
    if (!selected.is_boolean()) {
      Throw(Member(path, "selected"), std::string("must be true or false, not ") + KindOf(selected));
    }
    content->selected = selected.get<bool>();
  }
  if (value.contains("frame") && !value["frame"].is_null()) {
    const std::string where = Member(path, "frame");
    const json& frame = RequireArray(value["frame"], where);
    if (frame.size() != 16) Throw(where, "must hold 16 numbers, not " + std::to_string(frame.size()));
    for (size_t i = 0; i < 16; ++i) content->frame[i] = ReadFloat(frame[i], Item(where, i));
  }
  std::string error;
  if (!model::FinishContent(content.get(), streamed.selectedVertices, streamed.selectedLines,
                            streamed.selectedFaces, &error)) {
    throw SceneError{path + "." + error};
  }
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
  // The JSON parser takes a NUL byte for the end of the text; the file goes
  // on after it, and all of it is read.
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) {
    throw SceneError{"not valid JSON: a NUL byte at byte " + std::to_string(nul) + " (a scene file is text)"};
  }
  json root;
  std::vector<StreamedObject> streamed;
  scene::ReadStream(text, &root, &streamed);
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
    StreamedObject none;
    StreamedObject& object = i < streamed.size() ? streamed[i] : none;
    contents.push_back(objects[i].is_null() ? nullptr
                                            : ReadObject(objects[i], Item("objects", i), std::move(object)));
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
