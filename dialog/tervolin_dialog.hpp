// The operation dialog: its widget tree, the controls it keeps, and the
// handlers that turn clicks and keys into an operation code. The run itself
// (options in and out, modal run, settings) is RunDialog in run_dialog.hpp.
#pragma once

#include <cstdint>

#include "options/options.hpp"
#include "protocol/host_types.hpp"
#include "widgets/widgets.hpp"

namespace tervolin {

// The modal results of the dialog's buttons: the operations end the run with
// OK, "Cancel" with cancel.
inline constexpr int32_t kModalOk = 1;
inline constexpr int32_t kModalCancel = 2;

enum class ButtonGroup : uint8_t;

class TervolinDialog : public MQDialog {
 public:
  // Builds the whole widget tree as a child window of `parent` and binds the
  // handlers. Sets the process's character-type locale to the user's default,
  // under which object names are converted for the reference list.
  explicit TervolinDialog(MQWindowBase& parent);
  ~TervolinDialog() override = default;

  // Lists "-" (the current object, tag -1) and then every other object of the
  // document in document order, tagged with its unique ID, and selects the
  // entry whose ID is `preselectId` ("-" when none has it).
  void FillReferenceCombo(DocumentHandle document, uint32_t preselectId);

  // Enables the four selection-dependent buttons by the selection of the
  // object chosen in the reference list. Also the list's "execute" handler.
  int32_t UpdateButtonStates(MQWidgetBase* sender, DocumentHandle document);
  // "execute" of the sixteen operation buttons: records the button's code.
  int32_t OnOperationButton(MQWidgetBase* sender, DocumentHandle document);
  // "execute" of both radio buttons: checks the sender, unchecks the other.
  int32_t OnSetToRadio(MQWidgetBase* sender, DocumentHandle document);
  // "keydown" of the dialog: the shortcut keys.
  int32_t OnKeyDown(MQWidgetBase* sender, DocumentHandle document, KeyEventInfo& info);

  // The code of the last operation chosen; -1 until one is.
  int32_t chosenOperation = -1;

  // Controls, owned by the window's createdWidgets.
  MQButton* centerOfVerticesButton = nullptr;
  MQButton* centerOfObjectButton = nullptr;
  MQButton* lineButton = nullptr;
  MQButton* faceNormalButton = nullptr;
  MQButton* originToVertexButton = nullptr;
  MQButton* cameraButton = nullptr;
  MQButton* copyButton = nullptr;
  MQCheckBox* copyRotateCheck = nullptr;
  MQCheckBox* copyScaleCheck = nullptr;
  MQCheckBox* copyTransCheck = nullptr;
  MQComboBox* referenceCombo = nullptr;
  MQButton* rotateXButton = nullptr;
  MQButton* rotateYButton = nullptr;
  MQButton* rotateZButton = nullptr;
  MQButton* mirrorXButton = nullptr;
  MQButton* mirrorYButton = nullptr;
  MQButton* mirrorZButton = nullptr;
  MQCheckBox* globalCheck = nullptr;
  MQButton* clipboardCopyButton = nullptr;
  MQButton* clipboardPasteButton = nullptr;
  MQButton* clearButton = nullptr;
  MQRadioButton* setToYRadio = nullptr;
  MQRadioButton* setToXRadio = nullptr;
  MQCheckBox* transformCheck = nullptr;

 private:
  // The operation buttons of `group` (operation_buttons.hpp) under `parent`,
  // each ending the run with the OK result.
  void CreateOperationButtons(ButtonGroup group, MQWidgetBase* parent);
  // Sets `code` and ends the modal run with the OK result.
  void ChooseAndClose(int32_t code);
  void ToggleChecked(MQCheckBox* check);
};

}  // namespace tervolin
