// The widget properties that MQWidget_Value's get (0x301) and set (0x302)
// requests name, each with the wire type its value travels as: written once
// here, for the plug-in's widget layer that names them and the replacement
// host whose property table is built from this list. Which classes have a
// property, and whether it is read, set or both, is the host's side.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mq {

// How a property's value travels. Numbers and flags as the address of the
// caller's memory (bool one byte); texts as the UTF-16 string pointer itself,
// keywords as the narrow string pointer itself.
enum class PropertyType : uint8_t { Bool, Int32, Int64, Double, Text, Keyword };

// X(constant, keyword, type): one line a property.
#define MQ_WIDGET_PROPERTIES(X)                    \
  X(kPropEnabled, "enabled", Bool)                 \
  X(kPropHorzLayout, "horzlayout", Keyword)        \
  X(kPropFillBeforeRate, "fillbeforerate", Double) \
  X(kPropFillAfterRate, "fillafterrate", Double)   \
  X(kPropInSpace, "inspace", Double)               \
  X(kPropOutSpace, "outspace", Double)             \
  X(kPropTitle, "title", Text)                     \
  X(kPropPosX, "pos_x", Int32)                     \
  X(kPropPosY, "pos_y", Int32)                     \
  X(kPropAlignment, "alignment", Keyword)          \
  X(kPropText, "text", Text)                       \
  X(kPropModalResult, "modalresult", Int32)        \
  X(kPropCancel, "cancel", Bool)                   \
  X(kPropChecked, "checked", Bool)                 \
  X(kPropCurrentIndex, "currentindex", Int32)      \
  X(kPropItemCount, "item.count", Int32)           \
  X(kPropItemTag, "item.tag", Int64)

struct WidgetProperty {
  const char* name;
  PropertyType type;
};

#define MQ_WIDGET_PROPERTY_CONSTANT(constant, keyword, wire) \
  inline constexpr WidgetProperty constant{keyword, PropertyType::wire};
MQ_WIDGET_PROPERTIES(MQ_WIDGET_PROPERTY_CONSTANT)
#undef MQ_WIDGET_PROPERTY_CONSTANT

#define MQ_WIDGET_PROPERTY_ENTRY(constant, keyword, wire) constant,
inline constexpr WidgetProperty kWidgetProperties[] = {MQ_WIDGET_PROPERTIES(MQ_WIDGET_PROPERTY_ENTRY)};
#undef MQ_WIDGET_PROPERTY_ENTRY
inline constexpr size_t kWidgetPropertyCount = sizeof kWidgetProperties / sizeof kWidgetProperties[0];

// "item.tag" is asked with the item's index before it, in the same request.
inline constexpr const char* kItemIndexArgument = "index";

}  // namespace mq
