// Level 10's "host faults" stage: menu picks on random scenes while the
// replacement host answers, on a seeded schedule, the failures its contract
// allows (mqhost/faults.hpp), each followed by the same pick's scene and
// script again without faults.
#pragma once

#include "options.hpp"
#include "plugin_exports.hpp"
#include "report.hpp"

namespace validator {

// The name of the stage, in the output and the JUnit report.
inline constexpr const char* kHostFaultsStage = "host faults";

void RunHostFaults(const Options& options, const PluginExports& api, Report& report);

}  // namespace validator
