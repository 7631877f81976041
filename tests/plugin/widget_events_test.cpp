// The widget event procedure: how it finds the binding for a host event, the
// key record and its "finished" byte, and the closures that carry a binding to
// its target. Events are raised here by hand, as the host would raise them.
// The records of the events the dialog never binds are event_records_test.cpp's.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "event_proc_fixture.hpp"
#include "widgets/widgets.hpp"

namespace {

using namespace tervolin;
using namespace event_proc_testing;

// --- Finding the binding -------------------------------------------------

TEST_F(WidgetEventProcTest, LookupFailuresCallNothingAndReturnZero) {
  auto closure = Bind(button_, "execute");
  void* pointer = closure.get();

  EXPECT_EQ(WidgetEventProc(FakeDocument(), nullptr, pointer), 0);

  int32_t id = button_->id;
  EventList noType;
  noType.Add("target_id", &id).Add("sender_id", &id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), noType.data(), pointer), 0);

  EventList nullType;
  nullType.Add("type", nullptr).Add("target_id", &id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), nullType.data(), pointer), 0);

  EventList unregistered = Routed("execute", 999999, button_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), unregistered.data(), pointer), 0);

  EventList unknownPointer = Routed("execute", button_->id, button_->id);
  int other = 0;
  EXPECT_EQ(WidgetEventProc(FakeDocument(), unknownPointer.data(), &other), 0);

  // A pointer held by another widget than the target.
  Bind(dialog_.get(), "execute");
  EventList onDialog = Routed("execute", dialog_->id, dialog_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), onDialog.data(), pointer), 0);

  EXPECT_EQ(closure->calls, 0);
}

TEST_F(WidgetEventProcTest, MatchingBindingRunsWithSenderAndDocument) {
  Bind(button_, "execute");
  auto second = Bind(button_, "execute");
  EventList list = Routed("execute", button_->id, dialog_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), second.get()), 7);
  EXPECT_EQ(second->calls, 1);
  EXPECT_EQ(second->lastSender, dialog_.get());
  EXPECT_EQ(second->lastDocument, FakeDocument());
  EXPECT_EQ(second->lastInfo, nullptr) << "execute carries no record";

  EventList strangeSender = Routed("execute", button_->id, 424242);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), strangeSender.data(), second.get()), 7);
  EXPECT_EQ(second->lastSender, nullptr) << "an unregistered sender arrives as null";
}

TEST_F(WidgetEventProcTest, NamesAreMatchedWholeAndUnknownOnesGetNoRecord) {
  auto closure = Bind(dialog_.get(), "keyup");
  int32_t key = 'A';
  for (const char* type : {"keyupx", "KEYUP", "show"}) {
    EventList list = Routed(type, dialog_->id, dialog_->id);
    list.Add("key", &key);
    EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 7) << type;
    EXPECT_EQ(closure->lastInfo, nullptr) << type;
  }
  EXPECT_EQ(closure->calls, 3);
}

// --- Closures -------------------------------------------------------------

class Target : public MQDialog {
 public:
  explicit Target(MQWindowBase& parent) : MQDialog(parent) {}
  int32_t First(MQWidgetBase*, DocumentHandle) { return ++firstCalls; }
  int32_t Second(MQWidgetBase*, DocumentHandle) { return 100; }
  int32_t Key(MQWidgetBase*, DocumentHandle, KeyEventInfo& info) { return info.keyCode; }
  int firstCalls = 0;
};

TEST_F(WidgetEventProcTest, ClosureCallsItsTargetOnlyWhileTheTargetIsRegistered) {
  auto* target = new Target(*main_);
  auto closure = std::make_shared<MQWidgetEventClosure<Target>>(target, &Target::First);
  EXPECT_EQ(closure->ownerId, target->id);
  EXPECT_EQ(closure->Invoke(nullptr, FakeDocument(), nullptr), 1);
  delete target;
  EXPECT_EQ(closure->Invoke(nullptr, FakeDocument(), nullptr), 0) << "the owner left the registry";
}

TEST_F(WidgetEventProcTest, ClosureIdentityIsClassTargetAndMethodAndKeyClosuresNeedARecord) {
  Target target(*main_);
  Target other(*main_);
  MQWidgetEventClosure<Target> first(&target, &Target::First);
  MQWidgetEventClosure<Target> same(&target, &Target::First);
  same.ownerId = 12345;  // not compared
  MQWidgetEventClosure<Target> otherMethod(&target, &Target::Second);
  MQWidgetEventClosure<Target> otherTarget(&other, &Target::First);
  MQWidgetKeyEventClosure<Target> key(&target, &Target::Key);
  EXPECT_TRUE(first.IsSameAs(&same));
  EXPECT_FALSE(first.IsSameAs(&otherMethod));
  EXPECT_FALSE(first.IsSameAs(&otherTarget));
  EXPECT_FALSE(first.IsSameAs(&key));
  EXPECT_FALSE(key.IsSameAs(&first));
  EXPECT_EQ(key.GetTarget(), &target);

  // A key closure passes the record and needs one.
  KeyEventInfo info;
  info.keyCode = 'V';
  EXPECT_EQ(key.Invoke(nullptr, FakeDocument(), &info), 'V');
  EXPECT_EQ(key.Invoke(nullptr, FakeDocument(), nullptr), 0) << "an event without a key record calls nothing";
}

TEST_F(WidgetEventProcTest, FinishedIsCopiedBackOnlyWhenTheHandlerSetsIt) {
  auto closure = Bind(dialog_.get(), "keydown");
  bool finish = true;
  KeyEventInfo seen;
  closure->body = [&](void* info) {
    auto* key = static_cast<KeyEventInfo*>(info);
    seen = *key;
    key->finished = finish;
    return 3;
  };
  int32_t key = 'C';
  int32_t state = 0x08;
  int32_t repeat = 2;
  unsigned char finished = 0;
  EventList list = Routed("keydown", dialog_->id, dialog_->id);
  list.Add("finished", &finished).Add("key", &key).Add("button_state", &state).Add("auto_repeat", &repeat);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 3);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(seen.keyCode, 'C');
  EXPECT_TRUE(seen.ctrlKey);
  EXPECT_TRUE(seen.autoRepeat);
  EXPECT_FALSE(seen.finished) << "false on entry";

  finish = false;
  finished = 0x5A;  // untouched when the handler leaves it false
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 3);
  EXPECT_EQ(finished, 0x5A);

  finish = true;
  EventList noFinished = Routed("keydown", dialog_->id, dialog_->id);
  noFinished.Add("key", &key);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), noFinished.data(), closure.get()), 3);
  EXPECT_EQ(closure->calls, 3);
}

TEST_F(WidgetEventProcTest, HandlerMayRegisterMoreBindingsDuringItsCall) {
  auto closure = Bind(dialog_.get(), "keydown");
  closure->body = [this](void* info) {
    for (int i = 0; i < 40; ++i) dialog_->AddEventClosure("keyup", std::make_shared<RecordingClosure>());
    static_cast<KeyEventInfo*>(info)->finished = true;
    return 1;
  };
  unsigned char finished = 0;
  EventList list = Routed("keydown", dialog_->id, dialog_->id);
  list.Add("finished", &finished);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 1);
  EXPECT_EQ(finished, 1);
  EXPECT_EQ(dialog_->eventClosures.size(), 41u);
}
}  // namespace
