// Writing scene files: the document as JSON text in the layout of
// docs/scene-format.md, every float as the shortest text that reads back as
// the same float. A document holding a value that is not finite is refused,
// naming the field.
#include <charconv>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
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

  std::string reason;
  if (!fileio::ReplaceWholeFile(path, text, &reason)) return fail(reason);
  return true;
}

}  // namespace mqhost
