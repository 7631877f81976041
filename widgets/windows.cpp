#include "widgets/windows.hpp"

#include <memory>

#include "protocol/host_types.hpp"
#include "protocol/widget_properties.hpp"
#include "widgets/value_protocol.hpp"

namespace tervolin {

MQWindowBase::~MQWindowBase() {
  // Controls go first, so that the host deletes them before their window.
  for (MQWidgetBase* widget : createdWidgets) delete widget;
  createdWidgets.clear();
}

void MQWindowBase::SetTitle(const std::u16string& title) {
  widget_wire::SetProperty(id, mq::kPropTitle, title.c_str());
}

int32_t MQWindowBase::GetPosX() { return widget_wire::GetInt(id, mq::kPropPosX, 0); }

void MQWindowBase::SetPosX(int32_t x) { widget_wire::SetProperty(id, mq::kPropPosX, &x); }

int32_t MQWindowBase::GetPosY() { return widget_wire::GetInt(id, mq::kPropPosY, 0); }

void MQWindowBase::SetPosY(int32_t y) { widget_wire::SetProperty(id, mq::kPropPosY, &y); }

template <class W>
W* MQWindowBase::Adopt() {
  // Owned here until the window holds it, so that a failed insertion deletes it.
  auto widget = std::make_unique<W>();
  createdWidgets.insert(widget.get());
  return widget.release();
}

void MQWindowBase::Place(MQWidgetBase* parent, MQWidgetBase* child) {
  if (parent != nullptr) parent->AddChild(child);
}

MQFrame* MQWindowBase::CreateHorzFrame(MQWidgetBase* parent) {
  MQFrame* frame = Adopt<MQFrame>();
  frame->SetAlignment("horz");
  Place(parent, frame);
  return frame;
}

MQFrame* MQWindowBase::CreateVertFrame(MQWidgetBase* parent) {
  MQFrame* frame = Adopt<MQFrame>();
  frame->SetAlignment("vert");
  Place(parent, frame);
  return frame;
}

namespace {
void SetText(MQWidgetBase* widget, const std::u16string& text) {
  widget_wire::SetProperty(widget->id, mq::kPropText, text.c_str());
}
}  // namespace

MQGroupBox* MQWindowBase::CreateGroupBox(MQWidgetBase* parent, const std::u16string& text) {
  MQGroupBox* box = Adopt<MQGroupBox>();
  SetText(box, text);
  Place(parent, box);
  return box;
}

MQButton* MQWindowBase::CreateButton(MQWidgetBase* parent, const std::u16string& text) {
  MQButton* button = Adopt<MQButton>();
  SetText(button, text);
  Place(parent, button);
  return button;
}

MQCheckBox* MQWindowBase::CreateCheckBox(MQWidgetBase* parent, const std::u16string& text) {
  MQCheckBox* check = Adopt<MQCheckBox>();
  SetText(check, text);
  Place(parent, check);
  return check;
}

MQRadioButton* MQWindowBase::CreateRadioButton(MQWidgetBase* parent, const std::u16string& text) {
  MQRadioButton* radio = Adopt<MQRadioButton>();
  SetText(radio, text);
  Place(parent, radio);
  return radio;
}

MQComboBox* MQWindowBase::CreateComboBox(MQWidgetBase* parent) {
  MQComboBox* combo = Adopt<MQComboBox>();
  Place(parent, combo);
  return combo;
}

MQLabel* MQWindowBase::CreateLabel(MQWidgetBase* parent, const std::u16string& text) {
  MQLabel* label = Adopt<MQLabel>();
  SetText(label, text);
  Place(parent, label);
  return label;
}

MQWindow::MQWindow(int32_t mainWindowId) {
  id = mainWindowId;
  owned = false;
  Register();
}

MQWindow MQWindow::WrapMainWindow() {
  int32_t result = -1;
  widget_wire::Send(0, mq::kWidgetSystemQuery, {{"system", "main_window"}, {"result", &result}});
  return MQWindow(result);
}

MQDialog::MQDialog(MQWindowBase& parent) : MQWindowBase("dialog") {
  const int32_t child = id;
  int32_t result = -1;
  widget_wire::Send(parent.id, mq::kWidgetAddChildWindow, {{"child", &child}, {"result", &result}});
}

int32_t MQDialog::RunModal() {
  int32_t result = 0;
  widget_wire::Send(id, mq::kWidgetWindowCommand, {{"type", "modal"}, {"result", &result}});
  return result;
}

void MQDialog::CloseWithOk() {
  widget_wire::Send(id, mq::kWidgetWindowCommand, {{"type", "close"}, {"code", "ok"}});
}

}  // namespace tervolin
