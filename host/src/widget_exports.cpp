// MQWidget_Value: every widget request of the plug-in comes through here.
#include "host/src/host_function_declarations.hpp"
#include "host/src/widget_model.hpp"
#include "host/src/write_log.hpp"
#include "mqhost/api.hpp"
#include "mqhost/protocol.hpp"
#include "protocol/host_types.hpp"

MQHOST_EXPORT_C int MQWidget_Value(int widgetId, int code, void** arguments) {
  mqhost::NoteHostCall();
  const auto& log = mqhost::widget_host::TheStore().log;
  const size_t at = log.size();
  const int result = mqhost::widget_host::HandleRequest(widgetId, code, arguments);
  // Value sets and method calls change widgets. A modal run inside the call
  // logs the run's own requests after this one, so it is found by position.
  if (mqhost::write_log::recordingWrites && (code == mq::kWidgetSetValues || code == mq::kWidgetCallMethod) &&
      at < log.size()) {
    mqhost::write_log::Append("widget " + mqhost::FormatRequest(log[at]));
  }
  return result;
}
