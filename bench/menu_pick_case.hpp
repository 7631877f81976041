// Whole menu picks through the plug-in library's menu export, with the
// replacement host's scripted user driving the dialog.
#pragma once

#include <cstdint>

#include "protocol/host_types.hpp"

namespace bench {

// Loads the built plug-in beside the host and registers the picks on the 1M
// grid. Registers nothing, and says so, while the plug-in shows no dialog
// (its run ends without a modal run).
void RegisterMenuPicks(int64_t iterations);

// One whole pick of "Center of (&V)ertexes" with "Trans(&f)orm" on the
// document's current object: true when it ran as scripted and did its work.
// False also when the plug-in does not load.
bool PickCode1WithTransform(DocumentHandle document);

}  // namespace bench
