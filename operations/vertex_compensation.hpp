// The vertex compensation of a whole-frame change ("Trans(&f)orm"), planned
// without writing: copy to selected plans every target's moves before it
// writes the first, so that one target whose vertices would leave the float
// range stops the whole operation with nothing changed.
#pragma once

#include "geometry/cmq_object.hpp"
#include "geometry/math.hpp"
#include "geometry/vertex_moves.hpp"

namespace tervolin {

// Plans what MoveVerticesWithMatrix(object, newFrame, mirror) writes (see
// there); `newFrame` is the scratch copy it overwrites. When the object's
// current frame is flat nothing is planned and the vertices stay. False when
// the host's inverse does not undo a regular frame, or a moved vertex would
// not be finite.
bool PlanVerticesWithMatrix(const cmq::CMQObject& object, MQMatrix& newFrame, bool mirror,
                            cmq::VertexMoves& moves);

}  // namespace tervolin
