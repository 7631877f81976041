// One run of the operation dialog: options in, modal run, options out.
#include <cstdint>

#include "dialog/tervolin_dialog.hpp"
#include "plugin/tervolin.hpp"
#include "widgets/widgets.hpp"

namespace tervolin {

namespace {
constexpr int32_t kModalOk = 1;
}  // namespace

bool Tervolin::RunDialog(DocumentHandle document) {
  int32_t modalResult = 0;
  {
    MQWindow mainWindow = MQWindow::WrapMainWindow();
    {
      TervolinDialog dialog(mainWindow, *this);

      LoadSettings();
      // A position the dialog never had (-1) or a partial one is left to the host.
      if (posX >= 0 && posY >= 0) {
        dialog.SetPosX(posX);
        dialog.SetPosY(posY);
      }
      dialog.FillReferenceCombo(document, referenceObjectId);
      dialog.UpdateButtonStates(nullptr, document);
      dialog.transformCheck->SetChecked(transformVertices);
      dialog.globalCheck->SetChecked(useGlobal);
      dialog.copyRotateCheck->SetChecked(copyRotation);
      dialog.copyScaleCheck->SetChecked(copyScale);
      dialog.copyTransCheck->SetChecked(copyTranslation);

      modalResult = dialog.RunModal();

      // Read back whatever closed the dialog: a cancelled run keeps its
      // options and position for the next one too.
      operation = dialog.chosenOperation;
      setToX = dialog.setToYRadio->GetChecked() ? 0 : 1;
      const int32_t referenceIndex = dialog.referenceCombo->GetCurrentIndex();
      referenceObjectId = static_cast<uint32_t>(dialog.referenceCombo->GetItemTag(referenceIndex));
      transformVertices = dialog.transformCheck->GetChecked();
      useGlobal = dialog.globalCheck->GetChecked();
      copyRotation = dialog.copyRotateCheck->GetChecked();
      copyScale = dialog.copyScaleCheck->GetChecked();
      copyTranslation = dialog.copyTransCheck->GetChecked();
      posX = dialog.GetPosX();
      posY = dialog.GetPosY();

      SaveSettings();
    }  // the dialog, with its controls, before the main-window wrapper
  }
  return modalResult == kModalOk;
}

}  // namespace tervolin
