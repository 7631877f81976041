#include "widgets/controls.hpp"

#include "protocol/host_types.hpp"
#include "protocol/widget_properties.hpp"
#include "widgets/value_protocol.hpp"

namespace tervolin {

void MQFrameBase::SetAlignment(const char* keyword) {
  widget_wire::SetProperty(id, mq::kPropAlignment, keyword);
}

void MQButton::SetModalResult(int32_t result) { widget_wire::SetProperty(id, mq::kPropModalResult, &result); }

void MQButton::SetCancel() {
  const bool cancel = true;
  widget_wire::SetProperty(id, mq::kPropCancel, &cancel);
}

bool MQCheckBox::GetChecked() { return widget_wire::GetBool(id, mq::kPropChecked, false); }

void MQCheckBox::SetChecked(bool checked) { widget_wire::SetProperty(id, mq::kPropChecked, &checked); }

bool MQRadioButton::GetChecked() { return widget_wire::GetBool(id, mq::kPropChecked, false); }

void MQRadioButton::SetChecked(bool checked) { widget_wire::SetProperty(id, mq::kPropChecked, &checked); }

int32_t MQComboBox::GetCurrentIndex() { return widget_wire::GetInt(id, mq::kPropCurrentIndex, 0); }

void MQComboBox::SetCurrentIndex(int32_t index) {
  widget_wire::SetProperty(id, mq::kPropCurrentIndex, &index);
}

int32_t MQComboBox::GetItemCount() { return widget_wire::GetInt(id, mq::kPropItemCount, 0); }

int64_t MQComboBox::GetItemTag(int32_t index) {
  int64_t tag = 0;
  widget_wire::Send(id, mq::kWidgetGetValues,
                    {{mq::kItemIndexArgument, &index}, {mq::kPropItemTag.name, &tag}});
  return tag;
}

int32_t MQComboBox::AddItem(const std::u16string& text, int64_t tag) {
  int32_t result = -1;
  widget_wire::Send(id, mq::kWidgetCallMethod,
                    {{"additem", nullptr}, {"text", text.c_str()}, {"result", &result}, {"tag", &tag}});
  return result;
}

}  // namespace tervolin
