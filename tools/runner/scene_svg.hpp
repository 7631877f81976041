// A picture of the pick's object for reviewers: titled with the operation
// that ran, the current object's wireframe in a fixed three-quarter view (or
// the scene camera's view), its frame's axes before the pick (thin, dashed)
// and after it (solid), X red, Y green, Z blue, both on a white halo so that
// an edge under them cannot hide them; the selection the operation read,
// highlighted under the axes; the vertices' old places where they moved; the
// reference object when it is another one; and every other object the pick
// changed (a copy to selected objects), with its axes. Drawn as SVG; every
// element carries a class ("axis after Y", "selected line", ...) so that
// tests can read it by the numbers.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "mqhost/document.hpp"

namespace runner {

struct ScenePicture {
  mqhost::ObjectData before;                    // the current object before the pick
  mqhost::ObjectData after;                     // and after it
  std::optional<mqhost::ObjectData> reference;  // the reference object, when not the current one
  // The scene's camera angle, to draw the object as the camera sees it (its X
  // axis to the right, its Y axis up); nothing: the fixed view.
  std::optional<mqhost::Point3> cameraAngle;
  // The other objects the pick changed, before and after.
  std::vector<std::pair<mqhost::ObjectData, mqhost::ObjectData>> others;
  std::string title;  // the operation that ran, drawn above the picture
  // Whether the operation read the selection (vertices, a line, a face).
  bool selectionRead = true;
};

std::string SceneSvg(const ScenePicture& picture);

}  // namespace runner
