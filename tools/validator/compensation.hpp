// Where the plug-in's "Trans(&f)orm" option must put each vertex when it
// changes a frame, computed independently of the plug-in from the old frame L
// and the new frame N that the document holds before and after:
//
//   origin moves (centre of vertices / of the object): p + (o' - o), in float,
//   exactly as the plug-in adds it, so the check is exact;
//   frame changes: p * L^-1 * N', N' recomposed from the host's split of N and
//   L (scale and translation from N for mirrors, copy, paste and clear, else
//   from L; rotation from N). L^-1 is the exact inverse of the affine frame,
//   computed here in double (not the host's answer). When L's axes do not
//   span space there are no frame coordinates to keep: the vertices stay
//   where they are (the plug-in's chosen behaviour). Compared with a
//   tolerance (see kRelativeTolerance).
#pragma once

#include "mqhost/document.hpp"

namespace validator {

// The kinds of vertex motion an operation makes.
enum class Motion { None, Origin, Frame, FrameMirror };

// The motion of operation code 1 to 16 (None for 14 and unknown codes).
Motion MotionOfOperation(int operation);

mqhost::Point3 ExpectedAfterOriginMove(mqhost::Point3 p, mqhost::Point3 oldOrigin, mqhost::Point3 newOrigin);

struct Expected {
  double position[3];
  double tolerance[3];  // per component
};

// The relative tolerance of a frame compensation: 2e-5 of the largest sum of
// the magnitudes that make up a component of p * L^-1 * N' (float rounding of
// the plug-in's product and transform stays below 1e-6 of it), plus 1e-30
// absolute. A wrong formula is off by the order of the values themselves.
inline constexpr double kRelativeTolerance = 2e-5;

// The two matrices of one frame change, prepared once per object.
struct FrameChange {
  bool moves = false;                // false when L's axes do not span space
  double inverse[16] = {};           // L^-1
  mqhost::Matrix16 recomposed = {};  // N'
};
FrameChange PrepareFrameChange(const mqhost::Matrix16& oldFrame, const mqhost::Matrix16& newFrame,
                               bool mirror);
Expected ExpectedAfter(const FrameChange& change, mqhost::Point3 p);

Expected ExpectedAfterFrameChange(mqhost::Point3 p, const mqhost::Matrix16& oldFrame,
                                  const mqhost::Matrix16& newFrame, bool mirror);

bool Within(const Expected& expected, mqhost::Point3 actual);

// True when the frame is finite in all sixteen elements.
bool IsFinite(const mqhost::Matrix16& frame);
// True when the frame's three axis rows do not span space: a value is not
// finite, or |det| is at most 1e-6 of the product of the axis lengths. The
// origin plays no part.
bool IsSingular(const mqhost::Matrix16& frame);

}  // namespace validator
