// MQWidget_Value's requests: the dispatcher, which reads the argument list and
// hands it to the handler of the request code, and the handlers of event
// handlers and window commands (the modal run and its close).
//
// Sections: event handlers; window commands; the dispatcher. The wire reader
// is widget_request_reader.cpp, the property table widget_properties.cpp, and
// the other handlers widget_tree_requests.cpp and widget_value_requests.cpp.
#include <cstring>
#include <string>

#include "host/src/widgets/widget_request_handlers.hpp"
#include "protocol/widget_events.hpp"

namespace mqhost::widget_host {

namespace {

bool IsEventName(const std::string& name) {
  for (const char* event : mq::kWidgetEventNames) {
    if (name == event) return true;
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------------------
// Event handlers.

void AddHandler(Request& request, const std::vector<Pair>& pairs) {
  Widget* widget = Target(request);
  Handler handler;
  bool haveType = false;
  bool haveProc = false;
  for (const Pair& pair : pairs) {
    const std::string name = pair.name;
    if (name == "type") {
      haveType = request.ReadKeyword(pair.name, pair.value, handler.type, {});
      if (haveType && !IsEventName(handler.type)) {
        request.Error("unknown event name \"" + handler.type + "\"");
        haveType = false;
      }
    } else if (name == "proc") {
      const size_t at = request.Log(pair.name, WireType::Proc, false);
      request.Logged(at)->address = pair.value;
      static_assert(sizeof handler.proc == sizeof pair.value, "a function address fits a slot");
      std::memcpy(&handler.proc, &pair.value, sizeof handler.proc);
      haveProc = pair.value != nullptr;
    } else if (name == "pointer") {
      const size_t at = request.Log(pair.name, WireType::Pointer, false);
      request.Logged(at)->address = pair.value;
      handler.pointer = pair.value;
    } else if (name == "prior") {
      request.ReadBool(pair.name, pair.value, handler.prior);
    } else {
      request.Unknown(pair.name, "an add-event-handler request");
    }
  }
  if (widget == nullptr) return;
  if (!haveType) request.Error("event handler without an event name");
  if (!haveProc) request.Error("event handler without a \"proc\"");
  if (request.ok()) widget->handlers.push_back(handler);
}

// ---------------------------------------------------------------------------
// Window commands.

void WindowCommand(Request& request, const std::vector<Pair>& pairs) {
  std::string type;
  std::string code;
  void* result = nullptr;
  for (const Pair& pair : pairs) {
    const std::string name = pair.name;
    if (name == "type") {
      request.ReadKeyword(pair.name, pair.value, type, {"modal", "close"});
    } else if (name == "result" && type == "modal") {
      result = pair.value;
    } else if (name == "code" && type == "close") {
      request.ReadKeyword(pair.name, pair.value, code, {"ok", "cancel"});
    } else {
      request.Unknown(pair.name, "a window command");
    }
  }
  Widget* dialog = Target(request);
  if (dialog == nullptr || !request.ok()) return;
  if (dialog->cls != WidgetClass::Dialog) {
    request.Error("window command to " + Describe(*dialog) + ", which is not a dialog");
    return;
  }
  if (type == "modal") {
    if (dialog->runningModal) {
      request.Error(Describe(*dialog) + " is already running modally");
      return;
    }
    const size_t at = request.Log("result", WireType::Int32, true);
    const int32_t modalResult = RunModal(*dialog);
    if (result == nullptr) {
      request.Error("modal run without a \"result\" output");
      return;
    }
    std::memcpy(result, &modalResult, sizeof modalResult);
    if (LoggedValue* logged = request.Logged(at)) logged->integer = modalResult;
  } else if (type == "close") {
    if (code.empty()) {
      request.Error("close command without a \"code\"");
    } else if (!EndModal(dialog->id, code == "ok" ? 1 : 2)) {
      request.Error("close command to " + Describe(*dialog) + ", which is not running modally");
    }
  } else {
    request.Error("window command without a \"type\"");
  }
}

// ---------------------------------------------------------------------------
// Dispatcher.

int HandleRequest(int32_t id, int32_t code, void** list) {
  Request request(id, code);
  std::vector<Pair> pairs;
  if (!ReadPairs(request, list, pairs)) return 0;
  switch (code) {
    case mq::kWidgetWindowCommand: WindowCommand(request, pairs); break;
    case mq::kWidgetSystemQuery: SystemQuery(request, pairs); break;
    case mq::kWidgetCreate: Create(request, pairs); break;
    case mq::kWidgetDelete: Delete(request, pairs); break;
    case mq::kWidgetAddChild: AddChild(request, pairs, false); break;
    case mq::kWidgetAddChildWindow: AddChild(request, pairs, true); break;
    case mq::kWidgetGetValues: GetValues(request, pairs); break;
    case mq::kWidgetSetValues: SetValues(request, pairs); break;
    case mq::kWidgetCallMethod: CallMethod(request, pairs); break;
    case mq::kWidgetAddEventHandler: AddHandler(request, pairs); break;
    default: request.Error("unknown request code " + std::to_string(code)); break;
  }
  return request.ok() ? 1 : 0;
}

}  // namespace mqhost::widget_host
