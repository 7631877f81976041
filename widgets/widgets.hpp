// The widget layer in one include: wrappers, controls, windows, closures,
// event records, the event procedure and the registry.
#pragma once

#include "widgets/closures.hpp"
#include "widgets/controls.hpp"
#include "widgets/event_proc.hpp"
#include "widgets/event_records.hpp"
#include "widgets/widget_base.hpp"
#include "widgets/widget_registry.hpp"
#include "widgets/windows.hpp"
