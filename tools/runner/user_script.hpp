// The scripted user: the command line's actions handed to the host before the
// pick, and what the dialog's run made of them afterwards.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/runner/options.hpp"
#include "tools/runner/report.hpp"

namespace runner {

// One line per step, for the report: `click "(&L)ine"`, `key ctrl+C`.
std::string DescribeStep(const ScriptStep& step);

// Queues the steps, then a closing of the dialog's window in case the script
// leaves it open.
void QueueScript(const std::vector<ScriptStep>& steps);

// After the pick: how the dialog ran, and which operation it closed with (the
// control or key of the last action played, when the run ended with OK).
DialogOutcome FinishScript(const std::vector<ScriptStep>& steps, std::optional<int32_t>* operation);

}  // namespace runner
