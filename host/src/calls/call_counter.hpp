// Internal to the host library: the count of host calls that HostCallCount
// answers. Every exported host function counts itself first, so the count is
// one increment of a library-local variable, inline: the cheapest host calls
// (a selection flag, a vertex) are a few dozen instructions, and a call out
// of line to count them would be a third of that. Calls arrive on one thread
// (the host's user-interface thread), so the count needs no lock.
#pragma once

#include <cstdint>

namespace mqhost::call_counter {

extern uint64_t calls;

inline void Count() { ++calls; }

}  // namespace mqhost::call_counter
