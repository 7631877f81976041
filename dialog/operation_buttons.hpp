// The dialog's sixteen operation buttons in one table: the operation's code,
// the dialog member that holds its button, the caption, the group it sits in,
// its shortcut keys and the selection it needs to be enabled. The dialog
// builds the buttons, answers their clicks and keys, and enables them from
// this table alone; the codes themselves are options/options.hpp's.
#pragma once

#include <cstdint>

#include "dialog/tervolin_dialog.hpp"
#include "options/options.hpp"

namespace tervolin {

// Where a button sits in the dialog, in the order the dialog is built. Each
// group's buttons are made together, in table order, when its box or row is.
enum class ButtonGroup : uint8_t {
  SetOrigin,  // box "set origin"
  SetAxis,    // box "set axis", above the set-to radio buttons
  Copy,       // box "copy to selected objects", before its check boxes
  Rotate,     // row "Rotate" of box "axis"
  Mirror,     // row "Mirror" of box "axis", before "(&g)lobal"
  Clipboard,  // box "clipboard"
  Bottom,     // the bottom row, after the clipboard box
};

// What the reference object's selection must hold for a button to be
// enabled. Buttons with any other rule are always enabled, and their keys act
// without asking the host whether they are.
enum class EnablingRule : uint8_t {
  Always,
  AnyVertex,             // at least one selected vertex
  TwoVerticesOrOneLine,  // exactly two selected vertices, or exactly one line
  ThreeVerticesOrOneFace,
  OneVertex,
};

// The selection counts the rules compare; a walk may stop once a count can
// change no rule (reference_list.cpp), so counts past those are "at least".
struct SelectionCounts {
  int32_t vertices = 0;
  int32_t faces = 0;
  // Selected face edges; an edge shared by two faces counts once per face
  // that reports it selected.
  int32_t lines = 0;
};

constexpr bool IsEnabled(EnablingRule rule, const SelectionCounts& counts) {
  switch (rule) {
    case EnablingRule::Always: return true;
    case EnablingRule::AnyVertex: return counts.vertices > 0;
    case EnablingRule::TwoVerticesOrOneLine: return counts.vertices == 2 || counts.lines == 1;
    case EnablingRule::ThreeVerticesOrOneFace: return counts.vertices == 3 || counts.faces == 1;
    case EnablingRule::OneVertex: return counts.vertices == 1;
  }
  return true;
}

struct OperationButton {
  OperationCode code;
  MQButton* TervolinDialog::*button;
  const char16_t* caption;
  ButtonGroup group;
  // The key that chooses the operation, and the one that chooses it with
  // Ctrl (which wins over whatever the plain key chose); 0 for none.
  char key;
  char ctrlKey;
  EnablingRule rule;
};

// In code order, which is also the order the buttons are created in.
inline constexpr OperationButton kOperationButtons[] = {
    {OpCenterOfVertices, &TervolinDialog::centerOfVerticesButton, u"Center of (&V)ertexes",
     ButtonGroup::SetOrigin, 'V', 0, EnablingRule::AnyVertex},
    {OpCenterOfObject, &TervolinDialog::centerOfObjectButton, u"Center of the O(&b)ject",
     ButtonGroup::SetOrigin, 'B', 0, EnablingRule::Always},
    {OpLine, &TervolinDialog::lineButton, u"(&L)ine", ButtonGroup::SetAxis, 'L', 0,
     EnablingRule::TwoVerticesOrOneLine},
    {OpFaceNormal, &TervolinDialog::faceNormalButton, u"(&N)ormal of a Face", ButtonGroup::SetAxis, 'N', 0,
     EnablingRule::ThreeVerticesOrOneFace},
    {OpOriginToVertex, &TervolinDialog::originToVertexButton, u"(&O)rigin to Vertex", ButtonGroup::SetAxis,
     'O', 0, EnablingRule::OneVertex},
    {OpCamera, &TervolinDialog::cameraButton, u"(&C)amera", ButtonGroup::SetAxis, 'C', 0,
     EnablingRule::Always},
    {OpCopyToSelected, &TervolinDialog::copyButton, u"Copy", ButtonGroup::Copy, 0, 0, EnablingRule::Always},
    {OpRotateX, &TervolinDialog::rotateXButton, u"&X", ButtonGroup::Rotate, 'X', 0, EnablingRule::Always},
    {OpRotateY, &TervolinDialog::rotateYButton, u"&Y", ButtonGroup::Rotate, 'Y', 0, EnablingRule::Always},
    {OpRotateZ, &TervolinDialog::rotateZButton, u"&Z", ButtonGroup::Rotate, 'Z', 0, EnablingRule::Always},
    {OpMirrorX, &TervolinDialog::mirrorXButton, u"X", ButtonGroup::Mirror, 0, 0, EnablingRule::Always},
    {OpMirrorY, &TervolinDialog::mirrorYButton, u"Y", ButtonGroup::Mirror, 0, 0, EnablingRule::Always},
    {OpMirrorZ, &TervolinDialog::mirrorZButton, u"Z", ButtonGroup::Mirror, 0, 0, EnablingRule::Always},
    {OpClipboardCopy, &TervolinDialog::clipboardCopyButton, u"S", ButtonGroup::Clipboard, 0, 'C',
     EnablingRule::Always},
    {OpClipboardPaste, &TervolinDialog::clipboardPasteButton, u"R", ButtonGroup::Clipboard, 0, 'V',
     EnablingRule::Always},
    {OpClear, &TervolinDialog::clearButton, u"Clear", ButtonGroup::Bottom, 0, 0, EnablingRule::Always},
};

}  // namespace tervolin
