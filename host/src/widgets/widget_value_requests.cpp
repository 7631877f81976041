// Requests that read and set widget properties, and the combo box's "additem"
// method.
#include <cstring>
#include <string>

#include "host/src/widgets/widget_properties.hpp"
#include "host/src/widgets/widget_request_handlers.hpp"

namespace mqhost::widget_host {

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

}  // namespace mqhost::widget_host
