#include "widgets/value_protocol.hpp"

#include "binding/host_api.hpp"
#include "protocol/host_types.hpp"

namespace tervolin {
namespace widget_wire {

namespace {
// The longest request the layer sends has four pairs.
constexpr std::size_t kMaxPairs = 8;
}  // namespace

void Send(int32_t id, int32_t code, std::initializer_list<WidgetArg> pairs) {
  void* slots[2 * kMaxPairs + 1] = {};
  std::size_t slot = 0;
  for (const WidgetArg& pair : pairs) {
    if (slot + 2 >= 2 * kMaxPairs + 1) break;
    // The host reads names and inputs and writes only the outputs the caller
    // passed as writable memory; the list itself is untyped.
    slots[slot++] = const_cast<char*>(pair.name);
    slots[slot++] = const_cast<void*>(pair.value);
  }
  slots[slot] = nullptr;
  auto* call = HostApi().MQWidget_Value;
  if (call == nullptr) return;
  call(id, code, slots);
}

void SetProperty(int32_t id, const mq::WidgetProperty& property, const void* value) {
  Send(id, mq::kWidgetSetValues, {{property.name, value}});
}

int32_t GetInt(int32_t id, const mq::WidgetProperty& property, int32_t fallback) {
  int32_t value = fallback;
  Send(id, mq::kWidgetGetValues, {{property.name, &value}});
  return value;
}

bool GetBool(int32_t id, const mq::WidgetProperty& property, bool fallback) {
  // Read as a byte: a host that writes something other than 0 or 1 must not
  // leave an invalid bool behind.
  unsigned char value = fallback ? 1 : 0;
  Send(id, mq::kWidgetGetValues, {{property.name, &value}});
  return value != 0;
}

}  // namespace widget_wire
}  // namespace tervolin
