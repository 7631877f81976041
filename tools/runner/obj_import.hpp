// Wavefront OBJ geometry as host objects: every object ("o") or group ("g")
// of the file becomes one object with its own vertices and faces.
#pragma once

#include <string>
#include <vector>

#include "mqhost/document.hpp"

namespace runner {

// Throws RunError naming the file and the reason: unreadable, malformed, or a
// face that names a vertex the file does not have.
std::vector<mqhost::ObjectData> ImportObj(const std::string& path);
// The same for a file's text already read; `path` names it in messages.
std::vector<mqhost::ObjectData> ImportObjText(const std::string& path, const std::string& text);

}  // namespace runner
