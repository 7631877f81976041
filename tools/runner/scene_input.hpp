// The scene the pick works on: read from a JSON scene file or imported from
// Wavefront OBJ, then given the current object and the selections named on
// the command line.
#pragma once

#include <string>

#include "protocol/host_types.hpp"
#include "tools/runner/options.hpp"

namespace runner {

// Whether the scene is read as Wavefront OBJ (its name ends in .obj, in any
// case); any other is read as a JSON scene.
bool IsObjPath(const std::string& path);

// A new host document. Throws RunError naming the file and the reason.
DocumentHandle LoadScene(const std::string& path);
// The same from a file's text already read (an upload): `name` says the
// format (".obj" or JSON) and names it in messages.
DocumentHandle LoadSceneText(const std::string& name, const std::string& text);

// Whether the scene file names a camera angle (an OBJ file never does). A
// scene that names none has the host's default camera, which looks straight
// down one axis: no view for a picture.
bool SceneNamesCamera(const std::string& path);

// Applies --current, --select-vertices, --select-faces, --select-lines and
// --select-objects. A selection replaces the object's selection of that kind;
// --select-objects gives exactly the named objects the selection flag.
// Throws RunError for an unknown object name or an index the object lacks.
void ApplyChoices(DocumentHandle document, const RunOptions& options);

// The object of this name (the first, when several share it), or -1.
// "; did you mean ...? The choices are ...": the scene's object names, for a
// message about a name it lacks.
std::string ObjectNamesHint(DocumentHandle document, const std::string& given);
int32_t FindObject(DocumentHandle document, const std::string& name);

}  // namespace runner
