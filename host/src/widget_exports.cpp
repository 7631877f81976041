// MQWidget_Value: every widget request of the plug-in comes through here.
#include "host/src/host_function_declarations.hpp"
#include "host/src/widget_model.hpp"
#include "mqhost/api.hpp"
#include "mqhost/protocol.hpp"
#include "protocol/host_types.hpp"

MQHOST_EXPORT_C int MQWidget_Value(int widgetId, int code, void** arguments) {
  mqhost::NoteHostCall();
  return mqhost::widget_host::HandleRequest(widgetId, code, arguments);
}
