#include "host/src/calls/call_counter.hpp"

#include "mqhost/call_count.hpp"

namespace mqhost {

uint64_t call_counter::calls = 0;

uint64_t HostCallCount() { return call_counter::calls; }

}  // namespace mqhost
