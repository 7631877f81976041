// The replacement host's widgets, driven with raw requests: its strictness
// (each kind of protocol error is recorded), its log, and the scripted user's
// modal run with the events it raises.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "binding/host_api.hpp"
#include "host_fixture.hpp"
#include "mqhost/document.hpp"
#include "mqhost/protocol.hpp"
#include "mqhost/widgets.hpp"
#include "protocol/arg_list.hpp"
#include "protocol/host_types.hpp"

namespace {

using Args = host_testing::ArgList;

int Send(int32_t id, int32_t code, Args& args) {
  return tervolin::HostApi().MQWidget_Value(id, code, args.data());
}

// One event as the host raised it.
struct RaisedEvent {
  std::string type;
  int32_t target = 0;
  int32_t sender = 0;
  bool hasFinished = false;
  int32_t key = -1;
  int32_t buttonState = -1;
  int32_t autoRepeat = -1;
  void* pointer = nullptr;
  DocumentHandle document = nullptr;
};

std::vector<RaisedEvent> raised;
std::function<void(const RaisedEvent&, void** list)> onEvent;

int RecordEvent(DocumentHandle document, void** list, void* pointer) {
  RaisedEvent event;
  event.document = document;
  const auto* type = static_cast<const char*>(tervolin::LookupArgPointer(list, "type"));
  event.type = type != nullptr ? type : "";
  event.target = tervolin::LookupArgInt(list, "target_id", 0);
  event.sender = tervolin::LookupArgInt(list, "sender_id", 0);
  event.hasFinished = tervolin::LookupArgPointer(list, "finished") != nullptr;
  event.key = tervolin::LookupArgInt(list, "key", -1);
  event.buttonState = tervolin::LookupArgInt(list, "button_state", -1);
  event.autoRepeat = tervolin::LookupArgInt(list, "auto_repeat", -1);
  event.pointer = pointer;
  raised.push_back(event);
  if (onEvent) onEvent(event, list);
  return 0;
}

class HostWidgetsTest : public host_testing::WidgetHostTest {
 protected:
  void SetUp() override {
    WidgetHostTest::SetUp();
    raised.clear();
    onEvent = nullptr;
  }

  void TearDown() override {
    onEvent = nullptr;
    WidgetHostTest::TearDown();
  }

  static int32_t Create(const char* keyword) {
    int32_t id = 0;
    Args args;
    args.Add("type", keyword).Add("id", &id);
    Send(0, mq::kWidgetCreate, args);
    return id;
  }

  static void Place(int32_t parent, int32_t child) {
    int32_t result = -1;
    Args args;
    args.Add("child", &child).Add("result", &result);
    Send(parent, mq::kWidgetAddChild, args);
  }

  static void Delete(int32_t id) {
    Args none;
    Send(id, mq::kWidgetDelete, none);
  }

  static void SetText(int32_t id, const char16_t* text) {
    Args args;
    args.Add("text", text);
    Send(id, mq::kWidgetSetValues, args);
  }

  static void SetBool(int32_t id, const char* name, bool value) {
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetSetValues, args);
  }

  static void SetInt(int32_t id, const char* name, int32_t value) {
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetSetValues, args);
  }

  static bool GetBool(int32_t id, const char* name) {
    unsigned char value = 0x5A;
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetGetValues, args);
    EXPECT_LE(value, 1) << name << " is written as one bool byte";
    return value == 1;
  }

  static int32_t GetInt(int32_t id, const char* name) {
    int32_t value = -12345;
    Args args;
    args.Add(name, &value);
    Send(id, mq::kWidgetGetValues, args);
    return value;
  }

  static void AddHandler(int32_t id, const char* event, void* pointer) {
    WidgetEventProcType proc = &RecordEvent;
    void* procAddress = nullptr;
    std::memcpy(&procAddress, &proc, sizeof procAddress);
    const bool prior = false;
    Args args;
    args.Add("type", event).Add("proc", procAddress).Add("pointer", pointer).Add("prior", &prior);
    Send(id, mq::kWidgetAddEventHandler, args);
  }

  static int32_t RunModal(int32_t dialog) {
    int32_t result = 0;
    Args args;
    args.Add("type", "modal").Add("result", &result);
    Send(dialog, mq::kWidgetWindowCommand, args);
    return result;
  }

  static void CloseOk(int32_t dialog) {
    Args args;
    args.Add("type", "close").Add("code", "ok");
    Send(dialog, mq::kWidgetWindowCommand, args);
  }

  static void AddItem(int32_t combo, const char16_t* text, int64_t tag) {
    int32_t result = -1;
    Args args;
    args.Add("additem", nullptr).Add("text", text).Add("result", &result).Add("tag", &tag);
    Send(combo, mq::kWidgetCallMethod, args);
  }

  // A dialog with a button "OK" (modal result 1), a check box "(&R)otate",
  // a radio button "set to X" and a combo box, each bound to "execute".
  struct Sample {
    int32_t dialog, ok, check, radio, combo;
  };
  Sample MakeSample() {
    Sample s{};
    s.dialog = Create("dialog");
    s.ok = Create("button");
    SetText(s.ok, u"OK");
    SetInt(s.ok, "modalresult", 1);
    s.check = Create("checkbox");
    SetText(s.check, u"(&R)otate");
    s.radio = Create("radiobutton");
    SetText(s.radio, u"set to X");
    s.combo = Create("combobox");
    AddItem(s.combo, u"-", -1);
    AddItem(s.combo, u"Cube", 0x80000000LL);
    for (int32_t id : {s.ok, s.check, s.radio, s.combo}) {
      Place(s.dialog, id);
      AddHandler(id, "execute", &markers_[0]);
    }
    AddHandler(s.dialog, "keydown", &markers_[1]);
    return s;
  }

  static void DeleteSample(const Sample& s) {
    for (int32_t id : {s.ok, s.check, s.radio, s.combo, s.dialog}) Delete(id);
  }

  char markers_[2] = {};
};

// --- Strictness ---------------------------------------------------------------

TEST_F(HostWidgetsTest, UnknownRequestCodeIsAProtocolError) {
  const int32_t dialog = Create("dialog");
  Args none;
  EXPECT_EQ(Send(dialog, 0x305, none), 0);
  EXPECT_TRUE(HasProtocolError("unknown request code 773"));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostWidgetsTest, PropertyOutsideTheClassIsAProtocolError) {
  const int32_t button = Create("button");
  const int32_t frame = Create("frame");
  ExpectNoProtocolErrors();
  SetBool(button, "checked", true);
  EXPECT_TRUE(HasProtocolError("\"checked\" is not a property of button"));
  mqhost::ClearProtocolErrors();
  SetText(frame, u"nope");
  EXPECT_TRUE(HasProtocolError("\"text\" is not a property of frame"));
  mqhost::ClearProtocolErrors();
  SetInt(button, "colour", 3);
  EXPECT_TRUE(HasProtocolError("unknown name \"colour\""));
  mqhost::ClearProtocolErrors();
  EXPECT_EQ(GetInt(button, "modalresult"), -12345) << "set-only: not answered";
  EXPECT_TRUE(HasProtocolError("cannot be read"));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostWidgetsTest, WrongWireTypesAreReportedWhereTheHostCanTell) {
  const int32_t check = Create("checkbox");
  const int32_t frame = Create("frame");
  const int32_t combo = Create("combobox");
  ExpectNoProtocolErrors();

  const int32_t asInt = 0x0102;  // an int32 where one bool byte belongs
  Args wideBool;
  wideBool.Add("checked", &asInt);
  Send(check, mq::kWidgetSetValues, wideBool);
  EXPECT_TRUE(HasProtocolError("wrong wire type for \"checked\""));
  EXPECT_FALSE(GetBool(check, "checked")) << "the bad value was not taken";
  mqhost::ClearProtocolErrors();

  Args wideKeyword;
  wideKeyword.Add("alignment", u"horz");
  Send(frame, mq::kWidgetSetValues, wideKeyword);
  EXPECT_TRUE(HasProtocolError("\"alignment\" = \"h\""));
  mqhost::ClearProtocolErrors();

  int64_t tag = 0;
  Args tagWithoutIndex;
  tagWithoutIndex.Add("item.tag", &tag);
  Send(combo, mq::kWidgetGetValues, tagWithoutIndex);
  EXPECT_TRUE(HasProtocolError("without an \"index\""));
  mqhost::ClearProtocolErrors();

  EXPECT_EQ(Create("spinner"), 0);
  EXPECT_TRUE(HasProtocolError("unknown widget class \"spinner\""));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostWidgetsTest, StaleAndUnknownIdsAndSecondDeletesAreReported) {
  const int32_t button = Create("button");
  SetText(424242, u"x");
  EXPECT_TRUE(HasProtocolError("unknown widget id 424242"));
  mqhost::ClearProtocolErrors();

  Delete(button);
  ExpectNoProtocolErrors();
  SetText(button, u"x");
  EXPECT_TRUE(HasProtocolError("was deleted"));
  mqhost::ClearProtocolErrors();

  Delete(button);
  EXPECT_TRUE(HasProtocolError("second delete of widget #" + std::to_string(button)));
  mqhost::ClearProtocolErrors();

  SetText(0, u"x");
  EXPECT_TRUE(HasProtocolError("sent to id 0"));
  mqhost::ClearProtocolErrors();

  Delete(mqhost::MainWindowId());
  EXPECT_TRUE(HasProtocolError("main window"));
  mqhost::ClearProtocolErrors();
}

TEST_F(HostWidgetsTest, DialogDeletedBeforeItsControlsReportsEachOne) {
  const int32_t dialog = Create("dialog");
  const int32_t frame = Create("frame");
  const int32_t button = Create("button");
  SetText(button, u"Copy");
  const int32_t label = Create("label");
  Place(dialog, frame);
  Place(frame, button);
  Place(frame, label);
  Delete(frame);  // children stay alive and still belong to the dialog
  Delete(label);
  ExpectNoProtocolErrors();

  Delete(dialog);
  ASSERT_EQ(mqhost::ProtocolErrors().size(), 1u);
  EXPECT_TRUE(
      HasProtocolError("button #" + std::to_string(button) + " \"Copy\" left undeleted after its dialog"));
  EXPECT_EQ(mqhost::LiveWidgetIds(), std::vector<int32_t>{button});
  mqhost::ClearProtocolErrors();
}

TEST_F(HostWidgetsTest, RequestLogShowsDecodedValuesWithTheirWireTypes) {
  const int32_t combo = Create("combobox");
  mqhost::ClearRequestLog();
  AddItem(combo, u"Cube", -1);
  const auto log = mqhost::RequestLog();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(
      mqhost::FormatRequest(log[0]),
      "771 #" + std::to_string(combo) + " additem=null: text=utf16:\"Cube\" result=int32>0 tag=int64:-1");
}

// --- Scripted user ------------------------------------------------------------

TEST_F(HostWidgetsTest, ClicksToggleCheckBoxesCheckRadiosAndRaiseExecute) {
  const Sample s = MakeSample();
  mqhost::ScriptUser({mqhost::Click("(&R)otate"), mqhost::Click("set to X"), mqhost::Click("(&R)otate"),
                      mqhost::Click("set to X"), mqhost::Click("OK")});
  EXPECT_EQ(RunModal(s.dialog), 1);
  ASSERT_EQ(raised.size(), 5u);
  const int32_t expectedTargets[] = {s.check, s.radio, s.check, s.radio, s.ok};
  for (size_t i = 0; i < raised.size(); ++i) {
    EXPECT_EQ(raised[i].type, "execute");
    EXPECT_EQ(raised[i].target, expectedTargets[i]);
    EXPECT_EQ(raised[i].sender, expectedTargets[i]);
    EXPECT_TRUE(raised[i].hasFinished);
    EXPECT_EQ(raised[i].pointer, &markers_[0]);
  }
  EXPECT_FALSE(GetBool(s.check, "checked")) << "toggled twice";
  EXPECT_TRUE(GetBool(s.radio, "checked")) << "a radio button stays checked";
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  EXPECT_EQ(outcome.modalResult, 1);
  EXPECT_EQ(outcome.actionsPlayed, 5);
  EXPECT_TRUE(outcome.ignored.empty());
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, KeysGoToTheDialogWithCtrlInTheButtonState) {
  const Sample s = MakeSample();
  const DocumentHandle document = mqhost::CreateDocument();
  mqhost::ScriptUser({mqhost::Key('C'), mqhost::Key('V', true), mqhost::CloseWindow()});
  EXPECT_EQ(RunModal(s.dialog), 2);
  ASSERT_EQ(raised.size(), 2u);
  for (const RaisedEvent& event : raised) {
    EXPECT_EQ(event.type, "keydown");
    EXPECT_EQ(event.target, s.dialog);
    EXPECT_EQ(event.sender, s.dialog);
    EXPECT_EQ(event.autoRepeat, 0);
    EXPECT_EQ(event.pointer, &markers_[1]);
    EXPECT_EQ(event.document, document) << "events carry the active document";
  }
  EXPECT_EQ(raised[0].key, 'C');
  EXPECT_EQ(raised[0].buttonState, 0);
  EXPECT_EQ(raised[1].key, 'V');
  EXPECT_EQ(raised[1].buttonState, 0x08);
  mqhost::DestroyDocument(document);
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, EscapeClosesWithCancelUnlessAHandlerFinishesIt) {
  const Sample s = MakeSample();
  bool finish = true;
  onEvent = [&finish](const RaisedEvent&, void** list) {
    if (finish) *static_cast<unsigned char*>(tervolin::LookupArgPointer(list, "finished")) = 1;
  };
  mqhost::ScriptUser({mqhost::Key(0x1B), mqhost::Click("OK")});
  EXPECT_EQ(RunModal(s.dialog), 1) << "a finished Escape leaves the dialog open";
  finish = false;
  mqhost::ScriptUser({mqhost::Key(0x1B), mqhost::Click("OK")});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_EQ(mqhost::RemainingUserActions(), 1u);
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, CloseOkFromAHandlerEndsTheRunWithOne) {
  const Sample s = MakeSample();
  onEvent = [&s](const RaisedEvent& event, void**) {
    if (event.type == "keydown") CloseOk(s.dialog);
  };
  mqhost::ScriptUser({mqhost::Key('B'), mqhost::Click("OK")});
  EXPECT_EQ(RunModal(s.dialog), 1);
  EXPECT_EQ(mqhost::RemainingUserActions(), 1u);
  CloseOk(s.dialog);
  EXPECT_TRUE(HasProtocolError("not running modally"));
  mqhost::ClearProtocolErrors();
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, PickingAnItemSetsTheIndexAndRaisesExecute) {
  const Sample s = MakeSample();
  std::vector<int32_t> indexSeen;
  onEvent = [&](const RaisedEvent& event, void**) {
    if (event.target == s.combo) indexSeen.push_back(GetInt(s.combo, "currentindex"));
  };
  mqhost::ScriptUser({mqhost::PickItem("Cube"), mqhost::PickItemAt(0), mqhost::CloseWindow()});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_EQ(indexSeen, (std::vector<int32_t>{1, 0}));
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, MovingTheDialogChangesItsPosition) {
  const Sample s = MakeSample();
  mqhost::ScriptUser({mqhost::MoveDialog(321, 45), mqhost::CloseWindow()});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_EQ(GetInt(s.dialog, "pos_x"), 321);
  EXPECT_EQ(GetInt(s.dialog, "pos_y"), 45);
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, DisabledControlsIgnoreClicksWithoutAnError) {
  const Sample s = MakeSample();
  SetBool(s.ok, "enabled", false);
  SetBool(s.check, "enabled", false);
  mqhost::ScriptUser({mqhost::Click("OK"), mqhost::Click("(&R)otate"), mqhost::CloseWindow()});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_TRUE(raised.empty());
  EXPECT_FALSE(GetBool(s.check, "checked"));
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  EXPECT_EQ(outcome.actionsPlayed, 3);
  ASSERT_EQ(outcome.ignored.size(), 2u);
  EXPECT_NE(outcome.ignored[0].find("disabled"), std::string::npos);
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, UnknownCaptionIsReportedAndSkipped) {
  const Sample s = MakeSample();
  mqhost::ScriptUser({mqhost::Click("Ok"), mqhost::PickItem("Sphere"), mqhost::Click("OK")});
  EXPECT_EQ(RunModal(s.dialog), 1);
  EXPECT_TRUE(HasProtocolError("captioned \"Ok\""));
  EXPECT_TRUE(HasProtocolError("pick \"Sphere\""));
  EXPECT_EQ(mqhost::LastModalOutcome().ignored.size(), 2u);
  mqhost::ClearProtocolErrors();
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, ScriptRunningOutEndsWithCancelAndAnError) {
  const Sample s = MakeSample();
  mqhost::ScriptUser({mqhost::Click("(&R)otate")});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_TRUE(HasProtocolError("scripted user ran out of actions"));
  EXPECT_TRUE(mqhost::LastModalOutcome().ranOutOfActions);
  mqhost::ClearProtocolErrors();
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, SnapshotIsTheTreeAsTheRunStarted) {
  const Sample s = MakeSample();
  const int32_t frame = Create("frame");
  SetBool(s.check, "checked", true);
  Args align;
  align.Add("alignment", "horz");
  Send(frame, mq::kWidgetSetValues, align);
  Place(s.dialog, frame);
  SetInt(s.combo, "currentindex", 1);
  onEvent = [&s](const RaisedEvent&, void**) { SetBool(s.ok, "enabled", false); };
  mqhost::ScriptUser({mqhost::Click("set to X"), mqhost::CloseWindow()});
  RunModal(s.dialog);

  const mqhost::WidgetSnapshot shot = mqhost::LastDialogSnapshot();
  EXPECT_EQ(shot.id, s.dialog);
  EXPECT_EQ(shot.className, "dialog");
  ASSERT_EQ(shot.children.size(), 5u);
  EXPECT_EQ(shot.children[0].caption, "OK");
  EXPECT_TRUE(shot.children[0].enabled) << "disabled only after the run started";
  EXPECT_EQ(shot.children[0].modalResult, 1);
  EXPECT_TRUE(shot.children[1].checked);
  EXPECT_EQ(shot.children[2].className, "radiobutton");
  EXPECT_FALSE(shot.children[2].checked);
  EXPECT_EQ(shot.children[3].items, (std::vector<std::string>{"-", "Cube"}));
  EXPECT_EQ(shot.children[3].itemTags, (std::vector<int64_t>{-1, 0x80000000LL}));
  EXPECT_EQ(shot.children[3].currentIndex, 1);
  EXPECT_EQ(shot.children[4].alignment, "horz");
  EXPECT_FALSE(mqhost::InspectWidget(s.ok).enabled);

  Delete(frame);
  DeleteSample(s);
}

}  // namespace
