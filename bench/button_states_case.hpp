// The dialog's button enabling (UpdateButtonStates) on the 1M-vertex grid:
// it counts the selected vertices, faces and lines of the reference object.
#pragma once

#include <cstdint>

namespace bench {

// Registers the case when the plug-in has its dialog; says so otherwise.
void RegisterButtonStates(int64_t iterations);
// One run through each path on a small grid; true when the protocol floor
// makes the plug-in's document calls and every path counts the same.
bool VerifyButtonStates();

}  // namespace bench
