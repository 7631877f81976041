// The replacement host's widgets: the control side through which tests and the
// runner script the user of a modal dialog, read the log of every widget
// request the plug-in sent, and look at the widget tree. The plug-in reaches
// the same widgets only through MQWidget_Value and its event procedure.
//
// Sections: wire log; scripted user and modal runs; widget tree and snapshot;
// reset and fault switches.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "mqhost/api.hpp"

namespace mqhost {

// ---------------------------------------------------------------------------
// Wire log: every MQWidget_Value request, decoded as the host read it.

enum class WireType {
  Bool,  // one byte, 0 or 1
  Int32,
  Int64,
  Double,   // 8-byte IEEE
  Text,     // UTF-16, NUL-terminated
  Keyword,  // narrow constant
  Proc,     // the event procedure's address
  Pointer,  // an opaque pointer handed back with events
  Null,     // a method name's empty value
  Unknown,  // a name the request does not know: not read
};

MQHOST_API const char* WireTypeName(WireType type);

struct LoggedValue {
  std::string name;
  WireType type = WireType::Unknown;
  bool output = false;            // the host wrote it (after the request was handled)
  int64_t integer = 0;            // Bool, Int32, Int64 (as read, or as written for outputs)
  double real = 0;                // Double
  std::u16string wide;            // Text, exactly as sent
  std::string text;               // Text converted to UTF-8, or the Keyword
  const void* address = nullptr;  // Proc, Pointer
};

struct LoggedRequest {
  int32_t id = 0;
  int32_t code = 0;
  std::vector<LoggedValue> values;
};

// One line per request, e.g. `770 #105 checked=bool:1` or
// `771 #107 additem=null text=utf16:"Cube" result=int32>1 tag=int64:-1`.
MQHOST_API std::string FormatRequest(const LoggedRequest& request);

MQHOST_API std::vector<LoggedRequest> RequestLog();
MQHOST_API void ClearRequestLog();

// ---------------------------------------------------------------------------
// Scripted user. Actions are queued before the menu pick and played, one by
// one, while a dialog runs modally; each raises the events a real user's
// action raises. Captions and item texts are UTF-8 and matched whole.

struct UserAction {
  enum class Kind { Click, Key, PickItemText, PickItemIndex, MoveDialog, CloseWindow };
  Kind kind = Kind::CloseWindow;
  std::string text;   // Click: caption; PickItemText: item text
  int32_t key = 0;    // Key: key code (capital letter codes for letters)
  bool ctrl = false;  // Key: Ctrl held
  int32_t index = 0;  // PickItemIndex
  int32_t x = 0;      // MoveDialog
  int32_t y = 0;
};

// Clicks the live button, check box (toggles) or radio button (becomes
// checked) with this caption in the running dialog, then raises its
// "execute"; a button with a modal result then ends the run with it.
MQHOST_API UserAction Click(const std::string& caption);
// Raises "keydown" on the dialog ("button_state" 0x08 with Ctrl). Escape that
// no handler finished closes the dialog with the cancel result.
MQHOST_API UserAction Key(int32_t key, bool ctrl = false);
// Picks an item of the dialog's first combo box by text or index, then
// raises the combo box's "execute".
MQHOST_API UserAction PickItem(const std::string& text);
MQHOST_API UserAction PickItemAt(int32_t index);
// Moves the dialog (its "pos_x" and "pos_y").
MQHOST_API UserAction MoveDialog(int32_t x, int32_t y);
// Closes the dialog's window: the run ends with the cancel result (2).
MQHOST_API UserAction CloseWindow();

// Replaces the queue of actions still to play.
MQHOST_API void ScriptUser(std::vector<UserAction> actions);
MQHOST_API size_t RemainingUserActions();
MQHOST_API std::string DescribeAction(const UserAction& action);

// What the last finished modal run did.
struct ModalOutcome {
  bool ran = false;
  int32_t dialogId = 0;
  int32_t modalResult = 0;
  int32_t actionsPlayed = 0;         // actions taken from the script
  std::vector<std::string> ignored;  // played actions that did nothing, and why
  std::vector<std::string> events;   // events raised, e.g. `execute #105`
  bool ranOutOfActions = false;
};
MQHOST_API ModalOutcome LastModalOutcome();

// A live user: a second source of actions, asked for the next one whenever a
// modal run has played every scripted action. It is given the dialog's tree
// as it is now and the run so far (actions played, those ignored), and is
// called on the thread of the modal run, which it may keep waiting for a
// person's next action. An empty function (the default) leaves the scripted
// user alone: a run that runs out of actions ends as before. ResetWidgets
// forgets it.
struct WidgetSnapshot;
using LiveUser = std::function<UserAction(const WidgetSnapshot& dialog, const ModalOutcome& sofar)>;
MQHOST_API void SetLiveUser(LiveUser user);

// ---------------------------------------------------------------------------
// Widget tree.

struct WidgetSnapshot {
  int32_t id = 0;         // 0: no such widget / no snapshot
  std::string className;  // "dialog", "frame", ..., "main_window"
  std::string caption;    // UTF-8: "title" of a window, "text" of a control
  bool enabled = true;
  bool checked = false;
  bool cancel = false;
  std::string alignment;           // "" until set
  std::string horzLayout;          // "" until set
  int32_t modalResult = 0;         // 0: none set
  std::vector<std::string> items;  // combo box items (UTF-8)
  std::vector<int64_t> itemTags;
  int32_t currentIndex = -1;
  int32_t posX = 0;
  int32_t posY = 0;
  std::vector<WidgetSnapshot> children;  // in the order they were added
};

// The tree of the last dialog as it was when its modal run started.
MQHOST_API WidgetSnapshot LastDialogSnapshot();
// The same dialog as it was when its modal run ended (check boxes as the
// script left them); id 0 when the dialog was gone by then.
MQHOST_API WidgetSnapshot ClosingDialogSnapshot();
// The live widget's current state and subtree; id 0 when it is not live.
MQHOST_API WidgetSnapshot InspectWidget(int32_t id);
// Ids of every live widget except the main window, ascending.
MQHOST_API std::vector<int32_t> LiveWidgetIds();
MQHOST_API int32_t MainWindowId();

// ---------------------------------------------------------------------------
// Reset and fault switches.

// Forgets every widget, handler, log entry, script and outcome; ids start
// again. Protocol errors are kept (ClearProtocolErrors clears them).
MQHOST_API void ResetWidgets();
// The next `count` create requests are refused: "id" is left as it is.
MQHOST_API void RefuseCreations(int count);

}  // namespace mqhost
