// One pick of the menu entry, end to end: MQModifyObject builds the dialog,
// loads the options, fills the reference list, enables the buttons by the
// selection of the 1M-vertex grid, runs modally under the scripted user and
// performs the chosen operation. "menu_pick_cancel" closes the dialog at
// once, so it is the dialog alone (its cost is mostly the button enabling's
// selection counts); "menu_pick_code1_T" turns "Trans(&f)orm" on and picks
// "Center of (&V)ertexes".
#include "bench/menu_pick_case.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/grid_scene.hpp"
#include "loader/plugin_loader.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/library_path.hpp"
#include "mqhost/settings.hpp"
#include "mqhost/widgets.hpp"

namespace bench {

namespace {

using loader::PluginExports;

// The plug-in library beside this program, loaded once and started against
// the host library as the host modeller starts it.
const PluginExports* Plugin() {
  static loader::LoadedPlugin library(loader::ExecutableDir() + TERVOLIN_PLUGIN_FILE_NAME);
  static const bool started = library.Start(mqhost::LibraryPath());
  return started ? &library.api() : nullptr;
}

std::vector<mqhost::UserAction> Script(bool cancel) {
  if (cancel) return {mqhost::CloseWindow()};
  return {mqhost::Click("Trans(&f)orm"), mqhost::Click("Center of (&V)ertexes")};
}

// One pick, with the settings and widgets of the previous one forgotten, so
// that every pick starts from the first-run options.
int32_t Pick(const PluginExports& plugin, DocumentHandle document, bool cancel) {
  mqhost::ResetSettings();
  mqhost::ResetWidgets();
  mqhost::ScriptUser(Script(cancel));
  return plugin.MQModifyObject(0, document);
}

void Run(benchmark::State& state, bool cancel) {
  const PluginExports* plugin = Plugin();
  SceneSet& scenes = Scenes(GridSizes()[2]);
  DocumentHandle document = DocumentOf(scenes, Selection::Half);
  mqhost::ClearProtocolErrors();
  const uint64_t callsBefore = mqhost::HostCallCount();
  for (auto _ : state) {
    const int32_t result = Pick(*plugin, document, cancel);
    const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
    if (!outcome.ran || outcome.ranOutOfActions || result != (cancel ? 0 : 1)) {
      state.SkipWithError("the pick did not run as scripted");
      break;
    }
  }
  const auto runs = static_cast<double>(state.iterations());
  if (runs > 0) {
    state.counters["units"] = scenes.grid.VertexCount();
    state.counters["per_face"] = 0;
    state.counters["calls"] = static_cast<double>(mqhost::HostCallCount() - callsBefore) / runs;
  }
  if (!mqhost::ProtocolErrors().empty()) state.SkipWithError(mqhost::ProtocolErrors().front().c_str());
}

// True when a pick on a small grid shows the dialog and closes it as told.
bool PluginShowsDialog(const PluginExports& plugin) {
  const GridArrays grid = MakeGrid(10, 10);
  DocumentHandle document = MakeGridDocument(grid, MakeSelection(grid, Selection::Half));
  Pick(plugin, document, true);
  const bool ran = mqhost::LastModalOutcome().ran;
  mqhost::DestroyDocument(document);
  mqhost::ResetWidgets();
  mqhost::ResetSettings();
  mqhost::ClearProtocolErrors();
  return ran;
}

}  // namespace

bool PickCode1WithTransform(DocumentHandle document) {
  const PluginExports* plugin = Plugin();
  if (plugin == nullptr) return false;
  const int32_t result = Pick(*plugin, document, false);
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  return outcome.ran && !outcome.ranOutOfActions && result == 1;
}

void RegisterMenuPicks(int64_t iterations) {
  const PluginExports* plugin = Plugin();
  if (plugin == nullptr) {
    std::fprintf(stderr, "menu picks left out: the plug-in library did not load and start\n");
    return;
  }
  if (!PluginShowsDialog(*plugin)) {
    std::fprintf(stderr, "menu picks left out: the plug-in shows no dialog yet\n");
    return;
  }
  for (const bool cancel : {true, false}) {
    const std::string name = std::string(cancel ? "menu_pick_cancel" : "menu_pick_code1_T") + "/whole/1M";
    benchmark::RegisterBenchmark(name.c_str(), [cancel](benchmark::State& state) { Run(state, cancel); })
        ->Iterations(iterations)
        ->Unit(benchmark::kMicrosecond);
  }
}

}  // namespace bench
