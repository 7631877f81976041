// Internal to the replacement host: the widget store behind MQWidget_Value and
// the scripted user. One store per process; every call arrives on the host's
// user-interface thread, so nothing is locked.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mqhost/widgets.hpp"
#include "protocol/host_types.hpp"

namespace mqhost::widget_host {

enum class WidgetClass {
  MainWindow,
  Dialog,
  Frame,
  GroupBox,
  Button,
  CheckBox,
  RadioButton,
  ComboBox,
  Label
};

const char* ClassName(WidgetClass cls);
bool IsWindow(WidgetClass cls);
// Classes that hold children placed with add child.
bool IsContainer(WidgetClass cls);

struct Handler {
  std::string type;
  WidgetEventProcType proc = nullptr;
  void* pointer = nullptr;
  bool prior = false;
};

struct ComboItem {
  std::u16string text;
  int64_t tag = 0;
};

struct Widget {
  int32_t id = 0;
  WidgetClass cls = WidgetClass::Frame;
  int32_t parent = 0;             // 0: not placed
  std::vector<int32_t> children;  // in the order added
  int32_t dialog = 0;             // the dialog this widget was placed into, directly or not

  std::u16string caption;  // "text" of a control, "title" of a window
  bool enabled = true;
  bool checked = false;
  bool cancel = false;
  std::string alignment;
  std::string horzLayout;
  int32_t modalResult = 0;
  double fillBeforeRate = 0;
  double fillAfterRate = 0;
  double inSpace = 0;
  double outSpace = 0;
  int32_t posX = 0;
  int32_t posY = 0;
  std::vector<ComboItem> items;
  int32_t currentIndex = -1;

  std::vector<Handler> handlers;  // in registration order
  bool runningModal = false;
};

// One modal run in progress (runs may nest).
struct ModalRun {
  int32_t dialog = 0;
  bool ended = false;
  int32_t result = 0;
};

struct Store {
  std::map<int32_t, std::unique_ptr<Widget>> live;
  std::map<int32_t, WidgetClass> deleted;  // ids deleted, with their class
  int32_t mainWindow = 1;
  int32_t nextId = 101;
  int refuseCreations = 0;
  // A creation was refused, and widgets of that dialog may still be live: the
  // caller's unowned wrapper then sends its requests to id 0, which the host
  // answers with nothing and no error.
  bool refusedCreation = false;

  std::vector<LoggedRequest> log;
  std::vector<UserAction> script;  // front is next
  size_t scriptNext = 0;
  LiveUser liveUser;  // asked once the script is played out
  std::vector<ModalRun*> runs;
  ModalOutcome outcome;
  WidgetSnapshot lastSnapshot;     // as the modal run started
  WidgetSnapshot closingSnapshot;  // as it ended
};

Store& TheStore();
void ResetStore();

// The live widget with `id`, or null. Does not report.
Widget* Find(int32_t id);
// Names a widget for messages: `button #105 "(&L)ine"`.
std::string Describe(const Widget& widget);
std::string DescribeId(int32_t id);

// Text conversions for display and caption matching.
std::string ToUtf8(const std::u16string& text);

// Records a protocol error about request `code` to widget `id`.
void Fail(int32_t id, int32_t code, const std::string& what);

WidgetSnapshot Snapshot(const Widget& widget);

// The request dispatcher; returns 1 when the request was understood.
int HandleRequest(int32_t id, int32_t code, void** list);

// Window command "modal": plays the script until the dialog closes; returns
// the modal result.
int32_t RunModal(Widget& dialog);
// Window command "close": ends the dialog's pending run with `result`.
bool EndModal(int32_t dialog, int32_t result);

}  // namespace mqhost::widget_host
