// Moving an object's vertices with a change of its frame, for operations that
// have read the frame and its inverse already (the vertex compensation of
// "Trans(&f)orm"; Tervolin::MoveVerticesWithMatrix reads them itself).
#pragma once

#include "geometry/math.hpp"
#include "geometry/object_view.hpp"

namespace tervolin {

// Takes every live vertex from `frame` (whose inverse is `inverse`; the caller
// has checked it with IsInverseFrame) to `newFrame`, which is first rebuilt
// through the host as MoveVerticesWithMatrix rebuilds it, mirror flag and all.
void MoveVerticesBetweenFrames(const cmq::ObjectView& object, const MQMatrix& frame, const MQMatrix& inverse,
                               MQMatrix& newFrame, bool mirror);

}  // namespace tervolin
