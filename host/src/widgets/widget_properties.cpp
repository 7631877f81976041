// The property table of widget get and set requests (see widget_properties.hpp).
#include "host/src/widgets/widget_properties.hpp"

#include <cstring>
#include <string>

#include "protocol/widget_properties.hpp"

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
constexpr unsigned kComboBox = Bit(WidgetClass::ComboBox);
constexpr unsigned kButton = Bit(WidgetClass::Button);

constexpr WireType WireOf(mq::PropertyType type) {
  switch (type) {
    case mq::PropertyType::Bool: return WireType::Bool;
    case mq::PropertyType::Int32: return WireType::Int32;
    case mq::PropertyType::Int64: return WireType::Int64;
    case mq::PropertyType::Double: return WireType::Double;
    case mq::PropertyType::Text: return WireType::Text;
    case mq::PropertyType::Keyword: return WireType::Keyword;
  }
  return WireType::Unknown;
}

constexpr Property Row(const mq::WidgetProperty& wire, unsigned classes, Getter get, Setter set) {
  return Property{wire.name, WireOf(wire.type), classes, get, set};
}

template <bool Widget::*member>
void GetBool(Request& request, const Pair& pair, const Widget& widget, const GetContext& /*context*/) {
  request.WriteBool(pair.name, pair.value, widget.*member);
}
template <int32_t Widget::*member>
void GetInt32(Request& request, const Pair& pair, const Widget& widget, const GetContext& /*context*/) {
  request.WriteInt32(pair.name, pair.value, widget.*member);
}
template <bool Widget::*member>
void SetBool(Request& request, const Pair& pair, Widget& widget) {
  bool flag = false;
  if (request.ReadBool(pair.name, pair.value, flag)) widget.*member = flag;
}
template <int32_t Widget::*member>
void SetInt32(Request& request, const Pair& pair, Widget& widget) {
  int32_t number = 0;
  if (request.ReadInt32(pair.name, pair.value, number)) widget.*member = number;
}
template <double Widget::*member>
void SetDouble(Request& request, const Pair& pair, Widget& widget) {
  double real = 0;
  if (request.ReadDouble(pair.name, pair.value, real)) widget.*member = real;
}

void SetCaption(Request& request, const Pair& pair, Widget& widget) {
  std::u16string text;
  if (request.ReadText(pair.name, pair.value, text)) widget.caption = text;
}

void SetHorzLayout(Request& request, const Pair& pair, Widget& widget) {
  std::string keyword;
  if (request.ReadKeyword(pair.name, pair.value, keyword, {"auto", "fill"})) widget.horzLayout = keyword;
}

void SetAlignment(Request& request, const Pair& pair, Widget& widget) {
  std::string keyword;
  if (request.ReadKeyword(pair.name, pair.value, keyword, {"horz", "vert"})) widget.alignment = keyword;
}

void SetCurrentIndex(Request& request, const Pair& pair, Widget& widget) {
  int32_t number = 0;
  if (!request.ReadInt32(pair.name, pair.value, number)) return;
  if (number < -1 || number >= static_cast<int32_t>(widget.items.size())) {
    request.Error("\"currentindex\" " + std::to_string(number) + " is out of range for " + Describe(widget) +
                  " with " + std::to_string(widget.items.size()) + " items");
  } else {
    widget.currentIndex = number;
  }
}

void GetItemCount(Request& request, const Pair& pair, const Widget& widget, const GetContext& /*context*/) {
  request.WriteInt32(pair.name, pair.value, static_cast<int32_t>(widget.items.size()));
}

void GetItemTag(Request& request, const Pair& pair, const Widget& widget, const GetContext& context) {
  if (!context.haveIndex) {
    request.Log(pair.name, WireType::Int64, true);
    request.Error("\"item.tag\" asked without an \"index\" before it");
  } else if (context.index < 0 || static_cast<size_t>(context.index) >= widget.items.size()) {
    request.Log(pair.name, WireType::Int64, true);
    request.Error("\"item.tag\" of item " + std::to_string(context.index) + ", but " + Describe(widget) +
                  " has " + std::to_string(widget.items.size()) + " items");
  } else {
    request.WriteInt64(pair.name, pair.value, widget.items[static_cast<size_t>(context.index)].tag);
  }
}

// One row a property of the protocol's list, in its order (checked below).
constexpr Property kProperties[] = {
    Row(mq::kPropEnabled, kAll, GetBool<&Widget::enabled>, SetBool<&Widget::enabled>),
    Row(mq::kPropHorzLayout, kAll, nullptr, SetHorzLayout),
    Row(mq::kPropFillBeforeRate, kAll, nullptr, SetDouble<&Widget::fillBeforeRate>),
    Row(mq::kPropFillAfterRate, kAll, nullptr, SetDouble<&Widget::fillAfterRate>),
    Row(mq::kPropInSpace, kAll, nullptr, SetDouble<&Widget::inSpace>),
    Row(mq::kPropOutSpace, kAll, nullptr, SetDouble<&Widget::outSpace>),
    Row(mq::kPropTitle, kWindows, nullptr, SetCaption),
    Row(mq::kPropPosX, kWindows, GetInt32<&Widget::posX>, SetInt32<&Widget::posX>),
    Row(mq::kPropPosY, kWindows, GetInt32<&Widget::posY>, SetInt32<&Widget::posY>),
    Row(mq::kPropAlignment, kFrames, nullptr, SetAlignment),
    Row(mq::kPropText, kCaptioned, nullptr, SetCaption),
    Row(mq::kPropModalResult, kButton, nullptr, SetInt32<&Widget::modalResult>),
    Row(mq::kPropCancel, kButton, nullptr, SetBool<&Widget::cancel>),
    Row(mq::kPropChecked, kCheckable, GetBool<&Widget::checked>, SetBool<&Widget::checked>),
    Row(mq::kPropCurrentIndex, kComboBox, GetInt32<&Widget::currentIndex>, SetCurrentIndex),
    Row(mq::kPropItemCount, kComboBox, GetItemCount, nullptr),
    Row(mq::kPropItemTag, kComboBox, GetItemTag, nullptr),
};

constexpr bool SameName(const char* a, const char* b) {
  while (*a != '\0' && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

constexpr bool FollowsTheProtocolList() {
  if (sizeof kProperties / sizeof kProperties[0] != mq::kWidgetPropertyCount) return false;
  for (size_t i = 0; i < mq::kWidgetPropertyCount; ++i) {
    if (!SameName(kProperties[i].name, mq::kWidgetProperties[i].name)) return false;
    if (kProperties[i].type != WireOf(mq::kWidgetProperties[i].type)) return false;
  }
  return true;
}
static_assert(FollowsTheProtocolList(), "one row a property of protocol/widget_properties.hpp, in its order");

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
