// The widget event procedure: finds the closure an event names and hands it
// the event's record.
//
// Generic in part: the operation dialog's events are "execute" and
// "keydown". The mouse, paint, list-drawing, timer, drag and drop branches of
// Route serve the widgets of other plug-ins; this object plug-in does not
// reach them (their tests: tests/plugin/event_records_test.cpp).
#include "widgets/event_proc.hpp"

#include <cstddef>
#include <cstring>
#include <memory>

#include "protocol/arg_list.hpp"
#include "protocol/widget_events.hpp"
#include "widgets/event_records.hpp"
#include "widgets/widget_base.hpp"
#include "widgets/widget_registry.hpp"

namespace tervolin {

namespace {

// The record a non-key row hands to `closure`: none for a key binding, which
// would read it as a KeyEventInfo.
void* RecordFor(const MQWidgetEventClosureBase* closure, void* record) {
  return closure->ReadsKeyRecord() ? nullptr : record;
}

MouseEventInfo ReadMouse(void* const* list) {
  MouseEventInfo info;
  info.clientX = LookupArgInt(list, "client_x", 0);
  info.clientY = LookupArgInt(list, "client_y", 0);
  info.screenX = LookupArgInt(list, "screen_x", 0);
  info.screenY = LookupArgInt(list, "screen_y", 0);
  info.downX = LookupArgInt(list, "down_x", 0);
  info.downY = LookupArgInt(list, "down_y", 0);
  info.lastX = LookupArgInt(list, "last_x", 0);
  info.lastY = LookupArgInt(list, "last_y", 0);
  info.wheelDelta = LookupArgInt(list, "wheel_delta", 0);
  mq::SetButtonFlags(LookupArgInt(list, mq::kEventButtonState, 0), info);
  if (const void* pressure = LookupArgPointer(list, "pressure")) {
    std::memcpy(&info.pressure, pressure, sizeof info.pressure);
  }
  return info;
}

KeyEventInfo ReadKey(void* const* list) {
  KeyEventInfo info;
  info.keyCode = LookupArgInt(list, mq::kEventKey, 0);
  info.autoRepeat = LookupArgInt(list, mq::kEventAutoRepeat, 0) != 0;
  mq::SetButtonFlags(LookupArgInt(list, mq::kEventButtonState, 0), info);
  return info;
}

// Only ever stores true: the host's byte is never cleared here.
void CopyFinished(void* finishedLocation, bool finished) {
  if (finished && finishedLocation != nullptr) {
    const unsigned char one = 1;
    std::memcpy(finishedLocation, &one, 1);
  }
}

int32_t ReadInt(const void* location) {
  int32_t value;
  std::memcpy(&value, location, sizeof value);
  return value;
}

void WriteInt(void* location, int32_t value) { std::memcpy(location, &value, sizeof value); }

// The canvas a drawing record carries; deleted after the handler unless the
// handler took it over by clearing the record's field.
class CanvasGuard {
 public:
  explicit CanvasGuard(MQCanvas*& field) : field_(field) {}
  ~CanvasGuard() { delete field_; }
  CanvasGuard(const CanvasGuard&) = delete;
  CanvasGuard& operator=(const CanvasGuard&) = delete;

 private:
  MQCanvas*& field_;
};

template <std::size_t N>
bool IsOneOf(const char* name, const char* const (&names)[N]) {
  for (const char* candidate : names) {
    if (std::strcmp(name, candidate) == 0) return true;
  }
  return false;
}

// The four locations a list-drawing event's rectangle is read from and
// written back to; all four must be there.
struct Rectangle {
  void* x;
  void* y;
  void* width;
  void* height;
  bool complete() const { return x != nullptr && y != nullptr && width != nullptr && height != nullptr; }
};

Rectangle FindRectangle(void* const* list) {
  return {LookupArgPointer(list, "x"), LookupArgPointer(list, "y"), LookupArgPointer(list, "width"),
          LookupArgPointer(list, "height")};
}

template <class Record>
void ReadRectangle(Record& info, const Rectangle& rect) {
  info.x = ReadInt(rect.x);
  info.y = ReadInt(rect.y);
  info.width = ReadInt(rect.width);
  info.height = ReadInt(rect.height);
}

template <class Record>
void WriteRectangle(const Record& info, const Rectangle& rect) {
  WriteInt(rect.x, info.x);
  WriteInt(rect.y, info.y);
  WriteInt(rect.width, info.width);
  WriteInt(rect.height, info.height);
}

template <class Record>
void ReadPosition(Record& info, void* const* list) {
  info.clientX = LookupArgInt(list, "client_x", 0);
  info.clientY = LookupArgInt(list, "client_y", 0);
  info.screenX = LookupArgInt(list, "screen_x", 0);
  info.screenY = LookupArgInt(list, "screen_y", 0);
}

// A list-drawing event: nothing without all four of its rectangle's
// locations; otherwise the item (read by `readItem`) and the rectangle go to
// the handler, the canvas is deleted after it unless the handler took it
// over, and the rectangle is written back.
template <class Record, class ReadItem>
int32_t RouteDrawItem(MQWidgetEventClosureBase& closure, MQWidgetBase* sender, DocumentHandle document,
                      void* const* list, ReadItem readItem) {
  const Rectangle rect = FindRectangle(list);
  if (!rect.complete()) return 0;
  Record info;
  readItem(info);
  ReadRectangle(info, rect);
  int32_t result;
  {
    info.canvas = new MQCanvas(LookupArgPointer(list, "canvas"));
    const CanvasGuard guard(info.canvas);
    result = closure.Invoke(sender, document, RecordFor(&closure, &info));
  }
  WriteRectangle(info, rect);
  return result;
}

int Route(DocumentHandle document, void** list, void* pointer) {
  const int32_t targetId = LookupArgInt(list, mq::kEventTargetId, 0);
  const int32_t senderId = LookupArgInt(list, mq::kEventSenderId, 0);
  void* const finishedLocation = LookupArgPointer(list, mq::kEventFinished);

  if (list == nullptr) return 0;
  const auto* type = static_cast<const char*>(LookupArgPointer(list, mq::kEventType));
  if (type == nullptr) return 0;

  MQWidgetBase* target = FindRegisteredWidget(targetId);
  if (target == nullptr) return 0;

  std::vector<std::shared_ptr<MQWidgetEventClosureBase>>& closures = target->eventClosures;
  std::size_t k = 0;
  while (k < closures.size() && closures[k].get() != pointer) ++k;
  if (k == closures.size()) return 0;
  // Only the address is kept: a handler may register more closures, which can
  // move the array.
  MQWidgetEventClosureBase* const closure = closures[k].get();

  MQWidgetBase* const sender = FindRegisteredWidget(senderId);

  if (IsOneOf(type, mq::kMouseEventNames)) {
    MouseEventInfo info = ReadMouse(list);
    const int32_t result = closure->Invoke(sender, document, RecordFor(closure, &info));
    CopyFinished(finishedLocation, info.finished);
    return result;
  }
  if (IsOneOf(type, mq::kKeyEventNames)) {
    KeyEventInfo info = ReadKey(list);
    const int32_t result = closure->Invoke(sender, document, &info);
    CopyFinished(finishedLocation, info.finished);
    return result;
  }
  if (std::strcmp(type, mq::kEventPaint) == 0) {
    PaintEventInfo info;
    info.canvas = new MQCanvas(LookupArgPointer(list, "canvas"));
    const CanvasGuard guard(info.canvas);
    return closure->Invoke(sender, document, RecordFor(closure, &info));
  }
  if (std::strcmp(type, mq::kEventListDrawItem) == 0) {
    return RouteDrawItem<ListDrawItemInfo>(*closure, sender, document, list, [list](ListDrawItemInfo& info) {
      info.itemIndex = LookupArgInt(list, "index", -1);
    });
  }
  if (std::strcmp(type, mq::kEventTreeListDrawItem) == 0) {
    return RouteDrawItem<TreeListDrawItemInfo>(*closure, sender, document, list,
                                               [list](TreeListDrawItemInfo& info) {
                                                 info.itemIndex = LookupArgInt(list, "index", -1);
                                                 info.itemId = LookupArgInt(list, "id", -1);
                                               });
  }
  if (std::strcmp(type, mq::kEventTimer) == 0) {
    // A timer binding fires once: it leaves the widget before its call and
    // lives on this reference until the call returns.
    const std::shared_ptr<MQWidgetEventClosureBase> held = closures[k];
    closures.erase(closures.begin() + static_cast<std::ptrdiff_t>(k));
    return held->Invoke(sender, document, nullptr);
  }
  if (std::strcmp(type, mq::kEventDragOver) == 0) {
    auto* const resultLocation = static_cast<unsigned char*>(LookupArgPointer(list, "result"));
    if (resultLocation == nullptr) return 0;
    DragOverInfo info;
    ReadPosition(info, list);
    info.result = *resultLocation != 0;
    const int32_t result = closure->Invoke(sender, document, RecordFor(closure, &info));
    *resultLocation = info.result ? 1 : 0;
    return result;
  }
  if (std::strcmp(type, mq::kEventDropFiles) == 0) {
    auto* const* const files = static_cast<void* const*>(LookupArgPointer(list, "files"));
    if (files == nullptr) return 0;
    DropFilesInfo info;
    ReadPosition(info, list);
    for (std::size_t i = 0; files[i] != nullptr; ++i) info.files.push_back(files[i]);
    return closure->Invoke(sender, document, RecordFor(closure, &info));
  }
  return closure->Invoke(sender, document, nullptr);
}

}  // namespace

int WidgetEventProc(DocumentHandle document, void** list, void* pointer) {
  // The host is C: nothing may unwind into it.
  try {
    return Route(document, list, pointer);
  } catch (...) {
    return 0;
  }
}

}  // namespace tervolin
