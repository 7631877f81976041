// The widget properties that MQWidget_Value's get and set requests take: name,
// wire type, the classes that have it, and whether it is read, set or both.
// Internal to the host library.
#pragma once

#include "host/src/widgets/widget_request_reader.hpp"

namespace mqhost::widget_host {

struct Property {
  const char* name;
  WireType type;
  unsigned classes;
  bool get;
  bool set;
};

// The property `name` of `widget`'s class, or null after reporting why not.
const Property* FindProperty(Request& request, const Widget& widget, const char* name);

}  // namespace mqhost::widget_host
