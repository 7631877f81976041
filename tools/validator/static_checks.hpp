// Level 1: what can be checked without a menu pick. The export table read
// from the file, the version resource of a Windows DLL, version negotiation, MQInit against good and bad
// hosts, the identity answers, and the exports that must answer 0 without a host call.
#pragma once

#include <string>
#include <vector>

#include "options.hpp"
#include "plugin_exports.hpp"
#include "report.hpp"

namespace validator {

// The fourteen names the host modeller looks up (protocol/plugin_exports.hpp),
// sorted.
std::vector<std::string> SortedPluginExportNames();

// Runs the level-1 checks. `plugin` is loaded but not yet started; on return
// it has been started against the replacement host when that succeeded.
void RunStaticChecks(const Options& options, LoadedPlugin& plugin, Report& report);

}  // namespace validator
