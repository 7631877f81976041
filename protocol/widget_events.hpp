// The widget events the host raises to the plug-in's event procedure: their
// names, the names of the arguments every event carries, and the bits of
// "button_state", the mouse buttons and modifier keys held during a mouse or
// key event (also in MQOnEvent's mouse events).
#pragma once

#include <cstdint>

namespace mq {

// Event type names, as "type" carries them and as handlers register for them.
inline constexpr const char* kEventExecute = "execute";
inline constexpr const char* kEventKeyDown = "keydown";
inline constexpr const char* kEventKeyUp = "keyup";
inline constexpr const char* kEventLeftDown = "leftdown";
inline constexpr const char* kEventLeftUp = "leftup";
inline constexpr const char* kEventLeftDoubleClick = "leftdoubleclick";
inline constexpr const char* kEventMiddleDown = "middledown";
inline constexpr const char* kEventMiddleUp = "middleup";
inline constexpr const char* kEventMiddleDoubleClick = "middledoubleclick";
inline constexpr const char* kEventRightDown = "rightdown";
inline constexpr const char* kEventRightUp = "rightup";
inline constexpr const char* kEventRightDoubleClick = "rightdoubleclick";
inline constexpr const char* kEventMouseMove = "mousemove";
inline constexpr const char* kEventMouseWheel = "mousewheel";
inline constexpr const char* kEventPaint = "paint";
inline constexpr const char* kEventListDrawItem = "listdrawitem";
inline constexpr const char* kEventTreeListDrawItem = "treelistdrawitem";
inline constexpr const char* kEventTimer = "timer";
inline constexpr const char* kEventDragOver = "dragover";
inline constexpr const char* kEventDropFiles = "dropfiles";

inline constexpr const char* kWidgetEventNames[] = {
    kEventExecute,         kEventKeyDown,          kEventKeyUp,     kEventLeftDown,          kEventLeftUp,
    kEventLeftDoubleClick, kEventMiddleDown,       kEventMiddleUp,  kEventMiddleDoubleClick, kEventRightDown,
    kEventRightUp,         kEventRightDoubleClick, kEventMouseMove, kEventMouseWheel,        kEventPaint,
    kEventListDrawItem,    kEventTreeListDrawItem, kEventTimer,     kEventDragOver,          kEventDropFiles,
};
// The mouse events share one record; so do the two key events.
inline constexpr const char* kMouseEventNames[] = {
    kEventLeftDown,          kEventLeftUp,    kEventLeftDoubleClick, kEventMiddleDown,       kEventMiddleUp,
    kEventMiddleDoubleClick, kEventRightDown, kEventRightUp,         kEventRightDoubleClick, kEventMouseMove,
    kEventMouseWheel,
};
inline constexpr const char* kKeyEventNames[] = {kEventKeyDown, kEventKeyUp};

// Arguments of every event: its type, the widget that handles it and the one
// that raised it, and the byte a handler sets to say it consumed the event.
inline constexpr const char* kEventType = "type";
inline constexpr const char* kEventTargetId = "target_id";
inline constexpr const char* kEventSenderId = "sender_id";
inline constexpr const char* kEventFinished = "finished";
inline constexpr const char* kEventButtonState = "button_state";
// The key events' own arguments: the virtual key code and whether the key is
// held down and repeating (both int32).
inline constexpr const char* kEventKey = "key";
inline constexpr const char* kEventAutoRepeat = "auto_repeat";

// Bits of "button_state". Not in the order the records list them.
inline constexpr int32_t kButtonLeft = 0x01;
inline constexpr int32_t kButtonRight = 0x02;
inline constexpr int32_t kButtonShift = 0x04;
inline constexpr int32_t kButtonCtrl = 0x08;
inline constexpr int32_t kButtonMiddle = 0x10;
inline constexpr int32_t kButtonBit5 = 0x20;

// Sets a record's six flag fields (leftButton, middleButton, rightButton,
// shiftKey, ctrlKey, bit5Flag; bool or int32) from a "button_state" value.
template <class Record>
void SetButtonFlags(int32_t state, Record& record) {
  record.leftButton = (state & kButtonLeft) != 0;
  record.middleButton = (state & kButtonMiddle) != 0;
  record.rightButton = (state & kButtonRight) != 0;
  record.shiftKey = (state & kButtonShift) != 0;
  record.ctrlKey = (state & kButtonCtrl) != 0;
  record.bit5Flag = (state & kButtonBit5) != 0;
}

}  // namespace mq
