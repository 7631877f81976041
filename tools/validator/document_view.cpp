#include "document_view.hpp"

#include <cstdio>
#include <cstring>

namespace validator {

const mqhost::ObjectData* DocumentCopy::Current() const {
  if (current < 0 || static_cast<size_t>(current) >= slots.size() || !slots[static_cast<size_t>(current)]) {
    return nullptr;
  }
  return &*slots[static_cast<size_t>(current)];
}

const mqhost::ObjectData* DocumentCopy::ByUniqueId(int32_t uniqueId) const {
  for (const auto& slot : slots) {
    if (slot && slot->uniqueId == uniqueId) return &*slot;
  }
  return nullptr;
}

DocumentCopy CopyDocument(DocumentHandle document) {
  DocumentCopy copy;
  copy.current = mqhost::CurrentObjectIndex(document);
  const int32_t count = mqhost::ObjectSlotCount(document);
  for (int32_t i = 0; i < count; ++i) {
    if (mqhost::HasObject(document, i)) {
      copy.slots.emplace_back(mqhost::GetObject(document, i));
    } else {
      copy.slots.emplace_back();
    }
  }
  return copy;
}

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool SameFrame(const mqhost::Matrix16& a, const mqhost::Matrix16& b) {
  return std::memcmp(a.data(), b.data(), sizeof(float) * 16) == 0;
}

bool SamePoint(mqhost::Point3 a, mqhost::Point3 b) {
  return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

std::string FormatPoint(mqhost::Point3 p) {
  char text[96];
  std::snprintf(text, sizeof text, "(%.9g, %.9g, %.9g)", p.x, p.y, p.z);
  return text;
}

std::string Difference(const DocumentCopy& before, const DocumentCopy& after) {
  if (before.current != after.current) return "the current object changed";
  if (before.slots.size() != after.slots.size()) return "the number of object slots changed";
  for (size_t i = 0; i < before.slots.size(); ++i) {
    const std::string where = "object " + std::to_string(i);
    const auto& a = before.slots[i];
    const auto& b = after.slots[i];
    if (a.has_value() != b.has_value()) return where + ": the slot was filled or emptied";
    if (!a) continue;
    if (a->name != b->name || a->uniqueId != b->uniqueId || a->selected != b->selected) {
      return where + ": name, unique ID or selection flag changed";
    }
    if (!SameFrame(a->frame, b->frame)) return where + ": the frame changed";
    if (a->vertices.size() != b->vertices.size()) return where + ": the vertex count changed";
    for (size_t v = 0; v < a->vertices.size(); ++v) {
      if (!SamePoint(a->vertices[v], b->vertices[v])) {
        return where + ": vertex " + std::to_string(v) + " moved from " + FormatPoint(a->vertices[v]) +
               " to " + FormatPoint(b->vertices[v]);
      }
    }
    if (a->faces != b->faces || a->selectedVertices != b->selectedVertices ||
        a->selectedLines != b->selectedLines || a->selectedFaces != b->selectedFaces) {
      return where + ": faces or selections changed";
    }
  }
  return std::string();
}

std::vector<bool> LiveVertices(const mqhost::ObjectData& object) {
  std::vector<bool> live(object.vertices.size(), false);
  for (const auto& face : object.faces) {
    for (const int32_t v : face) {
      if (v >= 0 && static_cast<size_t>(v) < live.size()) live[static_cast<size_t>(v)] = true;
    }
  }
  return live;
}

}  // namespace validator
