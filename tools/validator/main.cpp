// tervolin-validate: loads a plug-in binary into the replacement host as the
// host modeller would and checks it at increasing strictness. Level 1 checks
// what needs no menu pick; level 5 adds random menu picks; level 10 adds the
// stress runs and the picks under host faults. Prints each check and closes
// with the counts of checks and assertions passed and failed.
#include <cstdio>
#include <memory>
#include <string>

#include "export_table.hpp"
#include "host_faults.hpp"
#include "interrupts.hpp"
#include "loader/visible_text.hpp"
#include "options.hpp"
#include "picks.hpp"
#include "plugin_exports.hpp"
#include "report.hpp"
#include "static_checks.hpp"
#include "stress.hpp"
#include "work_dir.hpp"

int main(int argc, char** argv) {
  validator::HoldInterrupts();
  validator::Options options;
  std::string error;
  bool help = false;
  if (!validator::ParseOptions(argc, argv, &options, &error, &help)) {
    std::fprintf(stderr, "tervolin-validate: %s (tervolin-validate --help lists the options)\n",
                 loader::Visible(error).c_str());
    return 2;
  }
  if (help) {
    std::printf("%s", error.c_str());
    return 0;
  }
  // A plug-in that cannot be read is a bad command line, said before any
  // check runs (and before the loader could wait on a pipe or read a device).
  if (std::string bytes; !validator::ReadLibraryFile(options.pluginPath, &bytes, &error)) {
    std::fprintf(stderr, "tervolin-validate: --plugin %s\n", loader::Visible(error).c_str());
    return 2;
  }
  validator::ScratchFolder scratch;
  if (!scratch.Make(options.workDir, &error)) {
    std::fprintf(stderr, "tervolin-validate: %s\n", loader::Visible(error).c_str());
    return 2;
  }
  options.workDir = scratch.path();
  validator::Report report(options.hangSeconds);
  report.Configure(options.json, !options.quiet, options.junitPath);
  // However the run ends, the scratch folder goes, and a JUnit file says
  // what ran.
  report.SetLastWord([&scratch] { scratch.Remove(); });
  const validator::InterruptWatch interrupts([&report](const std::string& why) { report.Abandon(why); });
  report.Note("plug-in " + options.pluginPath + ", level " + std::to_string(options.level) + ", seed " +
              std::to_string(options.seed));
  auto plugin = std::make_unique<validator::LoadedPlugin>(options.pluginPath);
  validator::RunStaticChecks(options, *plugin, report);
  const bool started = report.failed() == 0 || plugin->complete();
  if (options.level >= 5 && started) validator::RunRandomPicks(options, plugin->api(), report);
  if (options.level >= 10 && started) validator::RunStress(options, plugin, report);
  if (options.level >= 10 && started && plugin->complete())
    validator::RunHostFaults(options, plugin->api(), report);
  plugin.reset();
  return report.Finish();
}
