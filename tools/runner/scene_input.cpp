#include "tools/runner/scene_input.hpp"

#include <nlohmann/json.hpp>
#include <set>

#include "fileio/safe_file.hpp"
#include "loader/nearest_name.hpp"
#include "mqhost/document.hpp"
#include "tools/runner/obj_import.hpp"
#include "tools/runner/run_error.hpp"

namespace runner {

namespace {

int32_t RequireObject(DocumentHandle document, const std::string& option, const std::string& name) {
  const int32_t index = FindObject(document, name);
  if (index < 0) {
    throw RunError(option + " \"" + name + "\": the scene has no object of that name" +
                   ObjectNamesHint(document, name));
  }
  return index;
}

// `owner`: "the object", or "face 3" for its edges. Indices count from 0 (an
// OBJ file's from 1): the message says so and gives the range there is.
void RequireBelow(const std::string& option, const std::string& name, const std::string& what,
                  const std::string& owner, const char* plural, int32_t index, size_t count) {
  if (index < 0 || static_cast<size_t>(index) >= count) {
    const std::string range = count == 0 ? owner + " has no " + plural
                                         : owner + " has " + plural + " 0 to " + std::to_string(count - 1);
    throw RunError(option + " \"" + name + "\": " + what + " " + std::to_string(index) +
                   " does not exist: indices count from 0, and " + range);
  }
}

// A document of the OBJ file's objects, the first one current.
DocumentHandle DocumentOf(const std::vector<mqhost::ObjectData>& objects) {
  DocumentHandle document = mqhost::CreateDocument();
  for (const mqhost::ObjectData& object : objects) mqhost::AddObject(document, object);
  mqhost::SetCurrentObjectIndex(document, 0);
  return document;
}

}  // namespace

bool IsObjPath(const std::string& path) {
  if (path.size() < 4) return false;
  std::string extension = path.substr(path.size() - 4);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".obj";
}

DocumentHandle LoadScene(const std::string& path) {
  if (IsObjPath(path)) return DocumentOf(ImportObj(path));
  std::string error;
  DocumentHandle document = mqhost::LoadSceneFile(path, &error);
  if (document == nullptr) {
    // The host's message already leads with the file's name.
    throw RunError("scene " + (error.rfind(path + ": ", 0) == 0 ? error : path + ": " + error));
  }
  return document;
}

DocumentHandle LoadSceneText(const std::string& name, const std::string& text) {
  if (IsObjPath(name)) return DocumentOf(ImportObjText(name, text));
  std::string error;
  DocumentHandle document = mqhost::ParseScene(text, &error);
  if (document == nullptr) throw RunError("scene " + name + ": " + error);
  return document;
}

bool SceneNamesCamera(const std::string& path) {
  if (IsObjPath(path)) return false;
  // The host read the same file a moment ago, under the same limit.
  constexpr size_t kSceneFileLimit = 256u << 20;
  std::string text;
  std::string reason;
  if (fileio::ReadWholeFile(path, kSceneFileLimit, &text, &reason) != fileio::ReadResult::kRead) return true;
  const nlohmann::json scene = nlohmann::json::parse(text, nullptr, false);
  return !scene.is_object() || scene.contains("cameraAngle");
}

std::string ObjectNamesHint(DocumentHandle document, const std::string& given) {
  std::vector<std::string> names;
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
    if (mqhost::HasObject(document, index)) names.push_back(mqhost::GetObject(document, index).name);
  }
  return loader::ChoicesHint(given, names);
}

int32_t FindObject(DocumentHandle document, const std::string& name) {
  for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
    if (mqhost::HasObject(document, index) && mqhost::GetObject(document, index).name == name) return index;
  }
  return -1;
}

namespace {

// The first selection the command line gives for an object replaces the
// scene's; each later one for the same object adds to it.
template <typename Item>
void Select(std::vector<Item>& selection, const std::vector<Item>& chosen, std::set<int32_t>& given,
            int32_t index) {
  if (given.insert(index).second) selection.clear();
  selection.insert(selection.end(), chosen.begin(), chosen.end());
}

}  // namespace

void ApplyChoices(DocumentHandle document, const RunOptions& options) {
  std::set<int32_t> vertexGiven;
  std::set<int32_t> faceGiven;
  std::set<int32_t> lineGiven;
  if (options.currentGiven) {
    mqhost::SetCurrentObjectIndex(document, RequireObject(document, "--current", options.currentObject));
  }
  for (const IndexSelection& selection : options.vertexSelections) {
    const int32_t index = RequireObject(document, "--select-vertices", selection.object);
    mqhost::ObjectData object = mqhost::GetObject(document, index);
    for (int32_t vertex : selection.indices) {
      RequireBelow("--select-vertices", selection.object, "vertex", "the object", "vertices", vertex,
                   object.vertices.size());
    }
    Select(object.selectedVertices, selection.indices, vertexGiven, index);
    mqhost::SetObject(document, index, object);
  }
  for (const IndexSelection& selection : options.faceSelections) {
    const int32_t index = RequireObject(document, "--select-faces", selection.object);
    mqhost::ObjectData object = mqhost::GetObject(document, index);
    for (int32_t face : selection.indices) {
      RequireBelow("--select-faces", selection.object, "face", "the object", "faces", face,
                   object.faces.size());
    }
    Select(object.selectedFaces, selection.indices, faceGiven, index);
    mqhost::SetObject(document, index, object);
  }
  for (const LineSelection& selection : options.lineSelections) {
    const int32_t index = RequireObject(document, "--select-lines", selection.object);
    mqhost::ObjectData object = mqhost::GetObject(document, index);
    for (const auto& [face, edge] : selection.lines) {
      RequireBelow("--select-lines", selection.object, "face", "the object", "faces", face,
                   object.faces.size());
      const std::string owner = "face " + std::to_string(face);
      RequireBelow("--select-lines", selection.object, "edge of " + owner, owner, "edges", edge,
                   object.faces[face].size());
    }
    Select(object.selectedLines, selection.lines, lineGiven, index);
    mqhost::SetObject(document, index, object);
  }
  if (options.objectsGiven) {
    std::vector<bool> chosen(mqhost::ObjectSlotCount(document), false);
    for (const std::string& name : options.selectedObjects) {
      chosen[RequireObject(document, "--select-objects", name)] = true;
    }
    for (int32_t index = 0; index < mqhost::ObjectSlotCount(document); ++index) {
      if (!mqhost::HasObject(document, index)) continue;
      mqhost::ObjectData object = mqhost::GetObject(document, index);
      if (object.selected == chosen[index]) continue;
      object.selected = chosen[index];
      mqhost::SetObject(document, index, object);
    }
  }
}

}  // namespace runner
