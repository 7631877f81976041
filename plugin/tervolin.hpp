// The plug-in object: the one `Tervolin` a library load has, its option fields
// and its member operations. The operations are defined by their subsystems:
//   plugin/settings.cpp        OpenSettings, LoadSettings, SaveSettings
//   dialog/run_dialog.cpp      RunDialog
//   operations/execute.cpp     Execute(document), DispatchOperation, ReferenceObject
//   operations/origin.cpp      SetOriginToCenter, MoveVerticesWithOrigin, MoveVerticesWithMatrix
//   operations/axis_direction.cpp  AlignAxisTo*, ApplyAxisDirection
//   operations/axis_adjust.cpp     RotateAxis90, MirrorAxis
//   operations/copy_to_selected.cpp CopyToSelected
//   operations/clipboard.cpp   CopyAxisToClipboard, PasteAxisFromClipboard, ClearAxis
#pragma once

#include <cstdint>

#include "plugin/plugin_kinds.hpp"

struct Float3;
struct MQMatrix;

namespace cmq {
class CMQObject;
}

namespace tervolin {

class MQSetting;

inline constexpr uint32_t kProductId = 0xE3F7A830u;
inline constexpr uint32_t kPluginId = 0xBD9A187Au;
// referenceObjectId for "the current object itself".
inline constexpr uint32_t kCurrentObjectReference = 0xFFFFFFFFu;

// Operation codes chosen in the dialog.
enum OperationCode : int32_t {
  OpCenterOfVertices = 1,
  OpCenterOfObject = 2,
  OpLine = 3,
  OpFaceNormal = 4,
  OpOriginToVertex = 5,
  OpCamera = 6,
  OpCopyToSelected = 7,
  OpRotateX = 8,
  OpRotateY = 9,
  OpRotateZ = 10,
  OpMirrorX = 11,
  OpMirrorY = 12,
  OpMirrorZ = 13,
  OpClipboardCopy = 14,
  OpClipboardPaste = 15,
  OpClear = 16,
};

class Tervolin final : public MQObjectPlugin {
 public:
  Tervolin() = default;
  ~Tervolin() override = default;

  // Identity and menu.
  void GetPlugInID(uint32_t* product, uint32_t* id) override;
  const char* GetPlugInName() override;
  int32_t GetPlugInType() override;
  const char* EnumString(int32_t index) override;
  // Index 0 is the one menu entry; any other index does nothing.
  int32_t Execute(int32_t index, DocumentHandle document) override;

  // One menu pick: dialog, check of the current object, the chosen operation.
  int32_t Execute(DocumentHandle document);
  // Runs the operation in `operation` on a valid current object.
  int32_t DispatchOperation(DocumentHandle document, cmq::CMQObject& current);
  // The object whose geometry the operations read: the current object when
  // `referenceObjectId` is all bits set, else the object with that unique ID.
  cmq::CMQObject ReferenceObject(DocumentHandle document, const cmq::CMQObject& current) const;

  // The operation dialog; true when it closed with the OK result.
  bool RunDialog(DocumentHandle document);

  // Settings in the host's tree. The caller deletes what OpenSettings returns.
  MQSetting* OpenSettings();
  void LoadSettings();
  void SaveSettings();

  // Origin.
  int32_t SetOriginToCenter(DocumentHandle document, cmq::CMQObject& current, bool selectedOnly);
  // The vertex compensations. False, with no vertex moved, when a new
  // position would not be finite.
  bool MoveVerticesWithOrigin(cmq::CMQObject& current, Float3 newOrigin);
  bool MoveVerticesWithMatrix(cmq::CMQObject& object, MQMatrix& newFrame, bool mirror);

  // Axis directions. Each returns 1 when it wrote a new frame.
  int32_t AlignAxisToLine(DocumentHandle document, cmq::CMQObject& current);
  int32_t AlignAxisToFaceNormal(DocumentHandle document, cmq::CMQObject& current);
  int32_t AlignAxisToVertex(DocumentHandle document, cmq::CMQObject& current);
  int32_t AlignAxisToCamera(DocumentHandle document, cmq::CMQObject& current);
  // False (nothing written, nothing moved) when the direction gives no frame.
  bool ApplyAxisDirection(cmq::CMQObject& current, Float3 direction);

  // Quarter turns and mirrors; the axis comes from `operation`.
  int32_t RotateAxis90(cmq::CMQObject& current);
  int32_t MirrorAxis(cmq::CMQObject& current);

  int32_t CopyToSelected(DocumentHandle document, cmq::CMQObject& current);

  int32_t CopyAxisToClipboard(DocumentHandle document, cmq::CMQObject& current);
  int32_t PasteAxisFromClipboard(DocumentHandle document, cmq::CMQObject& current);
  int32_t ClearAxis(DocumentHandle document, cmq::CMQObject& current);

  // State kept between picks; see plugin/settings.cpp for what persists.
  int32_t posX = -1;
  int32_t posY = -1;
  int32_t operation = -1;
  int32_t setToX = -1;
  uint32_t referenceObjectId = kCurrentObjectReference;
  bool transformVertices = false;
  bool useGlobal = false;
  bool copyRotation = false;
  bool copyScale = false;
  bool copyTranslation = false;
};

// The one plug-in object, built on first use (thread-safe) and destroyed when
// the library is unloaded.
Tervolin& PluginInstance();

}  // namespace tervolin
