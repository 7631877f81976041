// The property table of widget get and set requests (see widget_properties.hpp).
#include "host/src/widgets/widget_properties.hpp"

#include <cstring>
#include <string>

namespace mqhost::widget_host {

namespace {

constexpr unsigned Bit(WidgetClass cls) { return 1u << static_cast<unsigned>(cls); }
constexpr unsigned kAll = 0x1FF;
constexpr unsigned kWindows = Bit(WidgetClass::MainWindow) | Bit(WidgetClass::Dialog);
constexpr unsigned kFrames = Bit(WidgetClass::Frame) | Bit(WidgetClass::GroupBox);
constexpr unsigned kCaptioned = Bit(WidgetClass::GroupBox) | Bit(WidgetClass::Button) |
                                Bit(WidgetClass::CheckBox) | Bit(WidgetClass::RadioButton) |
                                Bit(WidgetClass::Label);
constexpr unsigned kCheckable = Bit(WidgetClass::CheckBox) | Bit(WidgetClass::RadioButton);

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

}  // namespace

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

}  // namespace mqhost::widget_host
