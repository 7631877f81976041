// The records of the widget events that this plug-in's dialog never binds
// (mouse, paint, list drawing, timer, drag and drop): which record the event
// procedure builds from an event's list, and what it writes back when the
// handler has run. They serve other plug-ins' widgets; the dialog binds only
// "execute" and "keydown" (widget_events_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <tuple>
#include <type_traits>
#include <vector>

#include "event_proc_fixture.hpp"
#include "widgets/widgets.hpp"

namespace {

using namespace tervolin;
using namespace event_proc_testing;

// --- Records ----------------------------------------------------------------

// The button state bits the record's flags came from: left 0x01, right 0x02,
// shift 0x04, ctrl 0x08, middle 0x10, bit 5 0x20.
int32_t StateBits(const MouseEventInfo& seen) {
  return (seen.leftButton ? 0x01 : 0) | (seen.rightButton ? 0x02 : 0) | (seen.shiftKey ? 0x04 : 0) |
         (seen.ctrlKey ? 0x08 : 0) | (seen.middleButton ? 0x10 : 0) | (seen.bit5Flag ? 0x20 : 0);
}

TEST_F(WidgetEventProcTest, MouseRecordTakesEveryFieldAndTheFlagsInTheirOrder) {
  auto closure = Bind(button_, "leftdown");
  MouseEventInfo seen;
  closure->body = [&seen](void* info) {
    seen = *static_cast<MouseEventInfo*>(info);
    return 1;
  };
  const int32_t values[] = {1, 2, 3, 4, 5, 6, 7, 8, -120};
  const char* names[] = {"client_x", "client_y", "screen_x", "screen_y",   "down_x",
                         "down_y",   "last_x",   "last_y",   "wheel_delta"};
  int32_t MouseEventInfo::*const fields[] = {
      &MouseEventInfo::clientX, &MouseEventInfo::clientY, &MouseEventInfo::screenX,
      &MouseEventInfo::screenY, &MouseEventInfo::downX,   &MouseEventInfo::downY,
      &MouseEventInfo::lastX,   &MouseEventInfo::lastY,   &MouseEventInfo::wheelDelta};
  int32_t state = 0x11;
  float pressure = 0.75f;
  EventList list = Routed("leftdown", button_->id, button_->id);
  for (size_t i = 0; i < 9; ++i) list.Add(names[i], &values[i]);
  list.Add("button_state", &state).Add("pressure", &pressure);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 1);
  for (size_t i = 0; i < 9; ++i) EXPECT_EQ(seen.*fields[i], values[i]) << names[i];
  EXPECT_FLOAT_EQ(seen.pressure, 0.75f);
  EXPECT_EQ(StateBits(seen), 0x11);

  // Other mixes of bits, with no other names: those give 0.
  const struct {
    const char* event;
    int32_t bits;
  } alone[] = {{"mousemove", 0x08}, {"rightup", 0x26}};
  for (const auto& c : alone) {
    state = c.bits;
    EventList flagsOnly = Routed(c.event, button_->id, button_->id);
    flagsOnly.Add("button_state", &state);
    WidgetEventProc(FakeDocument(), flagsOnly.data(), closure.get());
    EXPECT_EQ(StateBits(seen), c.bits) << c.event;
    EXPECT_EQ(seen.clientX, 0);
    EXPECT_FLOAT_EQ(seen.pressure, 0.0f);
  }
}

TEST_F(WidgetEventProcTest, PaintCanvasIsDeletedUnlessTheHandlerTakesItOver) {
  auto closure = Bind(button_, "paint");
  int surface = 0;
  MQCanvas* kept = nullptr;
  closure->body = [&kept](void* info) {
    auto* paint = static_cast<PaintEventInfo*>(info);
    kept = paint->canvas;
    paint->canvas = nullptr;
    return 1;
  };
  EventList list = Routed("paint", button_->id, button_->id);
  list.Add("canvas", &surface);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 1);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->canvasHandle, &surface) << "the canvas outlives the call";
  delete kept;

  // Left in the record, the canvas is the procedure's to delete (the
  // sanitizer build reports it if it leaks).
  void* handleSeen = &surface;
  closure->body = [&handleSeen](void* info) {
    handleSeen = static_cast<PaintEventInfo*>(info)->canvas->canvasHandle;
    return 2;
  };
  EventList noCanvas = Routed("paint", button_->id, button_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), noCanvas.data(), closure.get()), 2);
  EXPECT_EQ(handleSeen, nullptr);
}

// Both item-drawing records: the item is read in, the rectangle written back,
// and without one of its four locations there is nowhere to write: no call.
TEST_F(WidgetEventProcTest, ItemDrawingReadsTheItemAndWritesTheRectangleBack) {
  ListDrawItemInfo list;
  TreeListDrawItemInfo tree;
  const auto recordInto = [](auto& seen) {
    return [&seen](void* info) {
      auto* item = static_cast<std::remove_reference_t<decltype(seen)>*>(info);
      seen = *item;
      item->width = 10;
      item->y += 1;
      return 5;
    };
  };
  auto onList = Bind(button_, "listdrawitem");
  onList->body = recordInto(list);
  auto onTree = Bind(button_, "treelistdrawitem");
  onTree->body = recordInto(tree);
  int32_t index = 4, treeId = 77;
  const struct {
    const char* event;
    const char* itemName;
    int32_t* item;
    RecordingClosure* closure;
  } cases[] = {{"listdrawitem", "index", &index, onList.get()},
               {"treelistdrawitem", "id", &treeId, onTree.get()}};
  const char* names[4] = {"x", "y", "width", "height"};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.event);
    int32_t rect[4] = {1, 2, 30, 40};
    EventList full = Routed(c.event, button_->id, button_->id);
    full.Add(c.itemName, c.item);
    for (int i = 0; i < 4; ++i) full.Add(names[i], &rect[i]);
    EXPECT_EQ(WidgetEventProc(FakeDocument(), full.data(), c.closure), 5);
    EXPECT_EQ(std::vector<int32_t>(rect, rect + 4), (std::vector<int32_t>{1, 3, 10, 40}));
    for (int missing = 0; missing < 4; ++missing) {
      EventList partial = Routed(c.event, button_->id, button_->id);
      for (int i = 0; i < 4; ++i) {
        if (i != missing) partial.Add(names[i], &rect[i]);
      }
      EXPECT_EQ(WidgetEventProc(FakeDocument(), partial.data(), c.closure), 0) << names[missing];
    }
    EXPECT_EQ(c.closure->calls, 1);
  }
  EXPECT_EQ(std::make_tuple(list.itemIndex, list.x, list.width, list.height), std::make_tuple(4, 1, 30, 40));
  EXPECT_EQ(std::make_tuple(tree.itemId, tree.x, tree.width, tree.height), std::make_tuple(77, 1, 30, 40));
  EXPECT_EQ(tree.itemIndex, -1) << "no \"index\": -1";
}

TEST_F(WidgetEventProcTest, TimerBindingFiresOnce) {
  auto timer = Bind(button_, "timer");
  auto stays = Bind(button_, "execute");
  std::weak_ptr<RecordingClosure> watch = timer;
  bool heldDuringCall = false;
  timer->body = [&](void* info) {
    heldDuringCall = !watch.expired() && info == nullptr;
    return 9;
  };
  void* pointer = timer.get();
  timer.reset();  // the widget holds the only reference now

  EventList list = Routed("timer", button_->id, button_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), pointer), 9);
  EXPECT_TRUE(heldDuringCall);
  EXPECT_TRUE(watch.expired()) << "released after the call";
  ASSERT_EQ(button_->eventClosures.size(), 1u);
  EXPECT_EQ(button_->eventClosures[0], stays);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), pointer), 0);
}

TEST_F(WidgetEventProcTest, DragOverWritesItsResultBack) {
  auto closure = Bind(button_, "dragover");
  DragOverInfo seen;
  closure->body = [&seen](void* info) {
    auto* drag = static_cast<DragOverInfo*>(info);
    seen = *drag;
    drag->result = !drag->result;
    return 1;
  };
  int32_t cx = 11, sy = 44;
  unsigned char result = 0;
  EventList list = Routed("dragover", button_->id, button_->id);
  list.Add("client_x", &cx).Add("screen_y", &sy).Add("result", &result);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 1);
  EXPECT_EQ(seen.clientX, 11);
  EXPECT_EQ(seen.screenY, 44);
  EXPECT_FALSE(seen.result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 1);
  EXPECT_EQ(result, 0);

  EventList noResult = Routed("dragover", button_->id, button_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), noResult.data(), closure.get()), 0);
  EXPECT_EQ(closure->calls, 2);
}

TEST_F(WidgetEventProcTest, DroppedFilesAreCopiedInOrder) {
  auto closure = Bind(button_, "dropfiles");
  std::vector<void*> seen;
  closure->body = [&seen](void* info) {
    seen = static_cast<DropFilesInfo*>(info)->files;
    return 1;
  };
  char16_t first[] = u"a.obj";
  char16_t second[] = u"b.obj";
  void* files[] = {first, second, nullptr};
  EventList list = Routed("dropfiles", button_->id, button_->id);
  list.Add("files", files);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), list.data(), closure.get()), 1);
  EXPECT_EQ(seen, (std::vector<void*>{first, second}));

  EventList noFiles = Routed("dropfiles", button_->id, button_->id);
  EXPECT_EQ(WidgetEventProc(FakeDocument(), noFiles.data(), closure.get()), 0);
  EXPECT_EQ(closure->calls, 1);
}

// A key binding raised with another event's record: the procedure builds the
// record of the event it was given, and the key closure must not read a mouse,
// paint, drawing, drag or drop record as a key record.
class KeyTarget : public MQWidgetBase {
 public:
  explicit KeyTarget(int32_t widgetId) {
    id = widgetId;
    Register();
  }
  int32_t OnKey(MQWidgetBase*, DocumentHandle, KeyEventInfo& info) {
    ++calls;
    lastKey = info.keyCode;
    info.finished = true;
    return 1;
  }
  int calls = 0;
  int32_t lastKey = 0;
};

TEST(KeyBindingRecords, OtherEventsOnAKeyBindingRunNoKeyHandler) {
  KeyTarget target(4242);
  target.eventClosures.push_back(
      std::make_shared<MQWidgetKeyEventClosure<KeyTarget>>(&target, &KeyTarget::OnKey));
  int32_t id = 4242, clientX = 'C', ctrl = 0x08;
  int32_t rect[4] = {0, 0, 10, 10};
  unsigned char result = 0;
  void* files[] = {nullptr};
  for (const char* type :
       {"leftdown", "mousemove", "paint", "listdrawitem", "treelistdrawitem", "dragover", "dropfiles"}) {
    EventList list;
    list.Add("type", type).Add("target_id", &id).Add("client_x", &clientX).Add("button_state", &ctrl);
    list.Add("x", &rect[0]).Add("y", &rect[1]).Add("width", &rect[2]).Add("height", &rect[3]);
    list.Add("result", &result).Add("files", files);
    EXPECT_EQ(WidgetEventProc(nullptr, list.data(), target.eventClosures[0].get()), 0) << type;
    EXPECT_EQ(target.calls, 0) << type << " reached the key handler as key " << target.lastKey;
  }
}

}  // namespace
