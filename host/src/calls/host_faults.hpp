// Inside the host: whether the call under way answers its failure now (see
// mqhost/faults.hpp for the schedule and what each failure is).
#pragma once

#include <cstdint>

#include "mqhost/faults.hpp"

namespace mqhost::host_faults {

// True when the schedule has this call answer `fault`; records it with
// `where` (the host function).
bool Answer(HostFault fault, const char* where);
// A number below `bound` from the schedule's generator (for the shape of an
// answer, such as which bad index).
uint32_t Draw(uint32_t bound);
// Whether lookups of this object answer -1 (HideObjectIndex).
bool Hidden(ObjectHandle object);

// The out-of-range current index last answered, which MQDoc_GetObject then
// answers with null without an error; -1 when none.
extern int32_t answeredCurrentIndex;

}  // namespace mqhost::host_faults
