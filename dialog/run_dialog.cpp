// One run of the operation dialog: options in, modal run, options out.
#include "dialog/run_dialog.hpp"

#include <cstdint>

#include "dialog/tervolin_dialog.hpp"
#include "widgets/widgets.hpp"

namespace tervolin {

DialogChoice RunDialog(DocumentHandle document, const Options& start, OptionsStore& store) {
  DialogChoice choice;
  Options& options = choice.options;
  options = start;
  int32_t modalResult = 0;
  {
    MQWindow mainWindow = MQWindow::WrapMainWindow();
    {
      TervolinDialog dialog(mainWindow);

      store.LoadSettings(options);
      // A position the dialog never had (-1) or a partial one is left to the host.
      if (options.posX >= 0 && options.posY >= 0) {
        dialog.SetPosX(options.posX);
        dialog.SetPosY(options.posY);
      }
      dialog.FillReferenceCombo(document, options.referenceObjectId);
      dialog.UpdateButtonStates(nullptr, document);
      dialog.transformCheck->SetChecked(options.transformVertices);
      dialog.globalCheck->SetChecked(options.useGlobal);
      dialog.copyRotateCheck->SetChecked(options.copyRotation);
      dialog.copyScaleCheck->SetChecked(options.copyScale);
      dialog.copyTransCheck->SetChecked(options.copyTranslation);

      modalResult = dialog.RunModal();

      // Read back whatever closed the dialog: a cancelled run keeps its
      // options and position for the next one too.
      choice.operation = dialog.chosenOperation;
      options.axisToSet = dialog.setToYRadio->GetChecked() ? AxisToSet::Y : AxisToSet::X;
      const int32_t referenceIndex = dialog.referenceCombo->GetCurrentIndex();
      options.referenceObjectId = static_cast<uint32_t>(dialog.referenceCombo->GetItemTag(referenceIndex));
      options.transformVertices = dialog.transformCheck->GetChecked();
      options.useGlobal = dialog.globalCheck->GetChecked();
      options.copyRotation = dialog.copyRotateCheck->GetChecked();
      options.copyScale = dialog.copyScaleCheck->GetChecked();
      options.copyTranslation = dialog.copyTransCheck->GetChecked();
      options.posX = dialog.GetPosX();
      options.posY = dialog.GetPosY();

      store.SaveSettings(options);
    }  // the dialog, with its controls, before the main-window wrapper
  }
  choice.confirmed = modalResult == kModalOk;
  return choice;
}

}  // namespace tervolin
