// The operation dialog's widget tree and its click and key handlers.
#include "dialog/tervolin_dialog.hpp"

#include <clocale>
#include <utility>

namespace tervolin {

namespace {
constexpr int32_t kModalOk = 1;
constexpr int32_t kModalCancel = 2;
}  // namespace

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
  centerOfVerticesButton = CreateOperationButton(originGroup, u"Center of (&V)ertexes");
  centerOfObjectButton = CreateOperationButton(originGroup, u"Center of the O(&b)ject");

  MQGroupBox* axisGroup = CreateGroupBox(mainColumn, u"set axis");
  lineButton = CreateOperationButton(axisGroup, u"(&L)ine");
  faceNormalButton = CreateOperationButton(axisGroup, u"(&N)ormal of a Face");
  originToVertexButton = CreateOperationButton(axisGroup, u"(&O)rigin to Vertex");
  cameraButton = CreateOperationButton(axisGroup, u"(&C)amera");
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
  copyButton = CreateOperationButton(copyGroup, u"Copy");
  copyRotateCheck = CreateCheckBox(copyGroup, u"(&R)otate");
  copyScaleCheck = CreateCheckBox(copyGroup, u"(&S)cale");
  copyTransCheck = CreateCheckBox(copyGroup, u"(&T)rans");

  MQGroupBox* adjustGroup = CreateGroupBox(mainColumn, u"axis");
  MQFrame* rotateRow = CreateHorzFrame(adjustGroup);
  CreateLabel(rotateRow, u"Rotate");
  rotateXButton = CreateOperationButton(rotateRow, u"&X");
  rotateYButton = CreateOperationButton(rotateRow, u"&Y");
  rotateZButton = CreateOperationButton(rotateRow, u"&Z");
  MQFrame* mirrorRow = CreateHorzFrame(adjustGroup);
  CreateLabel(mirrorRow, u"Mirror");
  mirrorXButton = CreateOperationButton(mirrorRow, u"X");
  mirrorYButton = CreateOperationButton(mirrorRow, u"Y");
  mirrorZButton = CreateOperationButton(mirrorRow, u"Z");
  globalCheck = CreateCheckBox(mirrorRow, u"(&g)lobal");

  MQFrame* bottomRow = CreateHorzFrame(mainColumn);
  MQGroupBox* clipboardGroup = CreateGroupBox(bottomRow, u"clipboard");
  MQFrame* clipboardRow = CreateHorzFrame(clipboardGroup);
  clipboardCopyButton = CreateOperationButton(clipboardRow, u"S");
  clipboardPasteButton = CreateOperationButton(clipboardRow, u"R");
  clearButton = CreateOperationButton(bottomRow, u"Clear");
  transformCheck = CreateCheckBox(bottomRow, u"Trans(&f)orm");
  MQButton* cancelButton = CreateButton(bottomRow, u"Cancel");
  cancelButton->SetCancel();
  cancelButton->SetModalResult(kModalCancel);

  AddKeyDownHandler(this, &TervolinDialog::OnKeyDown);
}

MQButton* TervolinDialog::CreateOperationButton(MQWidgetBase* parent, const std::u16string& caption) {
  MQButton* button = CreateButton(parent, caption);
  button->AddExecuteHandler(this, &TervolinDialog::OnOperationButton);
  button->SetModalResult(kModalOk);
  return button;
}

int32_t TervolinDialog::OnOperationButton(MQWidgetBase* sender, DocumentHandle /*document*/) {
  const std::pair<const MQButton*, int32_t> codes[] = {
      {centerOfVerticesButton, OpCenterOfVertices},
      {centerOfObjectButton, OpCenterOfObject},
      {lineButton, OpLine},
      {faceNormalButton, OpFaceNormal},
      {originToVertexButton, OpOriginToVertex},
      {cameraButton, OpCamera},
      {copyButton, OpCopyToSelected},
      {rotateXButton, OpRotateX},
      {rotateYButton, OpRotateY},
      {rotateZButton, OpRotateZ},
      {mirrorXButton, OpMirrorX},
      {mirrorYButton, OpMirrorY},
      {mirrorZButton, OpMirrorZ},
      {clipboardCopyButton, OpClipboardCopy},
      {clipboardPasteButton, OpClipboardPaste},
      {clearButton, OpClear},
  };
  for (const auto& [button, code] : codes) {
    if (sender == button) {
      chosenOperation = code;
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
      break;
    case 'B': ChooseAndClose(OpCenterOfObject); break;
    case 'C': ChooseAndClose(OpCamera); break;
    case 'F': ToggleChecked(transformCheck); break;
    case 'G': ToggleChecked(globalCheck); break;
    case 'L':
      if (lineButton->GetEnabled()) ChooseAndClose(OpLine);
      break;
    case 'N':
      if (faceNormalButton->GetEnabled()) ChooseAndClose(OpFaceNormal);
      break;
    case 'O':
      if (originToVertexButton->GetEnabled()) ChooseAndClose(OpOriginToVertex);
      break;
    case 'R': ToggleChecked(copyRotateCheck); break;
    case 'S': ToggleChecked(copyScaleCheck); break;
    case 'T': ToggleChecked(copyTransCheck); break;
    case 'V':
      if (centerOfVerticesButton->GetEnabled()) ChooseAndClose(OpCenterOfVertices);
      break;
    case 'X': ChooseAndClose(OpRotateX); break;
    case 'Y': ChooseAndClose(OpRotateY); break;
    case 'Z': ChooseAndClose(OpRotateZ); break;
    default: break;
  }
  // With Ctrl, C and V are the clipboard: they win over whatever the plain
  // letter chose.
  if (info.ctrlKey) {
    if (info.keyCode == 'C') ChooseAndClose(OpClipboardCopy);
    if (info.keyCode == 'V') ChooseAndClose(OpClipboardPaste);
  }
  return 0;
}

}  // namespace tervolin
