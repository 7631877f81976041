// The handlers of MQWidget_Value's requests, one per request code; each reads
// its pairs, checks them against the target and applies the request to the
// widget store. Internal to the host library; HandleRequest dispatches.
#pragma once

#include <vector>

#include "host/src/widgets/widget_request_reader.hpp"

namespace mqhost::widget_host {

// The widget tree (widget_tree_requests.cpp).
void SystemQuery(Request& request, const std::vector<Pair>& pairs);
void Create(Request& request, const std::vector<Pair>& pairs);
void Delete(Request& request, const std::vector<Pair>& pairs);
// Add child, or with `window` add child window.
void AddChild(Request& request, const std::vector<Pair>& pairs, bool window);

// Properties and methods (widget_value_requests.cpp).
void GetValues(Request& request, const std::vector<Pair>& pairs);
void SetValues(Request& request, const std::vector<Pair>& pairs);
void CallMethod(Request& request, const std::vector<Pair>& pairs);

// Event handlers and window commands (widget_requests.cpp).
void AddHandler(Request& request, const std::vector<Pair>& pairs);
void WindowCommand(Request& request, const std::vector<Pair>& pairs);

}  // namespace mqhost::widget_host
