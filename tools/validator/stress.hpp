// Level 10: the stress runs on top of the picks. Loading and unloading the
// plug-in 100 times in one process; event-procedure calls with malformed
// lists through a handler the host recorded during a pick; 1 MiB of random
// bytes as a settings file, clipboard text and scene file; a settings round
// trip that must give byte-identical files; a whole menu pick on an object of
// a million vertices.
#pragma once

#include <memory>

#include "options.hpp"
#include "plugin_exports.hpp"
#include "report.hpp"

namespace validator {

// `plugin` is closed for the load-and-unload cycles and opened (and started)
// again afterwards.
void RunStress(const Options& options, std::unique_ptr<LoadedPlugin>& plugin, Report& report);

}  // namespace validator
