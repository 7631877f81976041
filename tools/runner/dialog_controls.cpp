#include "tools/runner/dialog_controls.hpp"

#include <cctype>

namespace runner {

namespace {

struct NamedControl {
  const char* caption;
  ControlKind kind;
};

// The dialog's captions, here and in Operations(), are the runner's own copy,
// kept apart from the plug-in's table on purpose: the report names what the
// user clicked by this list, so a wrong caption or code in the plug-in shows
// up instead of agreeing with itself.
//
// The controls that are not operation buttons.
const NamedControl kOtherControls[] = {
    {"Cancel", ControlKind::Button},
    {"(&R)otate", ControlKind::CheckBox},
    {"(&S)cale", ControlKind::CheckBox},
    {"(&T)rans", ControlKind::CheckBox},
    {"(&g)lobal", ControlKind::CheckBox},
    {"Trans(&f)orm", ControlKind::CheckBox},
    {"set to Y(&A)", ControlKind::RadioButton},
    {"set to X", ControlKind::RadioButton},
};

}  // namespace

const std::vector<OperationInfo>& Operations() {
  static const std::vector<OperationInfo> operations = {
      {1, "Center of (&V)ertexes", "set origin"},
      {2, "Center of the O(&b)ject", "set origin"},
      {3, "(&L)ine", "set axis"},
      {4, "(&N)ormal of a Face", "set axis"},
      {5, "(&O)rigin to Vertex", "set axis"},
      {6, "(&C)amera", "set axis"},
      {7, "Copy", "copy to selected objects"},
      {8, "&X", "Rotate"},
      {9, "&Y", "Rotate"},
      {10, "&Z", "Rotate"},
      {11, "X", "Mirror"},
      {12, "Y", "Mirror"},
      {13, "Z", "Mirror"},
      {14, "S", "clipboard"},
      {15, "R", "clipboard"},
      {16, "Clear", "bottom row"},
  };
  return operations;
}

std::optional<OperationInfo> OperationByCode(int32_t code) {
  for (const OperationInfo& operation : Operations()) {
    if (operation.code == code) return operation;
  }
  return std::nullopt;
}

std::optional<OperationInfo> OperationByCaption(const std::string& caption) {
  for (const OperationInfo& operation : Operations()) {
    if (caption == operation.caption) return operation;
  }
  return std::nullopt;
}

std::optional<int32_t> OperationByKey(int32_t keyCode, bool ctrl) {
  if (ctrl && keyCode == 'C') return 14;
  if (ctrl && keyCode == 'V') return 15;
  switch (keyCode) {
    case 'V': return 1;
    case 'B': return 2;
    case 'L': return 3;
    case 'N': return 4;
    case 'O': return 5;
    case 'C': return 6;
    case 'X': return 8;
    case 'Y': return 9;
    case 'Z': return 10;
    default: return std::nullopt;
  }
}

std::optional<ControlKind> ControlByCaption(const std::string& caption) {
  if (OperationByCaption(caption)) return ControlKind::Button;
  for (const NamedControl& control : kOtherControls) {
    if (caption == control.caption) return control.kind;
  }
  return std::nullopt;
}

std::vector<std::string> CaptionsOf(ControlKind kind) {
  std::vector<std::string> captions;
  if (kind == ControlKind::Button) {
    for (const OperationInfo& operation : Operations()) captions.emplace_back(operation.caption);
  }
  for (const NamedControl& control : kOtherControls) {
    if (control.kind == kind) captions.emplace_back(control.caption);
  }
  return captions;
}

namespace {

std::string Loose(const std::string& caption) {
  std::string loose;
  for (const char c : caption) {
    if (c == '&' || c == '(' || c == ')' || c == ' ') continue;
    loose += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return loose;
}

}  // namespace

CaptionMatch FindControl(const std::string& given) {
  CaptionMatch match;
  if (const std::optional<ControlKind> kind = ControlByCaption(given)) {
    match.caption = given;
    match.kind = *kind;
    return match;
  }
  std::vector<std::string> found;
  for (const ControlKind kind : {ControlKind::Button, ControlKind::CheckBox, ControlKind::RadioButton}) {
    for (const std::string& caption : CaptionsOf(kind)) {
      if (Loose(caption) != Loose(given) || Loose(given).empty()) continue;
      found.push_back(caption);
      match.kind = kind;
    }
  }
  if (found.size() == 1) {
    match.caption = found.front();
  } else if (found.size() > 1) {
    match.ambiguous = found;
  }
  return match;
}

std::string WithoutMnemonic(const std::string& caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&&" stands for a literal "&".
    if (caption[i] == '&' && i + 1 < caption.size()) {
      ++i;
    }
    plain += caption[i];
  }
  return plain;
}

}  // namespace runner
