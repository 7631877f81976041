// The process-wide table from host widget id to the wrapper that holds it.
//
// Event routing finds the target and sender of an event here, and a closure
// checks here that its owner still exists. The table never owns a wrapper:
// wrappers add themselves when they get a non-zero id and remove their id when
// they are destroyed.
#pragma once

#include <cstdint>
#include <map>

namespace tervolin {

class MQWidgetBase;

// Ordered by id as signed integers. Built empty at load, gone at unload.
extern std::map<int32_t, MQWidgetBase*> widgetRegistry;

// The wrapper registered for `id`, or null when there is none.
MQWidgetBase* FindRegisteredWidget(int32_t id);

}  // namespace tervolin
