// Matrix values of the replacement host: splitting a frame matrix into scale,
// rotation angles and translation, and building one from those three triples
// (MQMatrix_FloatValue ids 257, 258, 259 and 516; the camera angle of a scene
// uses the same angle convention).
//
// Matrices are 16 floats, row-major, rows 0 to 2 the X, Y, Z axes and row 3
// the translation; points are row vectors on the left (see document.hpp).
//
// Angle convention: (heading, pitch, bank) in degrees.
//   heading turns about the Y axis (Z towards X),
//   pitch   turns about the X axis (Y towards Z),
//   bank    turns about the Z axis (X towards Y).
// With row vectors the rotation is R = Rz(bank) * Rx(pitch) * Ry(heading): a
// point is banked first, then pitched, then headed. In full:
//   row 0 = ( cb*ch + sb*sp*sh,  sb*cp, -cb*sh + sb*sp*ch)
//   row 1 = (-sb*ch + cb*sp*sh,  cb*cp,  sb*sh + cb*sp*ch)
//   row 2 = ( cp*sh,            -sp,     cp*ch)
// and the composed matrix is rows scale.x * row 0, scale.y * row 1,
// scale.z * row 2, then the translation, with the homogeneous column
// (m3, m7, m11, m15) = (0, 0, 0, 1).
//
// Decomposition answers pitch in [-90, 90], heading and bank in (-180, 180].
// When pitch is +-90 (gimbal lock) the bank is folded into the heading and
// answered as 0. Composing the decomposed triples gives the matrix back for
// every matrix whose axis rows are orthogonal and non-zero (any rotation, any
// non-zero scales, any translation), up to float rounding. A matrix with a
// negative determinant (a reflection) decomposes with exactly one negative
// scale component: that of the axis whose unit row has the smallest diagonal
// element, so that a mirror in one vertex-space axis decomposes to zero angles.
// Composing triples with positive scales and angles in the ranges above
// decomposes back to the same triples (away from gimbal lock).
//
// A sheared matrix (axis rows not orthogonal) cannot round-trip. It decomposes
// to: scale = the length of each axis row (with the reflection sign rule
// above); rotation = the orthonormal frame that keeps the direction of the X
// row and the plane of the X and Y rows (Gram-Schmidt in the order X, Y, then
// Z completing a right-handed frame). A zero axis row decomposes to scale 0;
// the rotation is then completed from the remaining rows, and is the identity
// when no row is left. The translation is always row 3 as it stands, and the
// homogeneous column is ignored.
#pragma once

#include "mqhost/api.hpp"
#include "mqhost/document.hpp"

namespace mqhost {

MQHOST_API Matrix16 ComposeMatrix(Point3 scale, Point3 angle, Point3 translation);
MQHOST_API void DecomposeMatrix(const Matrix16& matrix, Point3* scale, Point3* angle, Point3* translation);

// The inverse of a full 4x4 matrix (homogeneous column included). Answers
// false and leaves `inverse` untouched when the matrix is singular: when its
// determinant is not finite, or at most 1e-12 times the product of its row
// lengths (so the test does not depend on the overall scale).
MQHOST_API bool InvertMatrix(const Matrix16& matrix, Matrix16* inverse);

}  // namespace mqhost
