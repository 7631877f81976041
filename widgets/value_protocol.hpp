// The widget value call's argument lists, as the widget layer sends them.
//
// A request is an array of pointer-sized slots: name, value, name, value, ...,
// then one null name. Numbers and flags travel as the address of caller
// memory (bool is one byte, int32, int64, double); texts and keywords as the
// string pointer itself. Everything lives on the caller's stack for the one
// call; the host keeps nothing but the "proc" and "pointer" of a handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "protocol/widget_properties.hpp"

namespace tervolin {

static_assert(sizeof(bool) == 1, "a bool travels as one byte");
static_assert(sizeof(double) == 8, "a double travels as an 8-byte IEEE value");

// One (name, value) pair of a request.
struct WidgetArg {
  const char* name;
  const void* value;
};

namespace widget_wire {

// Sends `code` to widget `id` with the pairs in order and a terminating null.
// The host's own return value is not used: answers come back through outputs.
void Send(int32_t id, int32_t code, std::initializer_list<WidgetArg> pairs);

// Set request (770) carrying one property; `value` as its wire type travels.
void SetProperty(int32_t id, const mq::WidgetProperty& property, const void* value);
// Get request (769) for one int32 or bool property; `fallback` when the host
// does not answer.
int32_t GetInt(int32_t id, const mq::WidgetProperty& property, int32_t fallback);
bool GetBool(int32_t id, const mq::WidgetProperty& property, bool fallback);

}  // namespace widget_wire
}  // namespace tervolin
