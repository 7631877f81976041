// The widget wrappers as the host sees them: the exact requests, in order,
// with their names and wire types, read back from the replacement host's log.
#include "mqhost/widgets.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "protocol/host_types.hpp"
#include "support/host_fixture.hpp"
#include "widgets/widgets.hpp"

namespace {

using mqhost::LoggedRequest;
using mqhost::LoggedValue;
using mqhost::WireType;
using namespace tervolin;

class WidgetsTest : public host_testing::WidgetHostTest {
 protected:
  static std::vector<LoggedRequest> Log() { return mqhost::RequestLog(); }
  // The log as one line per request, for readable failure messages.
  static std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    for (const LoggedRequest& request : mqhost::RequestLog()) lines.push_back(mqhost::FormatRequest(request));
    return lines;
  }
};

// A dialog with handlers to register.
class ProbeDialog : public MQDialog {
 public:
  explicit ProbeDialog(MQWindowBase& parent) : MQDialog(parent) {}
  int32_t OnExecute(MQWidgetBase*, DocumentHandle) { return 0; }
  int32_t OnKey(MQWidgetBase*, DocumentHandle, KeyEventInfo&) { return 0; }
};

void ExpectValue(const LoggedValue& value, const std::string& name, WireType type, bool output = false) {
  EXPECT_EQ(value.name, name);
  EXPECT_EQ(value.type, type) << name;
  EXPECT_EQ(value.output, output) << name;
}

TEST_F(WidgetsTest, MainWindowIsWrappedWithoutBeingCreatedOrDeletedAndRegisteredOnce) {
  {
    MQWindow main = MQWindow::WrapMainWindow();
    EXPECT_EQ(main.id, mqhost::MainWindowId());
    EXPECT_FALSE(main.owned);
    EXPECT_EQ(FindRegisteredWidget(main.id), &main);
    const auto log = Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].code, mq::kWidgetSystemQuery);
    EXPECT_EQ(log[0].id, 0);
    ASSERT_EQ(log[0].values.size(), 2u);
    ExpectValue(log[0].values[0], "system", WireType::Keyword);
    EXPECT_EQ(log[0].values[0].text, "main_window");
    ExpectValue(log[0].values[1], "result", WireType::Int32, true);
  }
  EXPECT_EQ(Log().size(), 1u) << "dropping the wrapper sends nothing";
  EXPECT_EQ(FindRegisteredWidget(mqhost::MainWindowId()), nullptr);

  // Of two wrappers the registry keeps the first; either destruction removes
  // it. Guaranteed elision: the wrapper is built in place, where it registered.
  std::unique_ptr<MQWindow> first(new MQWindow(MQWindow::WrapMainWindow()));
  MQWindow second = MQWindow::WrapMainWindow();
  EXPECT_EQ(FindRegisteredWidget(second.id), first.get());
  first.reset();
  EXPECT_EQ(FindRegisteredWidget(second.id), nullptr);
}

TEST_F(WidgetsTest, CreationOperationsSendTheirRequestsInOrder) {
  MQWindow main = MQWindow::WrapMainWindow();
  mqhost::ClearRequestLog();
  // A dialog is created, then added to the parent window.
  MQDialog dialog(main);
  EXPECT_TRUE(dialog.owned);
  EXPECT_EQ(FindRegisteredWidget(dialog.id), &dialog);
  auto log = Log();
  ASSERT_EQ(log.size(), 2u) << testing::PrintToString(LogLines());
  EXPECT_EQ(log[0].code, mq::kWidgetCreate);
  ExpectValue(log[0].values[0], "type", WireType::Keyword);
  EXPECT_EQ(log[0].values[0].text, "dialog");
  ExpectValue(log[0].values[1], "id", WireType::Int32, true);
  EXPECT_EQ(log[0].values[1].integer, dialog.id);
  EXPECT_EQ(log[1].code, mq::kWidgetAddChildWindow);
  EXPECT_EQ(log[1].id, main.id);
  ExpectValue(log[1].values[0], "child", WireType::Int32);
  EXPECT_EQ(log[1].values[0].integer, dialog.id);
  ExpectValue(log[1].values[1], "result", WireType::Int32, true);
  mqhost::ClearRequestLog();

  MQFrame* column = dialog.CreateVertFrame(&dialog);
  MQComboBox* combo = dialog.CreateComboBox(column);
  MQComboBox* loose = dialog.CreateComboBox(nullptr);
  MQButton* button = dialog.CreateButton(nullptr, u"(&L)ine");
  EXPECT_EQ(dialog.AddChild(nullptr), -1);  // sends nothing

  log = Log();
  ASSERT_EQ(log.size(), 8u) << testing::PrintToString(LogLines());
  // Vertical frame: create, alignment, add child to the dialog.
  EXPECT_EQ(log[0].code, mq::kWidgetCreate);
  EXPECT_EQ(log[0].values[0].text, "frame");
  EXPECT_EQ(log[1].code, mq::kWidgetSetValues);
  EXPECT_EQ(log[1].id, column->id);
  ExpectValue(log[1].values.at(0), "alignment", WireType::Keyword);
  EXPECT_EQ(log[1].values[0].text, "vert");
  EXPECT_EQ(log[2].code, mq::kWidgetAddChild);
  EXPECT_EQ(log[2].id, dialog.id);
  EXPECT_EQ(log[2].values.at(0).integer, column->id);
  // Combo box with a parent: exactly create and add child.
  EXPECT_EQ(log[3].code, mq::kWidgetCreate);
  EXPECT_EQ(log[3].values[0].text, "combobox");
  EXPECT_EQ(log[4].code, mq::kWidgetAddChild);
  EXPECT_EQ(log[4].id, column->id);
  EXPECT_EQ(log[4].values.at(0).integer, combo->id);
  // Combo box without a parent: only the create request.
  EXPECT_EQ(log[5].code, mq::kWidgetCreate);
  EXPECT_EQ(log[5].values[1].integer, loose->id);
  // Button without a parent: create and its UTF-16 caption, no add child.
  EXPECT_EQ(log[6].code, mq::kWidgetCreate);
  EXPECT_EQ(log[6].values[0].text, "button");
  EXPECT_EQ(log[7].code, mq::kWidgetSetValues);
  EXPECT_EQ(log[7].id, button->id);
  ExpectValue(log[7].values.at(0), "text", WireType::Text);
  EXPECT_EQ(log[7].values[0].wide, u"(&L)ine");
  // A captioned control with a parent: see the next case.

  EXPECT_TRUE(button->owned);
  EXPECT_EQ(dialog.createdWidgets.size(), 4u);
}

TEST_F(WidgetsTest, EveryCaptionedControlGetsItsTextBeforeItIsPlaced) {
  MQWindow main = MQWindow::WrapMainWindow();
  MQDialog dialog(main);
  MQFrame* row = dialog.CreateHorzFrame(&dialog);
  struct Case {
    const char* keyword;
    std::function<MQWidgetBase*()> create;
  };
  const std::vector<Case> cases = {
      {"groupbox", [&] { return dialog.CreateGroupBox(row, u"set axis"); }},
      {"button", [&] { return dialog.CreateButton(row, u"set axis"); }},
      {"checkbox", [&] { return dialog.CreateCheckBox(row, u"set axis"); }},
      {"radiobutton", [&] { return dialog.CreateRadioButton(row, u"set axis"); }},
      {"label", [&] { return dialog.CreateLabel(row, u"set axis"); }},
  };
  for (const Case& c : cases) {
    mqhost::ClearRequestLog();
    MQWidgetBase* widget = c.create();
    const auto log = Log();
    ASSERT_EQ(log.size(), 3u) << c.keyword << testing::PrintToString(LogLines());
    EXPECT_EQ(log[0].code, mq::kWidgetCreate) << c.keyword;
    EXPECT_EQ(log[0].values.at(0).text, c.keyword);
    EXPECT_EQ(log[1].code, mq::kWidgetSetValues) << c.keyword;
    EXPECT_EQ(log[1].id, widget->id);
    EXPECT_EQ(log[1].values.at(0).wide, u"set axis");
    EXPECT_EQ(log[2].code, mq::kWidgetAddChild) << c.keyword;
    EXPECT_EQ(log[2].id, row->id);
    EXPECT_EQ(log[2].values.at(0).integer, widget->id);
  }
}

TEST_F(WidgetsTest, DestroyingADialogDeletesItsControlsBeforeItself) {
  MQWindow main = MQWindow::WrapMainWindow();
  std::vector<int32_t> ids;
  {
    MQDialog dialog(main);
    ids.push_back(dialog.CreateButton(&dialog, u"Copy")->id);
    ids.push_back(dialog.CreateCheckBox(&dialog, u"(&R)otate")->id);
    ids.push_back(dialog.CreateComboBox(&dialog)->id);
    ids.push_back(dialog.id);
    mqhost::ClearRequestLog();
  }
  const auto log = Log();
  ASSERT_EQ(log.size(), 4u) << testing::PrintToString(LogLines());
  std::vector<int32_t> controlsDeleted;
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(log[i].code, mq::kWidgetDelete);
    EXPECT_TRUE(log[i].values.empty());
    controlsDeleted.push_back(log[i].id);
  }
  std::sort(controlsDeleted.begin(), controlsDeleted.end());
  EXPECT_EQ(controlsDeleted, std::vector<int32_t>(ids.begin(), ids.begin() + 3));
  EXPECT_EQ(log[3].code, mq::kWidgetDelete);
  EXPECT_EQ(log[3].id, ids[3]);
  for (int32_t id : ids) EXPECT_EQ(widgetRegistry.count(id), 0u) << id;
  EXPECT_TRUE(mqhost::LiveWidgetIds().empty());
}

TEST_F(WidgetsTest, RefusedCreationLeavesAnUnregisteredWrapperThatSendsNothing) {
  mqhost::RefuseCreations(1);
  {
    MQButton button;
    EXPECT_EQ(button.id, 0);
    EXPECT_FALSE(button.owned);
    EXPECT_EQ(widgetRegistry.count(0), 0u);
  }
  EXPECT_EQ(Log().size(), 1u) << testing::PrintToString(LogLines());
}

TEST_F(WidgetsTest, PropertiesTravelWithTheirWireTypes) {
  MQWindow main = MQWindow::WrapMainWindow();
  MQDialog dialog(main);
  MQButton* button = dialog.CreateButton(&dialog, u"Cancel");
  MQRadioButton* radio = dialog.CreateRadioButton(&dialog, u"set to Y(&A)");
  MQGroupBox* group = dialog.CreateGroupBox(&dialog, u"axis");
  mqhost::ClearRequestLog();

  dialog.SetTitle(u"Tervolin");
  dialog.SetInSpace(0.0);
  button->SetModalResult(2);
  button->SetCancel();
  button->SetEnabled(false);
  radio->SetChecked(true);
  radio->SetFillBeforeRate(0.2);
  group->SetAlignment("horz");
  group->SetHorzLayout("fill");

  const auto log = Log();
  ASSERT_EQ(log.size(), 9u);
  struct Expected {
    const char* name;
    WireType type;
  };
  const Expected expected[] = {{"title", WireType::Text},
                               {"inspace", WireType::Double},
                               {"modalresult", WireType::Int32},
                               {"cancel", WireType::Bool},
                               {"enabled", WireType::Bool},
                               {"checked", WireType::Bool},
                               {"fillbeforerate", WireType::Double},
                               {"alignment", WireType::Keyword},
                               {"horzlayout", WireType::Keyword}};
  for (size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(log[i].code, mq::kWidgetSetValues);
    ASSERT_EQ(log[i].values.size(), 1u) << i;
    ExpectValue(log[i].values[0], expected[i].name, expected[i].type);
  }
  EXPECT_EQ(log[0].values[0].wide, u"Tervolin");
  EXPECT_EQ(log[2].values[0].integer, 2);
  EXPECT_EQ(log[3].values[0].integer, 1);
  EXPECT_EQ(log[4].values[0].integer, 0);
  EXPECT_DOUBLE_EQ(log[6].values[0].real, 0.2);
  EXPECT_EQ(log[8].values[0].text, "fill");

  // Gets return what the host holds.
  EXPECT_FALSE(button->GetEnabled());
  EXPECT_TRUE(radio->GetChecked());
  dialog.SetPosX(40);
  dialog.SetPosY(-5);
  EXPECT_EQ(dialog.GetPosX(), 40);
  EXPECT_EQ(dialog.GetPosY(), -5);
}

TEST_F(WidgetsTest, ItemTagsTravelAsSixtyFourBits) {
  MQWindow main = MQWindow::WrapMainWindow();
  MQDialog dialog(main);
  MQComboBox* combo = dialog.CreateComboBox(&dialog);
  mqhost::ClearRequestLog();

  EXPECT_EQ(combo->AddItem(u"-", -1), 0);
  const uint32_t topBit = 0x80000001u;
  EXPECT_EQ(combo->AddItem(u"Cube", topBit), 1);
  EXPECT_EQ(combo->AddItem(u"Sph\u00e8re", 7), 2);

  const auto log = Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].code, mq::kWidgetCallMethod);
  ASSERT_EQ(log[0].values.size(), 4u);
  ExpectValue(log[0].values[0], "additem", WireType::Null);
  ExpectValue(log[0].values[1], "text", WireType::Text);
  EXPECT_EQ(log[0].values[1].wide, u"-");
  ExpectValue(log[0].values[2], "result", WireType::Int32, true);
  ExpectValue(log[0].values[3], "tag", WireType::Int64);
  EXPECT_EQ(static_cast<uint64_t>(log[0].values[3].integer), 0xFFFFFFFFFFFFFFFFull);
  EXPECT_EQ(static_cast<uint64_t>(log[1].values[3].integer), 0x0000000080000001ull);
  EXPECT_EQ(log[2].values[1].text, "Sph\xC3\xA8re");

  EXPECT_EQ(combo->GetItemCount(), 3);
  mqhost::ClearRequestLog();
  EXPECT_EQ(combo->GetItemTag(1), 0x80000001ll);
  const auto tagLog = Log();
  ASSERT_EQ(tagLog.size(), 1u);
  EXPECT_EQ(tagLog[0].code, mq::kWidgetGetValues);
  ASSERT_EQ(tagLog[0].values.size(), 2u);
  ExpectValue(tagLog[0].values[0], "index", WireType::Int32);
  EXPECT_EQ(tagLog[0].values[0].integer, 1);
  ExpectValue(tagLog[0].values[1], "item.tag", WireType::Int64, true);

  combo->SetCurrentIndex(2);
  EXPECT_EQ(combo->GetCurrentIndex(), 2);
  EXPECT_EQ(combo->GetItemTag(0), -1);
}

TEST_F(WidgetsTest, HandlerRegistrationTellsTheHostTypeProcPointerAndPrior) {
  MQWindow main = MQWindow::WrapMainWindow();
  ProbeDialog dialog(main);
  MQButton* button = dialog.CreateButton(&dialog, u"Go");
  mqhost::ClearRequestLog();
  button->AddExecuteHandler(&dialog, &ProbeDialog::OnExecute);
  dialog.AddKeyDownHandler(&dialog, &ProbeDialog::OnKey);

  const auto log = Log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].code, mq::kWidgetAddEventHandler);
  EXPECT_EQ(log[0].id, button->id);
  ASSERT_EQ(log[0].values.size(), 4u);
  ExpectValue(log[0].values[0], "type", WireType::Keyword);
  EXPECT_EQ(log[0].values[0].text, "execute");
  ExpectValue(log[0].values[1], "proc", WireType::Proc);
  ExpectValue(log[0].values[2], "pointer", WireType::Pointer);
  EXPECT_EQ(log[0].values[2].address, button->eventClosures.at(0).get());
  ExpectValue(log[0].values[3], "prior", WireType::Bool);
  EXPECT_EQ(log[0].values[3].integer, 0);
  EXPECT_EQ(log[1].id, dialog.id);
  EXPECT_EQ(log[1].values[0].text, "keydown");

  // Both closures carry the dialog's id, whichever widget holds them.
  auto* closure = static_cast<MQWidgetEventClosure<ProbeDialog>*>(button->eventClosures[0].get());
  EXPECT_EQ(closure->ownerId, dialog.id);
  EXPECT_EQ(closure->GetTarget(), &dialog);
}

}  // namespace
