// Placeholder host functions, answered with a protocol error until the
// replacement host models what they reach.
#include "mqhost/api.hpp"
#include "mqhost/protocol.hpp"
#include "plugin/host_types.hpp"

MQHOST_EXPORT_C int MQ_SendMessage(int, void*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQ_SendMessage is not modelled yet"); return {};
}

MQHOST_EXPORT_C void MQXmlElem_Value(XmlElemHandle, int, void*) {
  mqhost::NoteHostCall();
  mqhost::RecordProtocolError("MQXmlElem_Value is not modelled yet");
}
