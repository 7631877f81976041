// The modal run of a dialog, driven by the scripted user: each action is
// played as the real host would raise it, by calling the plug-in's registered
// event procedures with the (name, pointer) list its widget layer reads.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "host/src/widgets/widget_model.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/widgets.hpp"
#include "protocol/widget_events.hpp"

namespace mqhost {
namespace widget_host {

namespace {

constexpr int32_t kCancelResult = 2;
constexpr int32_t kEscapeKey = 0x1B;

// Events are raised for the active document, as the host raises them for the
// document the menu command was given.
DocumentHandle EventDocument() { return ActiveDocument(); }

struct ExtraArg {
  const char* name;
  void* value;
};

// Raises `type` on `widgetId`: calls every handler registered there for it,
// the "prior" ones first, until one sets "finished". Returns whether one did.
bool Raise(int32_t widgetId, const char* type, int32_t senderId, std::initializer_list<ExtraArg> extras,
           ModalOutcome& outcome) {
  Widget* widget = Find(widgetId);
  if (widget == nullptr) return false;
  std::vector<Handler> handlers;
  for (const Handler& handler : widget->handlers) {
    if (handler.prior && handler.type == type) handlers.push_back(handler);
  }
  for (const Handler& handler : widget->handlers) {
    if (!handler.prior && handler.type == type) handlers.push_back(handler);
  }
  outcome.events.push_back(std::string(type) + " " + Describe(*widget));

  int32_t target = widgetId;
  int32_t sender = senderId;
  unsigned char finished = 0;
  std::vector<void*> list;
  auto add = [&list](const char* name, const void* value) {
    list.push_back(const_cast<char*>(name));
    list.push_back(const_cast<void*>(value));
  };
  add(mq::kEventType, type);
  add(mq::kEventTargetId, &target);
  add(mq::kEventSenderId, &sender);
  add(mq::kEventFinished, &finished);
  for (const ExtraArg& extra : extras) add(extra.name, extra.value);
  list.push_back(nullptr);

  for (const Handler& handler : handlers) {
    // A handler may have deleted the widget meanwhile; its events stop.
    if (Find(widgetId) == nullptr) break;
    handler.proc(EventDocument(), list.data(), handler.pointer);
    if (finished != 0) return true;
  }
  return false;
}

bool IsClickable(WidgetClass cls) {
  return cls == WidgetClass::Button || cls == WidgetClass::CheckBox || cls == WidgetClass::RadioButton;
}

// First live widget in `root`'s tree (children in order) that `match` accepts.
template <class Match>
Widget* FindInTree(int32_t root, const Match& match) {
  Widget* widget = Find(root);
  if (widget == nullptr) return nullptr;
  if (match(*widget)) return widget;
  for (int32_t child : widget->children) {
    if (Widget* found = FindInTree(child, match)) return found;
  }
  return nullptr;
}

void End(ModalRun& run, int32_t result) {
  if (run.ended) return;
  run.ended = true;
  run.result = result;
}

void Ignore(ModalOutcome& outcome, const UserAction& action, const std::string& why) {
  outcome.ignored.push_back(DescribeAction(action) + ": " + why);
}

void PlayClick(const UserAction& action, ModalRun& run, ModalOutcome& outcome) {
  Widget* control = FindInTree(run.dialog, [&action](const Widget& widget) {
    return IsClickable(widget.cls) && ToUtf8(widget.caption) == action.text;
  });
  if (control == nullptr) {
    RecordProtocolError("scripted user: no live button, check box or radio button captioned \"" +
                        action.text + "\" in " + DescribeId(run.dialog) + "; the action is skipped");
    Ignore(outcome, action, "no such control");
    return;
  }
  if (!control->enabled) {
    Ignore(outcome, action, Describe(*control) + " is disabled");
    return;
  }
  if (control->cls == WidgetClass::CheckBox) control->checked = !control->checked;
  if (control->cls == WidgetClass::RadioButton) control->checked = true;
  const int32_t id = control->id;
  const int32_t modalResult = control->cls == WidgetClass::Button ? control->modalResult : 0;
  Raise(id, mq::kEventExecute, id, {}, outcome);
  if (modalResult != 0) End(run, modalResult);
}

void PlayKey(const UserAction& action, ModalRun& run, ModalOutcome& outcome) {
  int32_t key = action.key;
  int32_t buttonState = action.ctrl ? mq::kButtonCtrl : 0;
  int32_t autoRepeat = 0;
  const bool finished = Raise(
      run.dialog, mq::kEventKeyDown, run.dialog,
      {{mq::kEventKey, &key}, {mq::kEventButtonState, &buttonState}, {mq::kEventAutoRepeat, &autoRepeat}},
      outcome);
  if (!finished && key == kEscapeKey) End(run, kCancelResult);
}

void PlayPick(const UserAction& action, ModalRun& run, ModalOutcome& outcome) {
  Widget* combo =
      FindInTree(run.dialog, [](const Widget& widget) { return widget.cls == WidgetClass::ComboBox; });
  if (combo == nullptr) {
    RecordProtocolError("scripted user: " + DescribeId(run.dialog) + " has no combo box to pick \"" +
                        DescribeAction(action) + "\" from; the action is skipped");
    Ignore(outcome, action, "no combo box");
    return;
  }
  int32_t index = -1;
  if (action.kind == UserAction::Kind::PickItemIndex) {
    if (action.index >= 0 && static_cast<size_t>(action.index) < combo->items.size()) index = action.index;
  } else {
    for (size_t i = 0; i < combo->items.size(); ++i) {
      if (ToUtf8(combo->items[i].text) == action.text) {
        index = static_cast<int32_t>(i);
        break;
      }
    }
  }
  if (index < 0) {
    RecordProtocolError("scripted user: " + Describe(*combo) + " has no item " + DescribeAction(action) +
                        "; the action is skipped");
    Ignore(outcome, action, "no such item");
    return;
  }
  if (!combo->enabled) {
    Ignore(outcome, action, Describe(*combo) + " is disabled");
    return;
  }
  combo->currentIndex = index;
  const int32_t id = combo->id;
  Raise(id, mq::kEventExecute, id, {}, outcome);
}

void Play(const UserAction& action, ModalRun& run, ModalOutcome& outcome) {
  switch (action.kind) {
    case UserAction::Kind::Click: PlayClick(action, run, outcome); break;
    case UserAction::Kind::Key: PlayKey(action, run, outcome); break;
    case UserAction::Kind::PickItemText:
    case UserAction::Kind::PickItemIndex: PlayPick(action, run, outcome); break;
    case UserAction::Kind::MoveDialog:
      if (Widget* dialog = Find(run.dialog)) {
        dialog->posX = action.x;
        dialog->posY = action.y;
      }
      break;
    case UserAction::Kind::CloseWindow: End(run, kCancelResult); break;
  }
}

}  // namespace

int32_t RunModal(Widget& dialog) {
  Store& store = TheStore();
  const int32_t id = dialog.id;
  store.lastSnapshot = Snapshot(dialog);
  store.closingSnapshot = WidgetSnapshot{};
  dialog.runningModal = true;
  ModalRun run;
  run.dialog = id;
  store.runs.push_back(&run);
  ModalOutcome outcome;
  outcome.ran = true;
  outcome.dialogId = id;

  while (!run.ended) {
    if (store.scriptNext >= store.script.size() && store.liveUser) {
      const Widget* shown = Find(id);
      // The live user may take its time; the store is not touched meanwhile.
      const LiveUser user = store.liveUser;
      const UserAction action = user(shown != nullptr ? Snapshot(*shown) : WidgetSnapshot{}, outcome);
      ++outcome.actionsPlayed;
      Play(action, run, outcome);
      continue;
    }
    if (store.scriptNext >= store.script.size()) {
      RecordProtocolError("scripted user ran out of actions while " + DescribeId(id) +
                          " was open; the run ends with the cancel result");
      outcome.ranOutOfActions = true;
      End(run, kCancelResult);
      break;
    }
    const UserAction action = store.script[store.scriptNext++];
    ++outcome.actionsPlayed;
    Play(action, run, outcome);
  }

  const auto mine = std::find(store.runs.begin(), store.runs.end(), &run);
  if (mine != store.runs.end()) store.runs.erase(mine);
  if (Widget* still = Find(id)) {
    still->runningModal = false;
    store.closingSnapshot = Snapshot(*still);
  }
  outcome.modalResult = run.result;
  store.outcome = outcome;
  return run.result;
}

bool EndModal(int32_t dialog, int32_t result) {
  for (ModalRun* run : TheStore().runs) {
    if (run->dialog == dialog) {
      End(*run, result);
      return true;
    }
  }
  return false;
}

}  // namespace widget_host

using namespace widget_host;

UserAction Click(const std::string& caption) {
  UserAction action;
  action.kind = UserAction::Kind::Click;
  action.text = caption;
  return action;
}

UserAction Key(int32_t key, bool ctrl) {
  UserAction action;
  action.kind = UserAction::Kind::Key;
  action.key = key;
  action.ctrl = ctrl;
  return action;
}

UserAction PickItem(const std::string& text) {
  UserAction action;
  action.kind = UserAction::Kind::PickItemText;
  action.text = text;
  return action;
}

UserAction PickItemAt(int32_t index) {
  UserAction action;
  action.kind = UserAction::Kind::PickItemIndex;
  action.index = index;
  return action;
}

UserAction MoveDialog(int32_t x, int32_t y) {
  UserAction action;
  action.kind = UserAction::Kind::MoveDialog;
  action.x = x;
  action.y = y;
  return action;
}

UserAction CloseWindow() { return UserAction{}; }

void ScriptUser(std::vector<UserAction> actions) {
  Store& store = TheStore();
  store.script = std::move(actions);
  store.scriptNext = 0;
}

void SetLiveUser(LiveUser user) { TheStore().liveUser = std::move(user); }

size_t RemainingUserActions() {
  const Store& store = TheStore();
  return store.script.size() - store.scriptNext;
}

std::string DescribeAction(const UserAction& action) {
  switch (action.kind) {
    case UserAction::Kind::Click: return "click \"" + action.text + "\"";
    case UserAction::Kind::Key: {
      char key[16];
      if (action.key > 0x20 && action.key < 0x7F) {
        std::snprintf(key, sizeof key, "%c", static_cast<char>(action.key));
      } else {
        std::snprintf(key, sizeof key, "0x%02X", static_cast<unsigned>(action.key));
      }
      return std::string("key ") + (action.ctrl ? "Ctrl+" : "") + key;
    }
    case UserAction::Kind::PickItemText: return "pick \"" + action.text + "\"";
    case UserAction::Kind::PickItemIndex: return "pick item " + std::to_string(action.index);
    case UserAction::Kind::MoveDialog:
      return "move dialog to (" + std::to_string(action.x) + ", " + std::to_string(action.y) + ")";
    case UserAction::Kind::CloseWindow: return "close window";
  }
  return "?";
}

ModalOutcome LastModalOutcome() { return TheStore().outcome; }

}  // namespace mqhost
