// Moving an object's vertices with a change of its frame, for operations that
// have read the frame and its inverse already (the vertex compensation of
// "Trans(&f)orm"; MoveVerticesWithMatrix reads them itself). Every new
// position is computed before the first is written: a move that would put a
// vertex outside the float range moves nothing and answers false.
#pragma once

#include "geometry/math.hpp"
#include "geometry/object_view.hpp"
#include "geometry/vertex_moves.hpp"

namespace tervolin {

// Plans taking every live vertex from `frame` (whose inverse is `inverse`; the
// caller has checked it with IsInverseFrame) to `newFrame`, which is first
// rebuilt through the host as MoveVerticesWithMatrix rebuilds it, mirror flag
// and all. False when a moved vertex would not be finite.
bool PlanVerticesBetweenFrames(const cmq::ObjectView& object, const MQMatrix& frame, const MQMatrix& inverse,
                               MQMatrix& newFrame, bool mirror, cmq::VertexMoves& moves);

// Plans and writes those moves; false, with nothing moved, as above.
bool MoveVerticesBetweenFrames(const cmq::ObjectView& object, const MQMatrix& frame, const MQMatrix& inverse,
                               MQMatrix& newFrame, bool mirror);

}  // namespace tervolin
