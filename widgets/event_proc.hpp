// The one event procedure the host calls for every widget event, and the
// routing from its argument list to the registered closure.
#pragma once

#include <cstdint>

#include "protocol/host_types.hpp"

namespace tervolin {

// Registered as "proc". `list` is the host's (name, pointer) list describing
// the event, `pointer` the closure address given at registration. Returns the
// handler's result, or 0 when no handler ran.
int WidgetEventProc(DocumentHandle document, void** list, void* pointer);

}  // namespace tervolin
