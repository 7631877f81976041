// Scene files in JSON: reading one into a new host document and writing a
// document back out.
#pragma once

#include <string>

#include "plugin/host_types.hpp"

namespace runner {

// A new document holding the scene, or null with `error` naming the field and
// the reason.
DocumentHandle ParseJsonScene(const std::string& text, std::string* error);
// The document as scene-file text.
std::string JsonSceneText(DocumentHandle document);

}  // namespace runner
