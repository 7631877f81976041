// Counts every allocation the process makes through operator new, so that a
// benchmark can report how many its operation made per run.
#pragma once

#include <cstdint>

namespace bench {

uint64_t AllocationCount();

}  // namespace bench
