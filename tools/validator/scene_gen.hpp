// Random scenes for the menu picks: a document of a few object slots with
// degenerate cases mixed in (empty objects, faces of one and two points and
// removed faces, coincident vertices, vertices no face uses, deleted slots,
// huge and tiny coordinates and ones near the float limit, singular and
// mirrored frames, frames whose scales or origin reach the float limit), random
// selections, a random current object and camera.
#pragma once

#include <string>
#include <vector>

#include "mqhost/document.hpp"
#include "rng.hpp"

namespace validator {

struct SceneSpec {
  int maxObjects = 5;
  int maxVertices = 14;
  int maxFaces = 8;
  bool farOrigins = true;  // frames whose origin is 1e13 to 1e30 away
};

// Builds the document (the host's active document) and returns it. `notes`
// gets one short word per degenerate case used, for the failure messages.
DocumentHandle GenerateScene(Rng& rng, const SceneSpec& spec, std::string* notes);

// A random frame: identity, rotation and scale, a mirror, a singular or
// sheared one, or one whose scales or origin reach the float limit.
mqhost::Matrix16 RandomFrame(Rng& rng, std::string* notes, bool farOrigins = true);

}  // namespace validator
