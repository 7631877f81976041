// What bench.cpp and bench_pick.cpp share inside the workbench: the widget
// tree as the page reads it, and which calls act on the open dialog.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "mqhost/widgets.hpp"

namespace workbench::detail {

nlohmann::json TreeJson(const mqhost::WidgetSnapshot& node);

bool IsDialogAction(const std::string& op);

}  // namespace workbench::detail
