// The replacement host's scripted user: the modal run it plays, the events it
// raises to the handlers, and what it reports when the script goes wrong.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "mqhost/error_log.hpp"
#include "mqhost/widgets.hpp"
#include "protocol/arg_list.hpp"
#include "protocol/host_types.hpp"
#include "widget_host_fixture.hpp"

namespace {

using host_testing::HostWidgetsTest;

// Clicks raise "execute" on their control, keys "keydown" on the dialog with
// Ctrl in the button state; every event carries the active document.
TEST_F(HostWidgetsTest, ClicksAndKeysRaiseTheirEvents) {
  const Sample s = MakeSample();
  const DocumentHandle document = mqhost::CreateDocument();
  mqhost::ScriptUser({mqhost::Click("(&R)otate"), mqhost::Click("set to X"), mqhost::Click("(&R)otate"),
                      mqhost::Click("set to X"), mqhost::Key('C'), mqhost::Key('V', true),
                      mqhost::Click("OK")});
  EXPECT_EQ(RunModal(s.dialog), 1);
  ASSERT_EQ(raised.size(), 7u);
  const int32_t expectedTargets[] = {s.check, s.radio, s.check, s.radio, s.dialog, s.dialog, s.ok};
  for (size_t i = 0; i < raised.size(); ++i) {
    const bool key = i == 4 || i == 5;
    EXPECT_EQ(raised[i].type, key ? "keydown" : "execute") << i;
    EXPECT_EQ(raised[i].target, expectedTargets[i]) << i;
    EXPECT_EQ(raised[i].sender, expectedTargets[i]) << i;
    EXPECT_EQ(raised[i].pointer, &markers_[key ? 1 : 0]) << i;
    EXPECT_EQ(raised[i].document, document) << i;
    EXPECT_TRUE(key || raised[i].hasFinished) << i;
  }
  EXPECT_EQ(raised[4].key, 'C');
  EXPECT_EQ(raised[4].buttonState, 0);
  EXPECT_EQ(raised[4].autoRepeat, 0);
  EXPECT_EQ(raised[5].key, 'V');
  EXPECT_EQ(raised[5].buttonState, 0x08);
  EXPECT_EQ(raised[5].autoRepeat, 0);
  EXPECT_FALSE(GetBool(s.check, "checked")) << "toggled twice";
  EXPECT_TRUE(GetBool(s.radio, "checked")) << "a radio button stays checked";
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  EXPECT_EQ(outcome.modalResult, 1);
  EXPECT_EQ(outcome.actionsPlayed, 7);
  EXPECT_TRUE(outcome.ignored.empty());
  mqhost::DestroyDocument(document);
  DeleteSample(s);
}

// Escape closes with Cancel unless a handler finishes it; closing with "ok"
// outside a modal run is an error.
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
  CloseOk(s.dialog);
  EXPECT_TRUE(HasProtocolError("not running modally"));
  mqhost::ClearProtocolErrors();
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, PickingAnItemSetsTheIndexAndMovingTheDialogItsPosition) {
  const Sample s = MakeSample();
  std::vector<int32_t> indexSeen;
  onEvent = [&](const RaisedEvent& event, void**) {
    if (event.target == s.combo) indexSeen.push_back(GetInt(s.combo, "currentindex"));
  };
  mqhost::ScriptUser(
      {mqhost::PickItem("Cube"), mqhost::PickItemAt(0), mqhost::MoveDialog(321, 45), mqhost::CloseWindow()});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_EQ(indexSeen, (std::vector<int32_t>{1, 0}));
  EXPECT_EQ(GetInt(s.dialog, "pos_x"), 321);
  EXPECT_EQ(GetInt(s.dialog, "pos_y"), 45);
  DeleteSample(s);
}

// Disabled controls are skipped quietly, unknown captions with an error, and a
// script that runs out ends the run with Cancel.
TEST_F(HostWidgetsTest, UnplayableActionsAreSkippedAndRunningOutCancels) {
  const Sample s = MakeSample();
  Set(s.ok, "enabled", false);
  Set(s.check, "enabled", false);
  mqhost::ScriptUser(
      {mqhost::Click("OK"), mqhost::Click("(&R)otate"), mqhost::Click("Ok"), mqhost::PickItem("Sphere")});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_TRUE(raised.empty());
  EXPECT_FALSE(GetBool(s.check, "checked"));
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  EXPECT_EQ(outcome.actionsPlayed, 4);
  ASSERT_EQ(outcome.ignored.size(), 4u);
  EXPECT_NE(outcome.ignored[0].find("disabled"), std::string::npos);
  EXPECT_NE(outcome.ignored[1].find("disabled"), std::string::npos);
  EXPECT_TRUE(outcome.ranOutOfActions);
  EXPECT_EQ(mqhost::ProtocolErrors().size(), 3u);
  EXPECT_TRUE(HasProtocolError("captioned \"Ok\""));
  EXPECT_TRUE(HasProtocolError("pick \"Sphere\""));
  EXPECT_TRUE(HasProtocolError("scripted user ran out of actions"));
  mqhost::ClearProtocolErrors();
  DeleteSample(s);
}

// A live user is asked only once the script is played out, each time with
// the dialog as it is then and the run so far; what it answers is played as
// a scripted action is. Without one, running out still cancels.
TEST_F(HostWidgetsTest, LiveUserTakesOverWhenTheScriptIsPlayedOut) {
  const Sample s = MakeSample();
  Set(s.ok, "enabled", false);
  std::vector<bool> checkedSeen;
  std::vector<size_t> ignoredSeen;
  std::vector<int32_t> playedSeen;
  int asked = 0;
  mqhost::SetLiveUser([&](const mqhost::WidgetSnapshot& dialog, const mqhost::ModalOutcome& sofar) {
    EXPECT_EQ(dialog.id, s.dialog);
    bool checked = false;
    for (const mqhost::WidgetSnapshot& child : dialog.children)
      checked |= child.id == s.check && child.checked;
    checkedSeen.push_back(checked);
    ignoredSeen.push_back(sofar.ignored.size());
    playedSeen.push_back(sofar.actionsPlayed);
    switch (asked++) {
      case 0: return mqhost::Click("OK");  // disabled: ignored
      case 1: Set(s.ok, "enabled", true); return mqhost::Click("(&R)otate");
      default: return mqhost::Click("OK");
    }
  });
  mqhost::ScriptUser({mqhost::Click("(&R)otate")});
  EXPECT_EQ(RunModal(s.dialog), 1);
  mqhost::SetLiveUser({});
  EXPECT_EQ(checkedSeen, (std::vector<bool>{true, true, false}));
  EXPECT_EQ(ignoredSeen, (std::vector<size_t>{0, 1, 1}));
  EXPECT_EQ(playedSeen, (std::vector<int32_t>{1, 2, 3}));
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  EXPECT_EQ(outcome.actionsPlayed, 4);
  EXPECT_FALSE(outcome.ranOutOfActions);
  EXPECT_TRUE(mqhost::ProtocolErrors().empty());

  mqhost::ScriptUser({});
  EXPECT_EQ(RunModal(s.dialog), 2);
  EXPECT_TRUE(mqhost::LastModalOutcome().ranOutOfActions);
  EXPECT_TRUE(HasProtocolError("scripted user ran out of actions"));
  mqhost::ClearProtocolErrors();
  DeleteSample(s);
}

TEST_F(HostWidgetsTest, SnapshotIsTheTreeAsTheRunStarted) {
  const Sample s = MakeSample();
  const int32_t frame = Create("frame");
  Set(s.check, "checked", true);
  Args align;
  align.Add("alignment", "horz");
  Send(frame, mq::kWidgetSetValues, align);
  Place(s.dialog, frame);
  Set(s.combo, "currentindex", 1);
  onEvent = [&s](const RaisedEvent&, void**) { Set(s.ok, "enabled", false); };
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
  EXPECT_EQ(shot.children[3].currentIndex, 1);
  EXPECT_EQ(shot.children[4].alignment, "horz");
  EXPECT_FALSE(mqhost::InspectWidget(s.ok).enabled);

  Delete(frame);
  DeleteSample(s);
}

}  // namespace
