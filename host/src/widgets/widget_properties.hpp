// The widget properties that MQWidget_Value's get and set requests take: the
// host's side of the property list in protocol/widget_properties.hpp (name
// and wire type from there), with the classes that have each property and how
// it is read from and written to a widget. Internal to the host library.
#pragma once

#include <cstdint>

#include "host/src/widgets/widget_request_reader.hpp"

namespace mqhost::widget_host {

// What a get request carried before the property: the item's index, for
// "item.tag".
struct GetContext {
  bool haveIndex = false;
  int32_t index = 0;
};

// Writes the widget's value into the caller's memory, or reads it from there
// into the widget; each logs what it read or wrote and reports what was wrong.
using Getter = void (*)(Request& request, const Pair& pair, const Widget& widget, const GetContext& context);
using Setter = void (*)(Request& request, const Pair& pair, Widget& widget);

struct Property {
  const char* name;
  WireType type;
  unsigned classes;
  Getter get;  // null: the property cannot be read
  Setter set;  // null: the property cannot be set
};

// The property `name` of `widget`'s class, or null after reporting why not.
const Property* FindProperty(Request& request, const Widget& widget, const char* name);

}  // namespace mqhost::widget_host
