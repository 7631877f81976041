// The operation dialog built against the replacement host: the widget tree
// the host ends up with, the order of the requests that build it, and the
// handlers that do not end the modal run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "dialog/operation_buttons.hpp"
#include "dialog/tervolin_dialog.hpp"
#include "mqhost/widgets.hpp"
#include "support/host_fixture.hpp"

namespace {

using tervolin::KeyEventInfo;
using tervolin::MQWindow;
using tervolin::TervolinDialog;

constexpr int32_t kSetValues = 0x302;
constexpr int32_t kAddChild = 0x201;
constexpr int32_t kAddHandler = 0x304;
constexpr int32_t kWindowCommand = 0x001;
constexpr int32_t kAddChildWindow = 0x203;

// One line per widget: class, caption and the layout properties it carries.
void Outline(const mqhost::WidgetSnapshot& widget, int depth, std::ostringstream& out) {
  out << std::string(static_cast<size_t>(depth) * 2, ' ') << widget.className;
  if (!widget.caption.empty()) out << " \"" << widget.caption << '"';
  if (!widget.alignment.empty()) out << " alignment=" << widget.alignment;
  if (!widget.horzLayout.empty()) out << " horzlayout=" << widget.horzLayout;
  if (widget.modalResult != 0) out << " modalresult=" << widget.modalResult;
  if (widget.checked) out << " checked";
  if (widget.cancel) out << " cancel";
  out << '\n';
  for (const auto& child : widget.children) Outline(child, depth + 1, out);
}

std::string Outline(int32_t id) {
  std::ostringstream out;
  Outline(mqhost::InspectWidget(id), 0, out);
  return out.str();
}

// The requests sent to `id`, in order.
std::vector<mqhost::LoggedRequest> RequestsTo(int32_t id) {
  std::vector<mqhost::LoggedRequest> found;
  for (const auto& request : mqhost::RequestLog()) {
    if (request.id == id) found.push_back(request);
  }
  return found;
}

// What the widget `id` was told after it was created, one word per request:
// the property a set request carries, "parent" when the widget was placed in
// its parent (or its parent window), the event name of a binding.
std::vector<std::string> Names(int32_t id) {
  std::vector<std::string> names;
  for (const auto& request : mqhost::RequestLog()) {
    if (request.code == kAddChild || request.code == kAddChildWindow) {
      if (!request.values.empty() && request.values[0].integer == id) names.push_back("parent");
      continue;
    }
    if (request.id != id) continue;
    if (request.code == kSetValues && !request.values.empty()) names.push_back(request.values[0].name);
    if (request.code == kAddHandler && !request.values.empty()) names.push_back(request.values[0].text);
  }
  return names;
}

using DialogLayout = host_testing::WidgetHostTest;

TEST_F(DialogLayout, BuildsTheWholeTreeInOrder) {
  MQWindow mainWindow = MQWindow::WrapMainWindow();
  TervolinDialog dialog(mainWindow);
  EXPECT_EQ(dialog.chosenOperation, -1);
  EXPECT_EQ(Outline(dialog.id),
            "dialog \"Tervolin\"\n"
            "  frame alignment=vert\n"
            "    frame alignment=horz\n"
            "      label \"Reference object\"\n"
            "      combobox horzlayout=fill\n"
            "    groupbox \"set origin\"\n"
            "      button \"Center of (&V)ertexes\" modalresult=1\n"
            "      button \"Center of the O(&b)ject\" modalresult=1\n"
            "    groupbox \"set axis\"\n"
            "      button \"(&L)ine\" modalresult=1\n"
            "      button \"(&N)ormal of a Face\" modalresult=1\n"
            "      button \"(&O)rigin to Vertex\" modalresult=1\n"
            "      button \"(&C)amera\" modalresult=1\n"
            "      frame alignment=horz\n"
            "        radiobutton \"set to Y(&A)\" checked\n"
            "        radiobutton \"set to X\"\n"
            "    groupbox \"copy to selected objects\" alignment=horz\n"
            "      button \"Copy\" modalresult=1\n"
            "      checkbox \"(&R)otate\"\n"
            "      checkbox \"(&S)cale\"\n"
            "      checkbox \"(&T)rans\"\n"
            "    groupbox \"axis\"\n"
            "      frame alignment=horz\n"
            "        label \"Rotate\"\n"
            "        button \"&X\" modalresult=1\n"
            "        button \"&Y\" modalresult=1\n"
            "        button \"&Z\" modalresult=1\n"
            "      frame alignment=horz\n"
            "        label \"Mirror\"\n"
            "        button \"X\" modalresult=1\n"
            "        button \"Y\" modalresult=1\n"
            "        button \"Z\" modalresult=1\n"
            "        checkbox \"(&g)lobal\"\n"
            "    frame alignment=horz\n"
            "      groupbox \"clipboard\"\n"
            "        frame alignment=horz\n"
            "          button \"S\" modalresult=1\n"
            "          button \"R\" modalresult=1\n"
            "      button \"Clear\" modalresult=1\n"
            "      checkbox \"Trans(&f)orm\"\n"
            "      button \"Cancel\" modalresult=2 cancel\n");
  // The dialog is a child window of the main window.
  const auto log = mqhost::RequestLog();
  const auto placed = std::find_if(log.begin(), log.end(), [&](const mqhost::LoggedRequest& request) {
    return request.code == kAddChildWindow && request.id == mqhost::MainWindowId() &&
           request.values.at(0).integer == dialog.id;
  });
  EXPECT_NE(placed, log.end());
  EXPECT_EQ(mqhost::LiveWidgetIds().size(), 41u) << "a widget outside the tree";
}

TEST_F(DialogLayout, SetsPropertiesAndBindingsRightAfterEachWidgetIsPlaced) {
  MQWindow mainWindow = MQWindow::WrapMainWindow();
  TervolinDialog dialog(mainWindow);

  // The dialog: placed in the main window, then title and spacing; its key
  // binding is its last request of the build.
  EXPECT_EQ(Names(dialog.id),
            (std::vector<std::string>{"parent", "title", "inspace", "outspace", "keydown"}));
  const auto requests = RequestsTo(dialog.id);
  EXPECT_EQ(requests[1].values[0].real, 0.0);
  EXPECT_EQ(requests[2].values[0].real, 0.0);
  EXPECT_EQ(requests[0].values[0].text, "Tervolin");

  // A radio button: caption, placed, bound, then its state and spacing.
  EXPECT_EQ(Names(dialog.setToYRadio->id),
            (std::vector<std::string>{"text", "parent", "execute", "checked", "fillbeforerate"}));
  EXPECT_EQ(RequestsTo(dialog.setToYRadio->id)[3].values[0].real, 0.2);
  EXPECT_EQ(Names(dialog.setToXRadio->id),
            (std::vector<std::string>{"text", "parent", "execute", "fillafterrate"}));
  // Every operation button is bound before it gets its modal result.
  EXPECT_EQ(Names(dialog.clearButton->id),
            (std::vector<std::string>{"text", "parent", "execute", "modalresult"}));
  EXPECT_EQ(RequestsTo(dialog.clearButton->id)[2].values[0].integer, 1);
  EXPECT_EQ(Names(dialog.referenceCombo->id), (std::vector<std::string>{"parent", "horzlayout", "execute"}));
  EXPECT_EQ(Names(dialog.transformCheck->id), (std::vector<std::string>{"text", "parent"}));

  // Sixteen buttons, two radio buttons and the list carry "execute"; only
  // the dialog carries "keydown". Nothing runs or closes the dialog yet.
  int32_t execute = 0;
  int32_t keydown = 0;
  for (const auto& request : mqhost::RequestLog()) {
    if (request.code == kWindowCommand) ADD_FAILURE() << mqhost::FormatRequest(request);
    if (request.code != kAddHandler) continue;
    if (request.values[0].text == "execute") ++execute;
    if (request.values[0].text == "keydown") ++keydown;
  }
  EXPECT_EQ(execute, 19);
  EXPECT_EQ(keydown, 1);
}

// Each button's code is checked by picking it; a sender that is no operation
// button leaves the last code.
TEST_F(DialogLayout, OtherSendersLeaveTheChosenOperation) {
  MQWindow mainWindow = MQWindow::WrapMainWindow();
  TervolinDialog dialog(mainWindow);
  EXPECT_EQ(dialog.OnOperationButton(dialog.clearButton, nullptr), 0);
  dialog.OnOperationButton(dialog.copyRotateCheck, nullptr);
  dialog.OnOperationButton(nullptr, nullptr);
  dialog.OnOperationButton(&dialog, nullptr);
  EXPECT_EQ(dialog.chosenOperation, 16);
}

// The operation table: codes 1 to 16 in order, a key for every caption with a
// mnemonic and only for those (the key is the underlined letter), no key that
// chooses two operations, and a distinct button behind every entry.
TEST_F(DialogLayout, OperationTableKeysFollowTheCaptionsMnemonics) {
  MQWindow mainWindow = MQWindow::WrapMainWindow();
  TervolinDialog dialog(mainWindow);
  std::vector<const void*> buttons;
  std::string keys;
  std::string ctrlKeys;
  int32_t expectedCode = 1;
  for (const tervolin::OperationButton& entry : tervolin::kOperationButtons) {
    const std::u16string caption = entry.caption;
    EXPECT_EQ(entry.code, expectedCode++);
    const size_t amp = caption.find(u'&');
    const char mnemonic = amp == std::u16string::npos
                              ? '\0'
                              : static_cast<char>(std::toupper(static_cast<int>(caption[amp + 1])));
    EXPECT_EQ(entry.key, mnemonic) << "operation " << entry.code;
    if (entry.key != 0) keys += entry.key;
    if (entry.ctrlKey != 0) ctrlKeys += entry.ctrlKey;
    const tervolin::MQButton* button = dialog.*entry.button;
    ASSERT_NE(button, nullptr) << "operation " << entry.code;
    buttons.push_back(button);
  }
  EXPECT_EQ(expectedCode, 17);
  for (const std::string* list : {&keys, &ctrlKeys}) {
    std::string sorted = *list;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << *list;
  }
  std::sort(buttons.begin(), buttons.end());
  EXPECT_EQ(std::adjacent_find(buttons.begin(), buttons.end()), buttons.end());
}

TEST_F(DialogLayout, RadioButtonsAndOptionKeysChangeOnlyTheHostsState) {
  MQWindow mainWindow = MQWindow::WrapMainWindow();
  TervolinDialog dialog(mainWindow);
  dialog.OnSetToRadio(dialog.setToXRadio, nullptr);
  EXPECT_TRUE(dialog.setToXRadio->GetChecked());
  EXPECT_FALSE(dialog.setToYRadio->GetChecked());

  KeyEventInfo key;
  key.keyCode = 'A';
  dialog.OnKeyDown(&dialog, nullptr, key);
  EXPECT_FALSE(dialog.setToXRadio->GetChecked());
  EXPECT_TRUE(dialog.setToYRadio->GetChecked());
  dialog.OnKeyDown(&dialog, nullptr, key);
  EXPECT_TRUE(dialog.setToXRadio->GetChecked());

  // F, G, R, S and T flip their boxes (checked by picking them); with Ctrl too.
  key.keyCode = 'S';
  key.ctrlKey = true;
  const bool before = dialog.copyScaleCheck->GetChecked();
  EXPECT_EQ(dialog.OnKeyDown(&dialog, nullptr, key), 0);
  EXPECT_EQ(dialog.copyScaleCheck->GetChecked(), !before);
  EXPECT_FALSE(key.finished);

  // The selection keys act only on an enabled button: nothing is chosen and
  // the dialog is not asked to close.
  for (auto* button : {dialog.centerOfVerticesButton, dialog.lineButton, dialog.faceNormalButton,
                       dialog.originToVertexButton}) {
    button->SetEnabled(false);
  }
  mqhost::ClearRequestLog();
  key.ctrlKey = false;
  for (int32_t code :
       {int32_t{'V'}, int32_t{'L'}, int32_t{'N'}, int32_t{'O'}, int32_t{'Q'}, int32_t{'a'}, 0}) {
    key.keyCode = code;
    dialog.OnKeyDown(&dialog, nullptr, key);
  }
  EXPECT_EQ(dialog.chosenOperation, -1);
  const auto log = mqhost::RequestLog();
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const auto& r) { return r.code == kWindowCommand; }), 0);
}

}  // namespace
