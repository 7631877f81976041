// A document as the validator compares it before and after a menu pick: a
// copy of every object slot and the current object, compared bit for bit.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mqhost/document.hpp"

namespace validator {

struct DocumentCopy {
  int32_t current = -1;
  std::vector<std::optional<mqhost::ObjectData>> slots;  // nothing: an empty slot

  const mqhost::ObjectData* Current() const;
  // The object with this unique ID, or null.
  const mqhost::ObjectData* ByUniqueId(int32_t uniqueId) const;
};

DocumentCopy CopyDocument(DocumentHandle document);

bool SameBits(float a, float b);
bool SameFrame(const mqhost::Matrix16& a, const mqhost::Matrix16& b);
bool SamePoint(mqhost::Point3 a, mqhost::Point3 b);

// Empty when equal; otherwise names the first difference.
std::string Difference(const DocumentCopy& before, const DocumentCopy& after);

// Vertices some face with points uses (the ones the plug-in walks).
std::vector<bool> LiveVertices(const mqhost::ObjectData& object);

std::string FormatPoint(mqhost::Point3 p);

}  // namespace validator
