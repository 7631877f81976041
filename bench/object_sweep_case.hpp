// The object-count sweep: one 1M-vertex object in documents of 1, 101 and
// 10,000 objects, with the replacement host's lookups scanning the object
// list, so that a plug-in that asks for an object's index or looks an object
// up per vertex shows it as time that grows with the objects.
#pragma once

#include <cstdint>

namespace bench {

void RegisterObjectSweep(int64_t iterations);

}  // namespace bench
