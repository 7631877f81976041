// The object-count sweep (object_sweep_case.hpp). Cases, plug-in path only:
// objects_code3_line_T (the line at the end of the 1M grid, Transform on),
// objects_code7_copy100_T (the 1M grid's frame onto 100 selected objects of
// 10k vertices, Transform on; from 101 objects up) and objects_menu_pick_code1_T
// (a whole pick of code 1 with Transform). The other objects are one-triangle
// objects placed before the grid, so that a scan for the grid walks past all
// of them; the grid is the current object and the reference.
#include "bench/object_sweep_case.hpp"

#include <benchmark/benchmark.h>

#include <string>

#include "bench/grid_scene.hpp"
#include "bench/menu_pick_case.hpp"
#include "geometry/cmq_object.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "operations/operations.hpp"

namespace bench {

namespace {

constexpr int32_t kCounts[] = {1, 101, 10'000};
constexpr int32_t kTargets = 100;

enum class Kind { Line, Copy, MenuPick };

// `objects` objects in all: fillers, then (for copy) the 100 targets, then
// the grid with `selection`, current.
DocumentHandle MakeDocument(int32_t objects, Kind kind) {
  const GridArrays& grid = Scenes(GridSizes()[2]).grid;
  const Selection selection = kind == Kind::Line ? Selection::LastLine : Selection::Half;
  DocumentHandle gridDocument = MakeGridDocument(grid, MakeSelection(grid, selection));
  mqhost::ObjectData main = mqhost::GetObject(gridDocument, 0);
  mqhost::DestroyDocument(gridDocument);

  DocumentHandle document = mqhost::CreateDocument();
  mqhost::ObjectData filler;
  filler.name = "filler";
  filler.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  filler.faces = {{0, 1, 2}};
  const int32_t targets = kind == Kind::Copy ? kTargets : 0;
  for (int32_t k = 0; k + targets + 1 < objects; ++k) mqhost::AddObject(document, filler);
  if (targets > 0) {
    const GridArrays small = MakeGrid(100, 100);
    DocumentHandle smallDocument = MakeGridDocument(small, MakeSelection(small, Selection::None));
    mqhost::ObjectData target = mqhost::GetObject(smallDocument, 0);
    mqhost::DestroyDocument(smallDocument);
    target.uniqueId = 0;
    target.selected = true;
    for (int32_t t = 0; t < targets; ++t) mqhost::AddObject(document, target);
  }
  main.uniqueId = 0;
  main.frame = {0.8f, 0.6f, 0, 0, -0.6f, 0.8f, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
  mqhost::SetCurrentObjectIndex(document, mqhost::AddObject(document, main));
  return document;
}

void Run(benchmark::State& state, Kind kind, int32_t objects) {
  DocumentHandle document = MakeDocument(objects, kind);
  mqhost::SetScanningLookups(true);
  mqhost::ClearProtocolErrors();
  tervolin::Options options;
  options.axisToSet = tervolin::AxisToSet::Y;
  options.transformVertices = true;
  options.referenceObjectId = tervolin::kCurrentObjectReference;
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  const uint64_t callsBefore = mqhost::HostCallCount();
  for (auto _ : state) {
    bool done = false;
    if (kind == Kind::MenuPick) {
      done = PickCode1WithTransform(document);
    } else {
      cmq::CMQObject current = cmq::CMQObject::Current(document);
      done = (kind == Kind::Line ? tervolin::AlignAxisToLine(document, current, options)
                                 : tervolin::CopyToSelected(document, current, options)) == 1;
    }
    if (!done) {
      state.SkipWithError("the operation found nothing to do");
      break;
    }
  }
  mqhost::SetScanningLookups(false);
  const auto runs = static_cast<double>(state.iterations());
  if (runs > 0) {
    state.counters["units"] = kind == Kind::Copy ? double{kTargets} * 10'000 : 1'000'000;
    state.counters["per_face"] = 0;
    state.counters["objects"] = objects;
    state.counters["calls"] = static_cast<double>(mqhost::HostCallCount() - callsBefore) / runs;
  }
  if (!mqhost::ProtocolErrors().empty()) state.SkipWithError(mqhost::ProtocolErrors().front().c_str());
  mqhost::DestroyDocument(document);
}

}  // namespace

void RegisterObjectSweep(int64_t iterations) {
  const std::pair<const char*, Kind> kinds[] = {{"objects_code3_line_T/plugin/", Kind::Line},
                                                {"objects_code7_copy100_T/plugin/", Kind::Copy},
                                                {"objects_menu_pick_code1_T/whole/", Kind::MenuPick}};
  for (const auto& [prefix, kind] : kinds) {
    for (const int32_t objects : kCounts) {
      if (kind == Kind::Copy && objects < kTargets + 1) continue;
      const std::string name = prefix + std::to_string(objects) + "obj";
      benchmark::RegisterBenchmark(
          name.c_str(), [kind = kind, objects](benchmark::State& state) { Run(state, kind, objects); })
          ->Iterations(iterations)
          ->Unit(benchmark::kMicrosecond);
    }
  }
}

}  // namespace bench
