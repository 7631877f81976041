// Windows: MQWindowBase owns the controls it creates and deletes them (in the
// host too) before itself; MQWindow wraps the host's main window without ever
// deleting it; MQDialog is a created dialog with its modal run.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "widgets/controls.hpp"
#include "widgets/widget_base.hpp"

namespace tervolin {

class MQWindowBase : public MQWidgetBase {
 public:
  // Deletes every created widget (ascending address), then the window itself.
  ~MQWindowBase() override;

  void SetTitle(const std::u16string& title);
  int32_t GetPosX();
  void SetPosX(int32_t x);
  int32_t GetPosY();
  void SetPosY(int32_t y);

  // Creation operations. Each creates the widget, keeps it in
  // `createdWidgets`, sends its caption or alignment and, with a parent,
  // places it there last. The window owns what they return.
  MQFrame* CreateHorzFrame(MQWidgetBase* parent);
  MQFrame* CreateVertFrame(MQWidgetBase* parent);
  MQGroupBox* CreateGroupBox(MQWidgetBase* parent, const std::u16string& text);
  MQButton* CreateButton(MQWidgetBase* parent, const std::u16string& text);
  MQCheckBox* CreateCheckBox(MQWidgetBase* parent, const std::u16string& text);
  MQRadioButton* CreateRadioButton(MQWidgetBase* parent, const std::u16string& text);
  MQComboBox* CreateComboBox(MQWidgetBase* parent);
  MQLabel* CreateLabel(MQWidgetBase* parent, const std::u16string& text);

  // Every widget this window created, ordered by address; owned.
  std::set<MQWidgetBase*> createdWidgets;

 protected:
  MQWindowBase() = default;
  explicit MQWindowBase(const char* keyword) : MQWidgetBase(keyword) {}

 private:
  template <class W>
  W* Adopt();
  void Place(MQWidgetBase* parent, MQWidgetBase* child);
};

// The host's main window, wrapped; never created or deleted in the host.
class MQWindow : public MQWindowBase {
 public:
  // Asks the host for its main window's id (-1 when it does not answer).
  static MQWindow WrapMainWindow();

 private:
  explicit MQWindow(int32_t mainWindowId);
};

class MQDialog : public MQWindowBase {
 public:
  // Creates a dialog and adds it to `parent` as a child window (sent even
  // when the creation was refused).
  explicit MQDialog(MQWindowBase& parent);

  // Runs the dialog modally; the modal result (0 when the host writes none).
  int32_t RunModal();
  // Ends the pending modal run with the OK result (1).
  void CloseWithOk();
};

}  // namespace tervolin
