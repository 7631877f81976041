// A key binding raised with another event's record: the event procedure
// builds the record of the event name it was given, and the key closure must
// not read a mouse, paint, drawing, drag or drop record as a key record.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "widgets/widgets.hpp"

namespace {

using namespace tervolin;

class KeyTarget : public MQWidgetBase {
 public:
  explicit KeyTarget(int32_t widgetId) {
    id = widgetId;
    Register();
  }
  int32_t OnKey(MQWidgetBase*, DocumentHandle, KeyEventInfo& info) {
    ++calls;
    lastKey = info.keyCode;
    lastCtrl = info.ctrlKey;
    info.finished = true;
    return 1;
  }
  int calls = 0;
  int32_t lastKey = 0;
  bool lastCtrl = false;
};

TEST(KeyBindingRecords, OtherEventsOnAKeyBindingRunNoKeyHandler) {
  KeyTarget target(4242);
  target.eventClosures.push_back(
      std::make_shared<MQWidgetKeyEventClosure<KeyTarget>>(&target, &KeyTarget::OnKey));
  void* const pointer = target.eventClosures[0].get();
  int32_t id = 4242;
  int32_t clientX = 'C';
  int32_t ctrl = 0x08;
  int32_t rect[4] = {0, 0, 10, 10};
  unsigned char result = 0;
  void* files[] = {nullptr};
  for (const char* type :
       {"leftdown", "mousemove", "paint", "listdrawitem", "treelistdrawitem", "dragover", "dropfiles"}) {
    // One name and its value per line.
    // clang-format off
    std::vector<void*> list = {const_cast<char*>("type"), const_cast<char*>(type),
                               const_cast<char*>("target_id"), &id,
                               const_cast<char*>("client_x"), &clientX,
                               const_cast<char*>("button_state"), &ctrl,
                               const_cast<char*>("x"), &rect[0],
                               const_cast<char*>("y"), &rect[1],
                               const_cast<char*>("width"), &rect[2],
                               const_cast<char*>("height"), &rect[3],
                               const_cast<char*>("result"), &result,
                               const_cast<char*>("files"), files,
                               nullptr, nullptr};
    // clang-format on
    EXPECT_EQ(WidgetEventProc(nullptr, list.data(), pointer), 0) << type;
    EXPECT_EQ(target.calls, 0) << type << " reached the key handler as key " << target.lastKey
                               << (target.lastCtrl ? " with Ctrl" : "");
  }
}

}  // namespace
