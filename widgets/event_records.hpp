// The typed records the event procedure builds from a host event's argument
// list, and the canvas wrapper handed to drawing handlers. Each record lives
// on the event procedure's stack for one call.
//
// Generic part, but for KeyEventInfo: the operation dialog binds only
// "execute" (no record) and "keydown". The mouse, paint, list-drawing, timer,
// drag and drop records serve the widgets of other plug-ins; this object
// plug-in does not reach them (their tests: tests/plugin/event_records_test.cpp).
#pragma once

#include <cstdint>
#include <vector>

namespace tervolin {

// The host's drawing surface for one drawing event. Nothing is created in or
// released from the host: the handle is only carried.
class MQCanvas {
 public:
  explicit MQCanvas(void* handle) : canvasHandle(handle) {}
  virtual ~MQCanvas() = default;
  MQCanvas(const MQCanvas&) = delete;
  MQCanvas& operator=(const MQCanvas&) = delete;

  void* canvasHandle;
};

// Mouse events. The flags come from "button_state": leftButton bit 0,
// middleButton bit 4, rightButton bit 1, shiftKey bit 2, ctrlKey bit 3,
// bit5Flag bit 5 (kept in this order, not in bit order).
struct MouseEventInfo {
  int32_t clientX = 0;
  int32_t clientY = 0;
  int32_t screenX = 0;
  int32_t screenY = 0;
  int32_t downX = 0;
  int32_t downY = 0;
  int32_t lastX = 0;
  int32_t lastY = 0;
  int32_t wheelDelta = 0;
  bool leftButton = false;
  bool middleButton = false;
  bool rightButton = false;
  bool shiftKey = false;
  bool ctrlKey = false;
  bool bit5Flag = false;
  float pressure = 0.0f;
  // Set by a handler that consumed the event; copied back to the host.
  bool finished = false;
};

// Key events. `keyCode` uses the capital letter codes for letter keys.
struct KeyEventInfo {
  int32_t keyCode = 0;
  bool autoRepeat = false;
  bool leftButton = false;
  bool middleButton = false;
  bool rightButton = false;
  bool shiftKey = false;
  bool ctrlKey = false;
  bool bit5Flag = false;
  bool finished = false;
};

// "paint": a handler that sets `canvas` to null takes the canvas over.
struct PaintEventInfo {
  MQCanvas* canvas = nullptr;
};

// "listdrawitem": the rectangle is written back to the host after the handler.
struct ListDrawItemInfo {
  MQCanvas* canvas = nullptr;
  int32_t itemIndex = -1;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// "treelistdrawitem": as ListDrawItemInfo, with the tree item's id.
struct TreeListDrawItemInfo {
  MQCanvas* canvas = nullptr;
  int32_t itemIndex = -1;
  int32_t itemId = -1;
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};

// "dragover": `result` is written back to the host's byte after the handler.
struct DragOverInfo {
  int32_t clientX = 0;
  int32_t clientY = 0;
  int32_t screenX = 0;
  int32_t screenY = 0;
  bool result = false;
};

// "dropfiles": the host's file-name pointers, copied; the texts stay the
// host's and are not read here.
struct DropFilesInfo {
  int32_t clientX = 0;
  int32_t clientY = 0;
  int32_t screenX = 0;
  int32_t screenY = 0;
  std::vector<void*> files;
};

}  // namespace tervolin
