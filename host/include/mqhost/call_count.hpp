// The number of host function calls so far: every exported host function
// counts itself, so that a test can tell that an export "sent no request" and
// a benchmark can give host calls per vertex.
#pragma once

#include <cstdint>

#include "mqhost/api.hpp"

namespace mqhost {

MQHOST_API uint64_t HostCallCount();

}  // namespace mqhost
