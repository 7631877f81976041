// An object's local frame as the host keeps it, and the matrix values the
// host computes for the plug-in.
//
// The frame lives in the host under three float-array ids of the object:
// LocalTranslation (771, the origin, 3 floats), LocalMatrix (772, the whole
// frame, 16 floats) and LocalInverseMatrix (773, its inverse, read only). The
// plug-in never turns angles into matrices itself: decomposition into scale,
// rotation and translation triples and composition back from them are asked
// of the host (MQMatrix_FloatValue), in the host's angle convention, which the
// camera angle of the scene shares.
#pragma once

#include "geometry/math.hpp"
#include "protocol/host_types.hpp"

namespace tervolin {

// Reads and writes of the current frame: one host call each.
Float3 ReadLocalTranslation(ObjectHandle object);
void WriteLocalTranslation(ObjectHandle object, const Float3& origin);
MQMatrix ReadLocalMatrix(ObjectHandle object);
void WriteLocalMatrix(ObjectHandle object, const MQMatrix& frame);
MQMatrix ReadLocalInverseMatrix(ObjectHandle object);

// The host's decomposition of a matrix, one triple per call.
Float3 MatrixScaleOf(const MQMatrix& matrix);
Float3 MatrixRotationOf(const MQMatrix& matrix);
Float3 MatrixTranslationOf(const MQMatrix& matrix);

// The host's composition: all sixteen elements of `target` are replaced by the
// matrix built from scale, rotation angle triple and translation.
void ComposeMatrix(MQMatrix& target, const Float3& scale, const Float3& rotation, const Float3& translation);

// Rebuilds `target` through the host from three chosen sources: the scale of
// `scaleFrom`, the rotation of `rotationFrom` and the translation of
// `translationFrom`. Any of them may be `target` itself; every source is read
// before `target` is written.
void RebuildMatrix(MQMatrix& target, const MQMatrix& scaleFrom, const MQMatrix& rotationFrom,
                   const MQMatrix& translationFrom);

// The camera of the document's scene 0 as a frame: unit scale, the camera
// angle, no translation. Row 2 is the camera's Z axis in vertex space. False,
// with `camera` untouched, when the host gives the document no scene.
bool CameraFrame(DocumentHandle document, MQMatrix* camera);

// How flat three axes may be and still count as spanning space: the volume
// they span, at most this share of the product of their lengths, is flat.
inline constexpr double kFlatFrameVolume = 1e-6;

// True when the frame's three axis rows span space, so that vertices can be
// taken into the frame's own coordinates and back: every element is finite
// and the axes are not flat (kFlatFrameVolume). The axes' lengths play no
// part: a frame of scales 1e6 and 1 is as invertible as a unit one.
bool FrameIsInvertible(const MQMatrix& frame);

// True when `frame` is invertible and the axis part of `inverse` undoes the
// axis part of `frame`: every element of their product is the identity's
// within 1e-3 of the sum of the sizes of the three terms that make it, plus a
// floor of a few float steps of the lengths of the frame's row and the
// inverse's column for elements made only of rounding. Vertices taken through
// `inverse` then land in the frame's own coordinates, not somewhere a host's
// stand-in answer for a singular frame would put them.
bool IsInverseFrame(const MQMatrix& frame, const MQMatrix& inverse);

// IsInverseFrame for the object's current LocalMatrix and LocalInverseMatrix.
// Operations ask this before they move vertices with a frame change.
bool LocalFrameIsInvertible(ObjectHandle object);

}  // namespace tervolin
