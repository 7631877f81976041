// The local-axis operations, one per dialog code, as free functions over the
// current object and the options they read. Each returns 1 when it wrote a new
// frame, 0 when it changed nothing. Defined by subject:
//   execute.cpp           DispatchOperation, ReferenceObject
//   origin.cpp            SetOriginToCenter, MoveVerticesWithOrigin, MoveVerticesWithMatrix
//   axis_direction.cpp    AlignAxisTo*, ApplyAxisDirection
//   axis_adjust.cpp       RotateAxis90, MirrorAxis
//   copy_to_selected.cpp  CopyToSelected
//   clipboard.cpp         CopyAxisToClipboard, PasteAxisFromClipboard, ClearAxis
#pragma once

#include <cstdint>

#include "geometry/cmq_object.hpp"
#include "geometry/math.hpp"
#include "options/options.hpp"
#include "protocol/host_types.hpp"

namespace tervolin {

// Runs operation `code` on a valid current object; 0 for an unknown code.
int32_t DispatchOperation(DocumentHandle document, cmq::CMQObject& current, int32_t code,
                          const Options& options);

// The object whose geometry the operations read: the current object when
// `referenceObjectId` is all bits set, else the object with that unique ID.
cmq::CMQObject ReferenceObject(DocumentHandle document, const cmq::CMQObject& current,
                               uint32_t referenceObjectId);

// Origin.
int32_t SetOriginToCenter(DocumentHandle document, cmq::CMQObject& current, const Options& options,
                          bool selectedOnly);
// The vertex compensations. False, with no vertex moved, when a new
// position would not be finite.
bool MoveVerticesWithOrigin(cmq::CMQObject& current, Float3 newOrigin);
bool MoveVerticesWithMatrix(cmq::CMQObject& object, MQMatrix& newFrame, bool mirror);

// Axis directions.
int32_t AlignAxisToLine(DocumentHandle document, cmq::CMQObject& current, const Options& options);
int32_t AlignAxisToFaceNormal(DocumentHandle document, cmq::CMQObject& current, const Options& options);
int32_t AlignAxisToVertex(DocumentHandle document, cmq::CMQObject& current, const Options& options);
int32_t AlignAxisToCamera(DocumentHandle document, cmq::CMQObject& current, const Options& options);
// False (nothing written, nothing moved) when the direction gives no frame.
bool ApplyAxisDirection(cmq::CMQObject& current, Float3 direction, const Options& options);

// Quarter turns and mirrors; `code` picks the axis (OpRotateX.. or OpMirrorX..).
int32_t RotateAxis90(cmq::CMQObject& current, int32_t code, const Options& options);
int32_t MirrorAxis(cmq::CMQObject& current, int32_t code, const Options& options);

int32_t CopyToSelected(DocumentHandle document, cmq::CMQObject& current, const Options& options);

int32_t CopyAxisToClipboard(DocumentHandle document, cmq::CMQObject& current, const Options& options);
int32_t PasteAxisFromClipboard(DocumentHandle document, cmq::CMQObject& current, const Options& options);
int32_t ClearAxis(DocumentHandle document, cmq::CMQObject& current, const Options& options);

}  // namespace tervolin
