// The widget store, its log and the read side of the control interface.
#include <cstdio>
#include <sstream>

#include "host/src/widgets/widget_model.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/widgets.hpp"

namespace mqhost {
namespace widget_host {

namespace {
void AddMainWindow(Store& store) {
  auto main = std::make_unique<Widget>();
  main->id = store.mainWindow;
  main->cls = WidgetClass::MainWindow;
  main->caption = u"Replacement host";
  store.live.emplace(main->id, std::move(main));
}

Store& MakeStore() {
  static Store store;
  AddMainWindow(store);
  return store;
}
}  // namespace

Store& TheStore() {
  static Store& store = MakeStore();
  return store;
}

void ResetStore() {
  Store& store = TheStore();
  store.live.clear();
  store.deleted.clear();
  store.nextId = 101;
  store.refuseCreations = 0;
  store.refusedCreation = false;
  store.log.clear();
  store.script.clear();
  store.scriptNext = 0;
  store.runs.clear();
  store.outcome = ModalOutcome{};
  store.lastSnapshot = WidgetSnapshot{};
  store.closingSnapshot = WidgetSnapshot{};
  AddMainWindow(store);
}

const char* ClassName(WidgetClass cls) {
  switch (cls) {
    case WidgetClass::MainWindow: return "main_window";
    case WidgetClass::Dialog: return "dialog";
    case WidgetClass::Frame: return "frame";
    case WidgetClass::GroupBox: return "groupbox";
    case WidgetClass::Button: return "button";
    case WidgetClass::CheckBox: return "checkbox";
    case WidgetClass::RadioButton: return "radiobutton";
    case WidgetClass::ComboBox: return "combobox";
    case WidgetClass::Label: return "label";
  }
  return "?";
}

bool IsWindow(WidgetClass cls) { return cls == WidgetClass::MainWindow || cls == WidgetClass::Dialog; }

bool IsContainer(WidgetClass cls) {
  return cls == WidgetClass::Dialog || cls == WidgetClass::Frame || cls == WidgetClass::GroupBox;
}

Widget* Find(int32_t id) {
  Store& store = TheStore();
  const auto found = store.live.find(id);
  return found == store.live.end() ? nullptr : found->second.get();
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string Describe(const Widget& widget) {
  std::string text = std::string(ClassName(widget.cls)) + " #" + std::to_string(widget.id);
  if (!widget.caption.empty()) text += " \"" + ToUtf8(widget.caption) + "\"";
  return text;
}

std::string DescribeId(int32_t id) {
  if (const Widget* widget = Find(id)) return Describe(*widget);
  return "#" + std::to_string(id);
}

void Fail(int32_t id, int32_t code, const std::string& what) {
  RecordProtocolError("MQWidget_Value(" + std::to_string(id) + ", " + std::to_string(code) + "): " + what);
}

WidgetSnapshot Snapshot(const Widget& widget) {
  WidgetSnapshot shot;
  shot.id = widget.id;
  shot.className = ClassName(widget.cls);
  shot.caption = ToUtf8(widget.caption);
  shot.enabled = widget.enabled;
  shot.checked = widget.checked;
  shot.cancel = widget.cancel;
  shot.alignment = widget.alignment;
  shot.horzLayout = widget.horzLayout;
  shot.modalResult = widget.modalResult;
  for (const ComboItem& item : widget.items) {
    shot.items.push_back(ToUtf8(item.text));
    shot.itemTags.push_back(item.tag);
  }
  shot.currentIndex = widget.currentIndex;
  shot.posX = widget.posX;
  shot.posY = widget.posY;
  for (int32_t child : widget.children) {
    if (const Widget* live = Find(child)) shot.children.push_back(Snapshot(*live));
  }
  return shot;
}

}  // namespace widget_host

using namespace widget_host;

const char* WireTypeName(WireType type) {
  switch (type) {
    case WireType::Bool: return "bool";
    case WireType::Int32: return "int32";
    case WireType::Int64: return "int64";
    case WireType::Double: return "double";
    case WireType::Text: return "utf16";
    case WireType::Keyword: return "keyword";
    case WireType::Proc: return "proc";
    case WireType::Pointer: return "pointer";
    case WireType::Null: return "null";
    case WireType::Unknown: return "unknown";
  }
  return "?";
}

std::string FormatRequest(const LoggedRequest& request) {
  std::ostringstream out;
  out << request.code << " #" << request.id;
  for (const LoggedValue& value : request.values) {
    out << ' ' << value.name << '=' << WireTypeName(value.type) << (value.output ? '>' : ':');
    switch (value.type) {
      case WireType::Bool:
      case WireType::Int32:
      case WireType::Int64: out << value.integer; break;
      case WireType::Double: {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", value.real);
        out << buffer;
        break;
      }
      case WireType::Text: out << '"' << value.text << '"'; break;
      case WireType::Keyword: out << value.text; break;
      case WireType::Proc:
      case WireType::Pointer: out << (value.address != nullptr ? "set" : "null"); break;
      case WireType::Null:
      case WireType::Unknown: break;
    }
  }
  return out.str();
}

std::vector<LoggedRequest> RequestLog() { return TheStore().log; }
void ClearRequestLog() { TheStore().log.clear(); }

WidgetSnapshot LastDialogSnapshot() { return TheStore().lastSnapshot; }
WidgetSnapshot ClosingDialogSnapshot() { return TheStore().closingSnapshot; }

WidgetSnapshot InspectWidget(int32_t id) {
  if (const Widget* widget = Find(id)) return Snapshot(*widget);
  return WidgetSnapshot{};
}

std::vector<int32_t> LiveWidgetIds() {
  std::vector<int32_t> ids;
  for (const auto& entry : TheStore().live) {
    if (entry.second->cls != WidgetClass::MainWindow) ids.push_back(entry.first);
  }
  return ids;
}

int32_t MainWindowId() { return TheStore().mainWindow; }

void ResetWidgets() { ResetStore(); }

void RefuseCreations(int count) { TheStore().refuseCreations = count; }

}  // namespace mqhost
