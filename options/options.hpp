// What the operation dialog edits, the settings keep between picks and the
// operations read: one value, handed down from the plug-in object. Also the
// codes of the sixteen operations the dialog offers, and the interface through
// which the dialog loads and saves the options while its widgets exist.
#pragma once

#include <cstdint>

namespace tervolin {

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

// Which frame axis the direction operations (codes 3 to 6) set: the dialog's
// "set to Y(&A)" and "set to X".
enum class AxisToSet : int32_t { Y = 0, X = 1 };

struct Options {
  // The dialog's position; -1 until it has one.
  int32_t posX = -1;
  int32_t posY = -1;
  // Not kept between picks: the dialog starts at Y every time. Before a
  // dialog has run the direction operations set X.
  AxisToSet axisToSet = AxisToSet::X;
  // The object the operations read, by unique ID.
  uint32_t referenceObjectId = kCurrentObjectReference;
  bool transformVertices = false;  // "Trans(&f)orm": vertices move with the frame
  bool useGlobal = false;          // "(&g)lobal": mirrors reflect the origin too
  bool copyRotation = false;       // what copy to selected and paste carry over
  bool copyScale = false;
  bool copyTranslation = false;
};

// Where the options persist. The dialog loads them once its widgets exist and
// saves them before it deletes them, whatever closed it.
class OptionsStore {
 public:
  virtual ~OptionsStore() = default;
  virtual void LoadSettings(Options& options) = 0;
  virtual void SaveSettings(const Options& options) = 0;
};

}  // namespace tervolin
