// The control classes a window creates: frames, group boxes, buttons, check
// boxes, radio buttons, combo boxes and labels, with their properties. Each
// accessor is one request to the control's id; a get returns the default when
// the host writes nothing.
#pragma once

#include <cstdint>
#include <string>

#include "widgets/widget_base.hpp"

namespace tervolin {

// A layout box. "alignment" is "horz" or "vert".
class MQFrameBase : public MQWidgetBase {
 public:
  void SetAlignment(const char* keyword);

 protected:
  explicit MQFrameBase(const char* keyword) : MQWidgetBase(keyword) {}
};

class MQFrame : public MQFrameBase {
 public:
  MQFrame() : MQFrameBase("frame") {}
};

class MQGroupBox : public MQFrameBase {
 public:
  MQGroupBox() : MQFrameBase("groupbox") {}
};

class MQButton : public MQWidgetBase {
 public:
  MQButton() : MQWidgetBase("button") {}
  // A click ends the dialog's modal run with `result` (1 OK, 2 cancel).
  void SetModalResult(int32_t result);
  // Makes this the dialog's cancel button ("cancel" = true).
  void SetCancel();
};

class MQCheckBox : public MQWidgetBase {
 public:
  MQCheckBox() : MQWidgetBase("checkbox") {}
  bool GetChecked();
  void SetChecked(bool checked);
};

class MQRadioButton : public MQWidgetBase {
 public:
  MQRadioButton() : MQWidgetBase("radiobutton") {}
  bool GetChecked();
  void SetChecked(bool checked);
};

// A drop-down list whose items carry a 64-bit tag each.
class MQComboBox : public MQWidgetBase {
 public:
  MQComboBox() : MQWidgetBase("combobox") {}
  int32_t GetCurrentIndex();
  void SetCurrentIndex(int32_t index);
  int32_t GetItemCount();
  // The tag of item `index`; 0 when the host does not answer.
  int64_t GetItemTag(int32_t index);
  // Appends an item; the host's "result" (-1 when it writes none). The tag is
  // 64 bits wide: pass unsigned 32-bit values as they are, widened with zeros.
  int32_t AddItem(const std::u16string& text, int64_t tag);
};

class MQLabel : public MQWidgetBase {
 public:
  MQLabel() : MQWidgetBase("label") {}
};

}  // namespace tervolin
