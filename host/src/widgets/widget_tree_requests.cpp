// Requests that build and take down the widget tree: the system query for the
// main window, create, delete, add child and add child window.
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "host/src/calls/host_faults.hpp"
#include "host/src/widgets/widget_request_handlers.hpp"

namespace mqhost::widget_host {

namespace {

bool ClassFromKeyword(const std::string& keyword, WidgetClass& cls) {
  static const std::pair<const char*, WidgetClass> kClasses[] = {
      {"dialog", WidgetClass::Dialog},     {"frame", WidgetClass::Frame},
      {"groupbox", WidgetClass::GroupBox}, {"button", WidgetClass::Button},
      {"checkbox", WidgetClass::CheckBox}, {"radiobutton", WidgetClass::RadioButton},
      {"combobox", WidgetClass::ComboBox}, {"label", WidgetClass::Label},
  };
  for (const auto& entry : kClasses) {
    if (keyword == entry.first) {
      cls = entry.second;
      return true;
    }
  }
  return false;
}

void SetDialogOfSubtree(Widget& widget, int32_t dialog) {
  widget.dialog = dialog;
  for (int32_t child : widget.children) {
    if (Widget* live = Find(child)) SetDialogOfSubtree(*live, dialog);
  }
}

}  // namespace

void SystemQuery(Request& request, const std::vector<Pair>& pairs) {
  if (request.id() != 0) request.Error("system query sent to a widget id instead of 0");
  std::string system;
  void* result = nullptr;
  for (const Pair& pair : pairs) {
    if (std::strcmp(pair.name, "system") == 0) {
      request.ReadKeyword(pair.name, pair.value, system, {"main_window"});
    } else if (std::strcmp(pair.name, "result") == 0) {
      result = pair.value;
    } else {
      request.Unknown(pair.name, "a system query");
    }
  }
  if (system.empty()) request.Error("system query without \"system\"");
  if (result == nullptr) {
    request.Error("system query without a \"result\" output");
  } else if (request.ok()) {
    request.WriteInt32("result", result, TheStore().mainWindow);
  }
}

void Create(Request& request, const std::vector<Pair>& pairs) {
  if (request.id() != 0) request.Error("create request sent to a widget id instead of 0");
  std::string keyword;
  void* idOut = nullptr;
  for (const Pair& pair : pairs) {
    if (std::strcmp(pair.name, "type") == 0) {
      request.ReadKeyword(pair.name, pair.value, keyword, {});
    } else if (std::strcmp(pair.name, "id") == 0) {
      idOut = pair.value;
    } else {
      request.Unknown(pair.name, "a create request");
    }
  }
  WidgetClass cls = WidgetClass::Frame;
  if (!ClassFromKeyword(keyword, cls)) {
    request.Error("unknown widget class \"" + keyword + "\"");
    return;
  }
  if (idOut == nullptr) {
    request.Error("create request without an \"id\" output");
    return;
  }
  if (!request.ok()) return;
  Store& store = TheStore();
  if (store.refuseCreations > 0 ||
      mqhost::host_faults::Answer(mqhost::HostFault::WidgetCreation, "MQWidget_Value(create)")) {
    if (store.refuseCreations > 0) --store.refuseCreations;
    store.refusedCreation = true;
    request.Log("id", WireType::Int32, true);
    return;
  }
  auto widget = std::make_unique<Widget>();
  widget->id = store.nextId++;
  widget->cls = cls;
  if (cls == WidgetClass::Dialog) {
    widget->posX = 200;
    widget->posY = 150;
  }
  request.WriteInt32("id", idOut, widget->id);
  store.live.emplace(widget->id, std::move(widget));
}

void Delete(Request& request, const std::vector<Pair>& pairs) {
  for (const Pair& pair : pairs) request.Unknown(pair.name, "a delete request (it takes none)");
  Store& store = TheStore();
  const int32_t id = request.id();
  if (id != 0 && store.deleted.count(id) != 0) {
    request.Error("second delete of widget #" + std::to_string(id) + " (" + ClassName(store.deleted.at(id)) +
                  ")");
    return;
  }
  Widget* widget = Target(request);
  if (widget == nullptr) return;
  if (widget->cls == WidgetClass::MainWindow) {
    request.Error("the main window is the host's and is never deleted");
    return;
  }
  if (widget->runningModal) {
    request.Error(Describe(*widget) + " deleted while it runs modally");
    return;
  }
  if (Widget* parent = Find(widget->parent)) {
    auto& siblings = parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it) {
      if (*it == id) {
        siblings.erase(it);
        break;
      }
    }
  }
  for (int32_t child : widget->children) {
    if (Widget* live = Find(child)) live->parent = 0;
  }
  if (widget->cls == WidgetClass::Dialog) {
    for (const auto& entry : store.live) {
      const Widget& other = *entry.second;
      if (other.dialog == id) {
        request.Error(Describe(other) + " left undeleted after its dialog #" + std::to_string(id) +
                      " was deleted");
      }
    }
  }
  store.deleted[id] = widget->cls;
  store.live.erase(id);
  // The last widget of a pick is gone, and with it every wrapper a refused
  // creation left.
  if (store.live.size() <= 1 && (store.live.empty() || store.live.count(store.mainWindow) != 0))
    store.refusedCreation = false;
}

void AddChild(Request& request, const std::vector<Pair>& pairs, bool window) {
  const char* what = window ? "an add-child-window request" : "an add-child request";
  int32_t childId = 0;
  bool haveChild = false;
  void* result = nullptr;
  for (const Pair& pair : pairs) {
    if (std::strcmp(pair.name, "child") == 0) {
      haveChild = request.ReadInt32(pair.name, pair.value, childId);
    } else if (std::strcmp(pair.name, "result") == 0) {
      result = pair.value;
    } else {
      request.Unknown(pair.name, what);
    }
  }
  Widget* parent = Target(request);
  if (parent == nullptr) return;
  if (!haveChild) {
    request.Error(std::string(what) + " without \"child\"");
    return;
  }
  Widget* child = Find(childId);
  if (child == nullptr && childId == 0 && TheStore().refusedCreation) return;
  if (child == nullptr) {
    request.Error("child " + std::to_string(childId) + " is not a live widget");
    return;
  }
  if (window) {
    if (!IsWindow(parent->cls)) {
      request.Error(Describe(*parent) + " is not a window and takes no child windows");
      return;
    }
    if (child->cls != WidgetClass::Dialog) {
      request.Error(Describe(*child) + " is not a dialog");
      return;
    }
  } else {
    if (!IsContainer(parent->cls)) {
      request.Error(Describe(*parent) + " holds no children");
      return;
    }
    if (IsWindow(child->cls)) {
      request.Error(Describe(*child) + " is a window; windows are added with add child window");
      return;
    }
    for (const Widget* up = parent; up != nullptr; up = Find(up->parent)) {
      if (up == child) {
        request.Error(Describe(*child) + " cannot be placed inside itself");
        return;
      }
    }
  }
  if (child->parent != 0) {
    request.Error(Describe(*child) + " is already placed in " + DescribeId(child->parent));
    return;
  }
  child->parent = parent->id;
  if (!window) {
    parent->children.push_back(child->id);
    SetDialogOfSubtree(*child, parent->cls == WidgetClass::Dialog ? parent->id : parent->dialog);
  }
  if (result != nullptr) request.WriteInt32("result", result, 1);
}

}  // namespace mqhost::widget_host
