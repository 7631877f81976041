// The widget events the host raises to the plug-in's event procedure: their
// names, the names of the arguments every event carries, and the bits of
// "button_state", the mouse buttons and modifier keys held during a mouse or
// key event (also in MQOnEvent's mouse events).
#pragma once

#include <cstdint>

namespace mq {

// Event type names, as "type" carries them and as handlers register for them.
inline constexpr const char* kWidgetEventNames[] = {
    "execute",         "keydown",          "keyup",     "leftdown",          "leftup",
    "leftdoubleclick", "middledown",       "middleup",  "middledoubleclick", "rightdown",
    "rightup",         "rightdoubleclick", "mousemove", "mousewheel",        "paint",
    "listdrawitem",    "treelistdrawitem", "timer",     "dragover",          "dropfiles",
};
// The mouse events share one record; so do the two key events.
inline constexpr const char* kMouseEventNames[] = {
    "leftdown",  "leftup",  "leftdoubleclick",  "middledown", "middleup",   "middledoubleclick",
    "rightdown", "rightup", "rightdoubleclick", "mousemove",  "mousewheel",
};
inline constexpr const char* kKeyEventNames[] = {"keydown", "keyup"};

// Arguments of every event: its type, the widget that handles it and the one
// that raised it, and the byte a handler sets to say it consumed the event.
inline constexpr const char* kEventType = "type";
inline constexpr const char* kEventTargetId = "target_id";
inline constexpr const char* kEventSenderId = "sender_id";
inline constexpr const char* kEventFinished = "finished";
inline constexpr const char* kEventButtonState = "button_state";

// Bits of "button_state". Not in the order the records list them.
inline constexpr int32_t kButtonLeft = 0x01;
inline constexpr int32_t kButtonRight = 0x02;
inline constexpr int32_t kButtonShift = 0x04;
inline constexpr int32_t kButtonCtrl = 0x08;
inline constexpr int32_t kButtonMiddle = 0x10;
inline constexpr int32_t kButtonBit5 = 0x20;

}  // namespace mq
