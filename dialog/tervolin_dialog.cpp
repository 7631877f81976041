// The operation dialog's widget tree and its click and key handlers.
#include "dialog/tervolin_dialog.hpp"

#include <clocale>

#include "dialog/operation_buttons.hpp"

namespace tervolin {

TervolinDialog::TervolinDialog(MQWindowBase& parent) : MQDialog(parent) {
  // Object names reach the reference list through the runtime's multibyte
  // conversion, which follows the character-type locale.
  std::setlocale(LC_CTYPE, "");

  SetTitle(u"Tervolin");
  SetInSpace(0.0);
  SetOutSpace(0.0);

  MQFrame* mainColumn = CreateVertFrame(this);

  MQFrame* referenceRow = CreateHorzFrame(mainColumn);
  CreateLabel(referenceRow, u"Reference object");
  referenceCombo = CreateComboBox(referenceRow);
  referenceCombo->SetHorzLayout("fill");
  referenceCombo->AddExecuteHandler(this, &TervolinDialog::UpdateButtonStates);

  MQGroupBox* originGroup = CreateGroupBox(mainColumn, u"set origin");
  CreateOperationButtons(ButtonGroup::SetOrigin, originGroup);

  MQGroupBox* axisGroup = CreateGroupBox(mainColumn, u"set axis");
  CreateOperationButtons(ButtonGroup::SetAxis, axisGroup);
  MQFrame* setToRow = CreateHorzFrame(axisGroup);
  setToYRadio = CreateRadioButton(setToRow, u"set to Y(&A)");
  setToYRadio->AddExecuteHandler(this, &TervolinDialog::OnSetToRadio);
  setToYRadio->SetChecked(true);
  setToYRadio->SetFillBeforeRate(0.2);
  setToXRadio = CreateRadioButton(setToRow, u"set to X");
  setToXRadio->AddExecuteHandler(this, &TervolinDialog::OnSetToRadio);
  setToXRadio->SetFillAfterRate(0.2);

  MQGroupBox* copyGroup = CreateGroupBox(mainColumn, u"copy to selected objects");
  copyGroup->SetAlignment("horz");
  CreateOperationButtons(ButtonGroup::Copy, copyGroup);
  copyRotateCheck = CreateCheckBox(copyGroup, u"(&R)otate");
  copyScaleCheck = CreateCheckBox(copyGroup, u"(&S)cale");
  copyTransCheck = CreateCheckBox(copyGroup, u"(&T)rans");

  MQGroupBox* adjustGroup = CreateGroupBox(mainColumn, u"axis");
  MQFrame* rotateRow = CreateHorzFrame(adjustGroup);
  CreateLabel(rotateRow, u"Rotate");
  CreateOperationButtons(ButtonGroup::Rotate, rotateRow);
  MQFrame* mirrorRow = CreateHorzFrame(adjustGroup);
  CreateLabel(mirrorRow, u"Mirror");
  CreateOperationButtons(ButtonGroup::Mirror, mirrorRow);
  globalCheck = CreateCheckBox(mirrorRow, u"(&g)lobal");

  MQFrame* bottomRow = CreateHorzFrame(mainColumn);
  MQGroupBox* clipboardGroup = CreateGroupBox(bottomRow, u"clipboard");
  MQFrame* clipboardRow = CreateHorzFrame(clipboardGroup);
  CreateOperationButtons(ButtonGroup::Clipboard, clipboardRow);
  CreateOperationButtons(ButtonGroup::Bottom, bottomRow);
  transformCheck = CreateCheckBox(bottomRow, u"Trans(&f)orm");
  MQButton* cancelButton = CreateButton(bottomRow, u"Cancel");
  cancelButton->SetCancel();
  cancelButton->SetModalResult(kModalCancel);

  AddKeyDownHandler(this, &TervolinDialog::OnKeyDown);
}

void TervolinDialog::CreateOperationButtons(ButtonGroup group, MQWidgetBase* parent) {
  for (const OperationButton& entry : kOperationButtons) {
    if (entry.group != group) continue;
    MQButton* button = CreateButton(parent, entry.caption);
    button->AddExecuteHandler(this, &TervolinDialog::OnOperationButton);
    button->SetModalResult(kModalOk);
    this->*entry.button = button;
  }
}

int32_t TervolinDialog::OnOperationButton(MQWidgetBase* sender, DocumentHandle /*document*/) {
  for (const OperationButton& entry : kOperationButtons) {
    if (sender == this->*entry.button) {
      chosenOperation = entry.code;
      break;
    }
  }
  // The button's modal result closes the dialog; nothing to do here.
  return 0;
}

int32_t TervolinDialog::OnSetToRadio(MQWidgetBase* sender, DocumentHandle /*document*/) {
  // The host does not group the two radio buttons: this keeps them exclusive.
  setToXRadio->SetChecked(sender == setToXRadio);
  setToYRadio->SetChecked(sender == setToYRadio);
  return 0;
}

void TervolinDialog::ChooseAndClose(int32_t code) {
  chosenOperation = code;
  CloseWithOk();
}

void TervolinDialog::ToggleChecked(MQCheckBox* check) { check->SetChecked(!check->GetChecked()); }

int32_t TervolinDialog::OnKeyDown(MQWidgetBase* /*sender*/, DocumentHandle document, KeyEventInfo& info) {
  switch (info.keyCode) {
    case 'A':
      if (setToXRadio->GetChecked()) {
        OnSetToRadio(setToYRadio, document);
      } else {
        OnSetToRadio(setToXRadio, document);
      }
      return 0;
    case 'F': ToggleChecked(transformCheck); return 0;
    case 'G': ToggleChecked(globalCheck); return 0;
    case 'R': ToggleChecked(copyRotateCheck); return 0;
    case 'S': ToggleChecked(copyScaleCheck); return 0;
    case 'T': ToggleChecked(copyTransCheck); return 0;
    default: break;
  }
  for (const OperationButton& entry : kOperationButtons) {
    if (entry.key == 0 || entry.key != info.keyCode) continue;
    // Only a button that can be disabled is asked whether it is.
    if (entry.rule == EnablingRule::Always || (this->*entry.button)->GetEnabled()) ChooseAndClose(entry.code);
    break;
  }
  // With Ctrl, C and V are the clipboard: they win over whatever the plain
  // letter chose.
  if (info.ctrlKey) {
    for (const OperationButton& entry : kOperationButtons) {
      if (entry.ctrlKey != 0 && entry.ctrlKey == info.keyCode) ChooseAndClose(entry.code);
    }
  }
  return 0;
}

}  // namespace tervolin
