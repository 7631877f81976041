// The floors each benchmark case is measured against.
//
// Protocol floor: the very host calls the plug-in's path makes for the case,
// in the same order and number, straight through the bound table, with no
// wrappers or checks around them (Calls::PlugIn). What the plug-in costs above
// this is its own; what this costs is the protocol's.
//
// Fewest calls: the smallest sequence of host calls that gives the same frame
// and vertices (Calls::Fewest): each count and the object's index read once
// and only where a walk or a selection test needs them, positions only of the
// vertices that count, the frame and its inverse once. What the plug-in
// costs above this is what it asks more than it must.
//
// Array floor: the same arithmetic on plain arrays (bounding box, search for
// the selection, matrix transform of every vertex, selection counts), with no
// host in between.
//
// Every floor returns 1 when it did the case's work (found its selection and
// wrote a frame), as the plug-in's operations do.
#pragma once

#include <cstdint>

#include "bench/grid_scene.hpp"
#include "geometry/math.hpp"
#include "protocol/host_types.hpp"

namespace bench {

enum class Calls { PlugIn, Fewest };

// Protocol and fewest-calls floors, on the document's current object.
int32_t ProtocolCentre(DocumentHandle document, bool selectedOnly, bool transform, Calls calls);
int32_t ProtocolLine(DocumentHandle document, bool transform, Calls calls);
int32_t ProtocolFaceNormal(DocumentHandle document, bool transform, Calls calls);
int32_t ProtocolVertex(DocumentHandle document, bool transform, Calls calls);
int32_t ProtocolRotateX(DocumentHandle document, Calls calls);
int32_t ProtocolMirrorX(DocumentHandle document, Calls calls);

// Array floors. `positions` and `frame` are moved as the document's would be.
struct ArrayScene {
  const GridArrays& grid;
  const SelectionArrays& selection;
  std::vector<Float3>& positions;
  MQMatrix& frame;
};
int32_t ArrayCentre(ArrayScene scene, bool selectedOnly, bool transform);
int32_t ArrayLine(ArrayScene scene, bool transform);
int32_t ArrayFaceNormal(ArrayScene scene, bool transform);
int32_t ArrayVertex(ArrayScene scene, bool transform);
int32_t ArrayRotateX(ArrayScene scene);
int32_t ArrayMirrorX(ArrayScene scene);

// The new frame for "Y along `direction`" from `frame`, as the axis operations
// build it; false when the direction spans no frame.
bool FrameWithYAlong(const MQMatrix& frame, Float3 direction, MQMatrix* result);

}  // namespace bench

namespace bench {

// Clearing the frame to the identity, moving the vertices with it.
int32_t ProtocolClear(DocumentHandle document, Calls calls);
int32_t ArrayClear(ArrayScene scene);

// Copying the current object's whole frame to every other selected object of
// the document, moving their vertices with it.
int32_t ProtocolCopyToSelected(DocumentHandle document, Calls calls);
// The array form: `targets` holds each target's positions, moved from its
// frame in `frames` into `source`.
int32_t ArrayCopyToSelected(const GridArrays& grid, const MQMatrix& source,
                            std::vector<std::vector<Float3>>& targets, std::vector<MQMatrix>& frames);

}  // namespace bench
