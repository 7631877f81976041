// Placeholder host functions, answered with a protocol error until the
// replacement host models what they reach.
#include "mqhost/api.hpp"
#include "mqhost/protocol.hpp"
#include "plugin/host_types.hpp"

MQHOST_EXPORT_C int MQWidget_Value(int, int, void**) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQWidget_Value is not modelled yet"); return {};
}
