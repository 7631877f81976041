// MQWidget_Value's requests: decoding each argument list by its request code
// and the target's class, checking names and wire types, applying the request
// to the widget store and logging what was read and written.
//
// Sections: request context and wire reading; property table; one handler per
// request code; the dispatcher.
#include <cstring>
#include <initializer_list>

#include "host/src/widget_model.hpp"
#include "protocol/widget_events.hpp"

namespace mqhost::widget_host {

namespace {

// ---------------------------------------------------------------------------
// Request context and wire reading.

constexpr size_t kMaxPairs = 64;
constexpr size_t kMaxTextUnits = 65536;
constexpr size_t kMaxKeyword = 64;

struct Pair {
  const char* name;
  void* value;
};

class Request {
 public:
  Request(int32_t id, int32_t code) : id_(id), code_(code) {
    Store& store = TheStore();
    logIndex_ = store.log.size();
    LoggedRequest entry;
    entry.id = id;
    entry.code = code;
    store.log.push_back(entry);
  }

  int32_t id() const { return id_; }
  int32_t code() const { return code_; }
  bool ok() const { return ok_; }

  void Error(const std::string& what) {
    ok_ = false;
    Fail(id_, code_, what);
  }

  // Appends a logged value and returns its position (the log may grow during
  // a modal run, so positions, not references, are kept).
  size_t Log(const char* name, WireType type, bool output) {
    LoggedValue value;
    value.name = name;
    value.type = type;
    value.output = output;
    std::vector<LoggedValue>& values = Entry().values;
    values.push_back(value);
    return values.size() - 1;
  }

  LoggedValue* Logged(size_t position) {
    Store& store = TheStore();
    if (logIndex_ >= store.log.size()) return nullptr;  // the log was cleared meanwhile
    std::vector<LoggedValue>& values = store.log[logIndex_].values;
    return position < values.size() ? &values[position] : nullptr;
  }

  bool Present(const char* name, const void* value) {
    if (value != nullptr) return true;
    Error(std::string("\"") + name + "\" has no value");
    return false;
  }

  bool ReadBool(const char* name, const void* value, bool& out) {
    const size_t at = Log(name, WireType::Bool, false);
    if (!Present(name, value)) return false;
    unsigned char byte;
    std::memcpy(&byte, value, 1);
    Logged(at)->integer = byte;
    if (byte > 1) {
      Error(std::string("wrong wire type for \"") + name + "\": a bool byte holds " + std::to_string(byte));
      return false;
    }
    out = byte == 1;
    return true;
  }

  bool ReadInt32(const char* name, const void* value, int32_t& out) {
    const size_t at = Log(name, WireType::Int32, false);
    if (!Present(name, value)) return false;
    std::memcpy(&out, value, sizeof out);
    Logged(at)->integer = out;
    return true;
  }

  bool ReadInt64(const char* name, const void* value, int64_t& out) {
    const size_t at = Log(name, WireType::Int64, false);
    if (!Present(name, value)) return false;
    std::memcpy(&out, value, sizeof out);
    Logged(at)->integer = out;
    return true;
  }

  bool ReadDouble(const char* name, const void* value, double& out) {
    const size_t at = Log(name, WireType::Double, false);
    if (!Present(name, value)) return false;
    std::memcpy(&out, value, sizeof out);
    Logged(at)->real = out;
    return true;
  }

  bool ReadText(const char* name, const void* value, std::u16string& out) {
    const size_t at = Log(name, WireType::Text, false);
    if (!Present(name, value)) return false;
    const auto* units = static_cast<const unsigned char*>(value);
    out.clear();
    for (size_t i = 0;; ++i) {
      if (i == kMaxTextUnits) {
        Error(std::string("text \"") + name + "\" is not terminated within " + std::to_string(kMaxTextUnits) +
              " UTF-16 units");
        return false;
      }
      char16_t unit;
      std::memcpy(&unit, units + 2 * i, sizeof unit);
      if (unit == 0) break;
      out += unit;
    }
    Logged(at)->wide = out;
    Logged(at)->text = ToUtf8(out);
    return true;
  }

  // A narrow keyword that must be one of `allowed` (any when empty).
  bool ReadKeyword(const char* name, const void* value, std::string& out,
                   std::initializer_list<const char*> allowed) {
    const size_t at = Log(name, WireType::Keyword, false);
    if (!Present(name, value)) return false;
    const auto* chars = static_cast<const char*>(value);
    out.clear();
    for (size_t i = 0; chars[i] != '\0'; ++i) {
      if (i == kMaxKeyword) {
        Error(std::string("keyword \"") + name + "\" is not terminated within " +
              std::to_string(kMaxKeyword) + " characters");
        return false;
      }
      out += chars[i];
    }
    Logged(at)->text = out;
    if (allowed.size() == 0) return true;
    for (const char* candidate : allowed) {
      if (out == candidate) return true;
    }
    Error(std::string("\"") + name + "\" = \"" + out + "\" is not a keyword it takes (a wrong wire type?)");
    return false;
  }

  bool WriteInt32(const char* name, void* value, int32_t written) {
    const size_t at = Log(name, WireType::Int32, true);
    if (!Present(name, value)) return false;
    std::memcpy(value, &written, sizeof written);
    Logged(at)->integer = written;
    return true;
  }

  bool WriteInt64(const char* name, void* value, int64_t written) {
    const size_t at = Log(name, WireType::Int64, true);
    if (!Present(name, value)) return false;
    std::memcpy(value, &written, sizeof written);
    Logged(at)->integer = written;
    return true;
  }

  bool WriteBool(const char* name, void* value, bool written) {
    const size_t at = Log(name, WireType::Bool, true);
    if (!Present(name, value)) return false;
    const unsigned char byte = written ? 1 : 0;
    std::memcpy(value, &byte, 1);
    Logged(at)->integer = byte;
    return true;
  }

  void Unknown(const char* name, const std::string& where) {
    Log(name, WireType::Unknown, false);
    Error(std::string("unknown name \"") + name + "\" in " + where);
  }

 private:
  LoggedRequest& Entry() { return TheStore().log[logIndex_]; }

  int32_t id_;
  int32_t code_;
  size_t logIndex_ = 0;
  bool ok_ = true;
};

bool ReadPairs(Request& request, void** list, std::vector<Pair>& pairs) {
  if (list == nullptr) {
    request.Error("no argument list");
    return false;
  }
  for (size_t i = 0; list[2 * i] != nullptr; ++i) {
    if (i == kMaxPairs) {
      request.Error("argument list not terminated within " + std::to_string(kMaxPairs) + " pairs");
      return false;
    }
    pairs.push_back({static_cast<const char*>(list[2 * i]), list[2 * i + 1]});
  }
  return true;
}

// The live widget a request is addressed to; reports a missing, stale or
// unknown id.
Widget* Target(Request& request) {
  const int32_t id = request.id();
  if (Widget* widget = Find(id)) return widget;
  const Store& store = TheStore();
  if (id == 0) {
    request.Error("sent to id 0, which names no widget");
  } else if (store.deleted.count(id) != 0) {
    request.Error("widget #" + std::to_string(id) + " (" + ClassName(store.deleted.at(id)) + ") was deleted");
  } else {
    request.Error("unknown widget id " + std::to_string(id));
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Property table.

constexpr unsigned Bit(WidgetClass cls) { return 1u << static_cast<unsigned>(cls); }
constexpr unsigned kAll = 0x1FF;
constexpr unsigned kWindows = Bit(WidgetClass::MainWindow) | Bit(WidgetClass::Dialog);
constexpr unsigned kFrames = Bit(WidgetClass::Frame) | Bit(WidgetClass::GroupBox);
constexpr unsigned kCaptioned = Bit(WidgetClass::GroupBox) | Bit(WidgetClass::Button) |
                                Bit(WidgetClass::CheckBox) | Bit(WidgetClass::RadioButton) |
                                Bit(WidgetClass::Label);
constexpr unsigned kCheckable = Bit(WidgetClass::CheckBox) | Bit(WidgetClass::RadioButton);

struct Property {
  const char* name;
  WireType type;
  unsigned classes;
  bool get;
  bool set;
};

constexpr Property kProperties[] = {
    {"enabled", WireType::Bool, kAll, true, true},
    {"horzlayout", WireType::Keyword, kAll, false, true},
    {"fillbeforerate", WireType::Double, kAll, false, true},
    {"fillafterrate", WireType::Double, kAll, false, true},
    {"inspace", WireType::Double, kAll, false, true},
    {"outspace", WireType::Double, kAll, false, true},
    {"title", WireType::Text, kWindows, false, true},
    {"pos_x", WireType::Int32, kWindows, true, true},
    {"pos_y", WireType::Int32, kWindows, true, true},
    {"alignment", WireType::Keyword, kFrames, false, true},
    {"text", WireType::Text, kCaptioned, false, true},
    {"modalresult", WireType::Int32, Bit(WidgetClass::Button), false, true},
    {"cancel", WireType::Bool, Bit(WidgetClass::Button), false, true},
    {"checked", WireType::Bool, kCheckable, true, true},
    {"currentindex", WireType::Int32, Bit(WidgetClass::ComboBox), true, true},
    {"item.count", WireType::Int32, Bit(WidgetClass::ComboBox), true, false},
    {"item.tag", WireType::Int64, Bit(WidgetClass::ComboBox), true, false},
};

// The property `name` of `widget`'s class, or null after reporting why not.
const Property* FindProperty(Request& request, const Widget& widget, const char* name) {
  for (const Property& property : kProperties) {
    if (std::strcmp(property.name, name) != 0) continue;
    if ((property.classes & Bit(widget.cls)) == 0) {
      request.Log(name, property.type, false);
      request.Error(std::string("\"") + name + "\" is not a property of " + Describe(widget));
      return nullptr;
    }
    return &property;
  }
  request.Unknown(name, "the properties of " + Describe(widget));
  return nullptr;
}

// ---------------------------------------------------------------------------
// Request handlers.

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
  if (store.refuseCreations > 0) {
    --store.refuseCreations;
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

void SetDialogOfSubtree(Widget& widget, int32_t dialog) {
  widget.dialog = dialog;
  for (int32_t child : widget.children) {
    if (Widget* live = Find(child)) SetDialogOfSubtree(*live, dialog);
  }
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

void GetValues(Request& request, const std::vector<Pair>& pairs) {
  Widget* widget = Target(request);
  if (widget == nullptr) return;
  if (pairs.empty()) request.Error("get request without a property");
  bool haveIndex = false;
  int32_t index = 0;
  for (const Pair& pair : pairs) {
    if (std::strcmp(pair.name, "index") == 0 && widget->cls == WidgetClass::ComboBox) {
      haveIndex = request.ReadInt32(pair.name, pair.value, index);
      continue;
    }
    const Property* property = FindProperty(request, *widget, pair.name);
    if (property == nullptr) continue;
    if (!property->get) {
      request.Log(pair.name, property->type, true);
      request.Error(std::string("\"") + pair.name + "\" of " + Describe(*widget) + " cannot be read");
      continue;
    }
    const std::string name = pair.name;
    if (name == "enabled") {
      request.WriteBool(pair.name, pair.value, widget->enabled);
    } else if (name == "checked") {
      request.WriteBool(pair.name, pair.value, widget->checked);
    } else if (name == "pos_x") {
      request.WriteInt32(pair.name, pair.value, widget->posX);
    } else if (name == "pos_y") {
      request.WriteInt32(pair.name, pair.value, widget->posY);
    } else if (name == "currentindex") {
      request.WriteInt32(pair.name, pair.value, widget->currentIndex);
    } else if (name == "item.count") {
      request.WriteInt32(pair.name, pair.value, static_cast<int32_t>(widget->items.size()));
    } else if (name == "item.tag") {
      if (!haveIndex) {
        request.Log(pair.name, WireType::Int64, true);
        request.Error("\"item.tag\" asked without an \"index\" before it");
      } else if (index < 0 || static_cast<size_t>(index) >= widget->items.size()) {
        request.Log(pair.name, WireType::Int64, true);
        request.Error("\"item.tag\" of item " + std::to_string(index) + ", but " + Describe(*widget) +
                      " has " + std::to_string(widget->items.size()) + " items");
      } else {
        request.WriteInt64(pair.name, pair.value, widget->items[static_cast<size_t>(index)].tag);
      }
    }
  }
}

void SetValues(Request& request, const std::vector<Pair>& pairs) {
  Widget* widget = Target(request);
  if (widget == nullptr) return;
  if (pairs.empty()) request.Error("set request without a property");
  for (const Pair& pair : pairs) {
    const Property* property = FindProperty(request, *widget, pair.name);
    if (property == nullptr) continue;
    if (!property->set) {
      request.Log(pair.name, property->type, false);
      request.Error(std::string("\"") + pair.name + "\" of " + Describe(*widget) + " cannot be set");
      continue;
    }
    const std::string name = pair.name;
    bool flag = false;
    int32_t number = 0;
    double real = 0;
    std::string keyword;
    if (name == "enabled") {
      if (request.ReadBool(pair.name, pair.value, flag)) widget->enabled = flag;
    } else if (name == "checked") {
      if (request.ReadBool(pair.name, pair.value, flag)) widget->checked = flag;
    } else if (name == "cancel") {
      if (request.ReadBool(pair.name, pair.value, flag)) widget->cancel = flag;
    } else if (name == "horzlayout") {
      if (request.ReadKeyword(pair.name, pair.value, keyword, {"auto", "fill"})) widget->horzLayout = keyword;
    } else if (name == "alignment") {
      if (request.ReadKeyword(pair.name, pair.value, keyword, {"horz", "vert"})) widget->alignment = keyword;
    } else if (name == "fillbeforerate") {
      if (request.ReadDouble(pair.name, pair.value, real)) widget->fillBeforeRate = real;
    } else if (name == "fillafterrate") {
      if (request.ReadDouble(pair.name, pair.value, real)) widget->fillAfterRate = real;
    } else if (name == "inspace") {
      if (request.ReadDouble(pair.name, pair.value, real)) widget->inSpace = real;
    } else if (name == "outspace") {
      if (request.ReadDouble(pair.name, pair.value, real)) widget->outSpace = real;
    } else if (name == "title" || name == "text") {
      std::u16string text;
      if (request.ReadText(pair.name, pair.value, text)) widget->caption = text;
    } else if (name == "pos_x") {
      if (request.ReadInt32(pair.name, pair.value, number)) widget->posX = number;
    } else if (name == "pos_y") {
      if (request.ReadInt32(pair.name, pair.value, number)) widget->posY = number;
    } else if (name == "modalresult") {
      if (request.ReadInt32(pair.name, pair.value, number)) widget->modalResult = number;
    } else if (name == "currentindex") {
      if (!request.ReadInt32(pair.name, pair.value, number)) continue;
      if (number < -1 || number >= static_cast<int32_t>(widget->items.size())) {
        request.Error("\"currentindex\" " + std::to_string(number) + " is out of range for " +
                      Describe(*widget) + " with " + std::to_string(widget->items.size()) + " items");
      } else {
        widget->currentIndex = number;
      }
    }
  }
}

void CallMethod(Request& request, const std::vector<Pair>& pairs) {
  Widget* widget = Target(request);
  if (widget == nullptr) return;
  if (pairs.empty()) {
    request.Error("method call without a method name");
    return;
  }
  const Pair& method = pairs.front();
  request.Log(method.name, WireType::Null, false);
  if (method.value != nullptr)
    request.Error(std::string("method name \"") + method.name + "\" carries a value");
  if (std::strcmp(method.name, "additem") != 0 || widget->cls != WidgetClass::ComboBox) {
    request.Error(std::string("\"") + method.name + "\" is not a method of " + Describe(*widget));
    return;
  }
  ComboItem item;
  bool haveText = false;
  void* result = nullptr;
  size_t resultAt = 0;
  for (size_t i = 1; i < pairs.size(); ++i) {
    const Pair& pair = pairs[i];
    if (std::strcmp(pair.name, "text") == 0) {
      haveText = request.ReadText(pair.name, pair.value, item.text);
    } else if (std::strcmp(pair.name, "tag") == 0) {
      request.ReadInt64(pair.name, pair.value, item.tag);
    } else if (std::strcmp(pair.name, "result") == 0) {
      result = pair.value;
      resultAt = request.Log(pair.name, WireType::Int32, true);
    } else {
      request.Unknown(pair.name, "\"additem\"");
    }
  }
  if (!haveText) {
    request.Error("\"additem\" without a \"text\"");
    return;
  }
  if (!request.ok()) return;
  widget->items.push_back(item);
  if (result != nullptr) {
    const int32_t index = static_cast<int32_t>(widget->items.size()) - 1;
    std::memcpy(result, &index, sizeof index);
    // The output was logged in its place among the arguments; fill it in.
    if (LoggedValue* logged = request.Logged(resultAt)) logged->integer = index;
  }
}

bool IsEventName(const std::string& name) {
  for (const char* event : mq::kWidgetEventNames) {
    if (name == event) return true;
  }
  return false;
}

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

}  // namespace

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
