// A picture of the dialog the plug-in built, for reviewers: its widget tree
// laid out by the frames' alignments and drawn as SVG, with captions, combo
// boxes (closed, or open with their items), and the enabled and checked
// states.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace runner {

// One widget of the tree, as the host saw it.
struct DialogNode {
  std::string
      className;  // "dialog", "frame", "groupbox", "button", "checkbox", "radiobutton", "combobox", "label"
  std::string caption;  // UTF-8, "&" marking the mnemonic
  bool enabled = true;
  bool checked = false;
  std::string alignment;   // "horz", "vert", or "" (the host's default: vertical)
  std::string horzLayout;  // "fill" to take the row's spare width
  std::vector<std::string> items;
  int32_t currentIndex = -1;
  std::vector<DialogNode> children;
};

// `listsOpen`: combo boxes drawn with their item lists open below them;
// otherwise closed, showing the current entry. `marked`: the caption of the
// button the user chose, drawn with a highlighted frame.
std::string DialogSvg(const DialogNode& dialog, bool listsOpen = false, const std::string& marked = "");

// The tree of the last dialog the plug-in ran, from the host, as it was when
// it closed (as it opened, if the host has no closing tree). False when the
// host has none (no dialog ran, or this host build keeps no snapshot).
bool LastDialogTree(DialogNode* dialog);

}  // namespace runner
