// What the runner knows of the plug-in's dialog without asking it: the sixteen
// operation codes with the captions of the buttons that choose them, the
// shortcut keys, and the captions of the other controls a scripted user may
// click. Used to check a script before the pick and to name the operation
// that a finished run chose.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace runner {

enum class ControlKind { Button, CheckBox, RadioButton };

struct OperationInfo {
  int32_t code;
  const char* caption;  // the button's caption, "&" marking the mnemonic
  const char* group;    // the group box or row it sits in
};

// The sixteen operations in code order.
const std::vector<OperationInfo>& Operations();
std::optional<OperationInfo> OperationByCode(int32_t code);
// The operation whose button has exactly this caption ("&X" rotates, "X"
// mirrors).
std::optional<OperationInfo> OperationByCaption(const std::string& caption);
// The operation a key closes the dialog with; nothing for the keys that only
// toggle or do nothing. Whether L, N, O and V act depends on their button
// being enabled, which only the dialog knows.
std::optional<int32_t> OperationByKey(int32_t keyCode, bool ctrl);

// The control a key works without Ctrl or with it: the operation's button,
// the check box it toggles, the "set to" pair it switches ("set to Y(&A)"),
// or "Cancel" for escape. Empty for a key no control answers.
std::string KeyControl(int32_t keyCode, bool ctrl);

// The kind of the clickable control with this caption, if the dialog has one.
std::optional<ControlKind> ControlByCaption(const std::string& caption);
// Every clickable caption, of one kind, for messages.
std::vector<std::string> CaptionsOf(ControlKind kind);

// The control a user's caption names: the control with exactly this caption,
// or else the one control whose caption reads the same with "&", parentheses,
// spaces and case ignored ("line" names "(&L)ine"). `ambiguous` lists the
// captions when the loose reading names several ("x": "&X" and "X").
struct CaptionMatch {
  std::string caption;  // the exact caption; empty when none or several match
  ControlKind kind = ControlKind::Button;
  std::vector<std::string> ambiguous;
};
CaptionMatch FindControl(const std::string& given);

// Which group an operation's button sits in and the key that works it
// ("Rotate, key x"), to tell apart captions that read alike ("&X", "X");
// empty for the other controls.
std::string ControlNote(const std::string& caption);

// "&" mnemonics removed: "Center of the O(&b)ject" -> "Center of the O(b)ject".
std::string WithoutMnemonic(const std::string& caption);

}  // namespace runner
