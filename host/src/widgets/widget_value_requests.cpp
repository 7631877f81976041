// Requests that read and set widget properties, and the combo box's "additem"
// method.
#include <cstring>
#include <string>

#include "host/src/widgets/widget_properties.hpp"
#include "host/src/widgets/widget_request_handlers.hpp"
#include "protocol/widget_properties.hpp"

namespace mqhost::widget_host {

void GetValues(Request& request, const std::vector<Pair>& pairs) {
  Widget* widget = Target(request);
  if (widget == nullptr) return;
  if (pairs.empty()) request.Error("get request without a property");
  GetContext context;
  for (const Pair& pair : pairs) {
    if (std::strcmp(pair.name, mq::kItemIndexArgument) == 0 && widget->cls == WidgetClass::ComboBox) {
      context.haveIndex = request.ReadInt32(pair.name, pair.value, context.index);
      continue;
    }
    const Property* property = FindProperty(request, *widget, pair.name);
    if (property == nullptr) continue;
    if (property->get == nullptr) {
      request.Log(pair.name, property->type, true);
      request.Error(std::string("\"") + pair.name + "\" of " + Describe(*widget) + " cannot be read");
      continue;
    }
    property->get(request, pair, *widget, context);
  }
}

void SetValues(Request& request, const std::vector<Pair>& pairs) {
  Widget* widget = Target(request);
  if (widget == nullptr) return;
  if (pairs.empty()) request.Error("set request without a property");
  for (const Pair& pair : pairs) {
    const Property* property = FindProperty(request, *widget, pair.name);
    if (property == nullptr) continue;
    if (property->set == nullptr) {
      request.Log(pair.name, property->type, false);
      request.Error(std::string("\"") + pair.name + "\" of " + Describe(*widget) + " cannot be set");
      continue;
    }
    property->set(request, pair, *widget);
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
