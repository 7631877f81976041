#include "widgets/widget_registry.hpp"

namespace tervolin {

std::map<int32_t, MQWidgetBase*> widgetRegistry;

MQWidgetBase* FindRegisteredWidget(int32_t id) {
  const auto found = widgetRegistry.find(id);
  return found == widgetRegistry.end() ? nullptr : found->second;
}

}  // namespace tervolin
