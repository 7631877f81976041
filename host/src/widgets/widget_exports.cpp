// MQWidget_Value: every widget request of the plug-in comes through here.
#include "host/src/calls/call_counter.hpp"
#include "host/src/calls/host_function_declarations.hpp"
#include "host/src/calls/write_log.hpp"
#include "host/src/widgets/widget_model.hpp"
#include "mqhost/api.hpp"
#include "protocol/host_types.hpp"

MQHOST_EXPORT_C int MQWidget_Value(int widgetId, int code, void** arguments) {
  mqhost::call_counter::Count();
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
