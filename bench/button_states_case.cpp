// UpdateButtonStates measured on its own, on a dialog built once, in its worst
// case: one selected line at the end and nothing else, so that no count is
// decided before both walks end. Its floors: the protocol floor walks the
// vertices and faces with the host calls the selection counts make (the widget requests that read the
// reference list and set the four buttons are left out: VerifyButtonStates checks that they are all the
// plug-in makes besides); the array floor counts the flags.
#include "bench/button_states_case.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/allocation_count.hpp"
#include "bench/grid_scene.hpp"
#include "binding/host_api.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/widgets.hpp"

#if TERVOLIN_BENCH_HAS_DIALOG
#include "dialog/tervolin_dialog.hpp"
#endif

namespace bench {

namespace {

struct Counts {
  int32_t vertices = 0;
  int32_t faces = 0;
  int32_t lines = 0;
};

// The document calls of the counts, as the plug-in makes them: the vertex
// walk tests the selection first and the liveness of a selected vertex, and
// stops at 4; the face walk asks each face's point count, its selection and
// its lines until faces and lines reach 2 (or are not needed: two selected
// vertices decide the line, three the normal). No smaller sequence decides
// the same buttons, so this is also the fewest-calls floor.
[[maybe_unused]] Counts ProtocolCounts(DocumentHandle document) {
  auto& host = tervolin::HostApi();
  Counts counts;
  const int32_t current = host.MQDoc_GetCurrentObjectIndex(document);
  ObjectHandle object = host.MQDoc_GetObject(document, current);
  const int32_t index = host.MQDoc_GetObjectIndex(document, object);
  if (index < 0) return counts;
  // The walks hold the functions they call in locals.
  auto* const isVertexSelected = host.MQDoc_IsSelectVertex;
  auto* const refCount = host.MQObj_GetVertexRefCount;
  auto* const isFaceSelected = host.MQDoc_IsSelectFace;
  auto* const isLineSelected = host.MQDoc_IsSelectLine;
  auto* const pointCount = host.MQObj_GetFacePointCount;
  const int32_t vertices = host.MQObj_GetVertexCount(object);
  for (int32_t i = 0; i < vertices && counts.vertices < 4; ++i) {
    if (isVertexSelected(document, index, i) != 0 && refCount(object, i) > 0) ++counts.vertices;
  }
  const bool needLines = counts.vertices != 2;
  const bool needFaces = counts.vertices != 3;
  const int32_t faces = host.MQObj_GetFaceCount(object);
  for (int32_t f = 0; f < faces; ++f) {
    const bool countLines = needLines && counts.lines < 2;
    const bool countFaces = needFaces && counts.faces < 2;
    if (!countLines && !countFaces) break;
    if (!countLines) {
      if (isFaceSelected(document, index, f) != 0 && pointCount(object, f) > 0) ++counts.faces;
      continue;
    }
    const int32_t points = pointCount(object, f);
    if (points <= 0) continue;
    if (countFaces && isFaceSelected(document, index, f) != 0) ++counts.faces;
    for (int32_t k = 0; k < points && counts.lines < 2; ++k) {
      if (isLineSelected(document, index, f, k) != 0) ++counts.lines;
    }
  }
  return counts;
}

[[maybe_unused]] Counts ArrayCounts(const GridArrays& grid, const SelectionArrays& selection) {
  Counts counts;
  const size_t vertices = grid.positions.size();
  for (size_t v = 0; v < vertices; ++v)
    counts.vertices += grid.refCounts[v] > 0 && selection.vertices[v] != 0;
  const auto faces = static_cast<size_t>(grid.FaceCount());
  for (size_t f = 0; f < faces; ++f) {
    const uint32_t begin = grid.faceStart[f];
    const uint32_t end = grid.faceStart[f + 1];
    if (begin == end) continue;
    counts.faces += selection.faces[f] != 0;
    for (uint32_t p = begin; p < end; ++p) counts.lines += selection.lines[p] != 0;
  }
  return counts;
}

#if TERVOLIN_BENCH_HAS_DIALOG

// A dialog as RunDialog has it before its modal run, with "-" (the current
// object) chosen in the reference list.
struct OpenDialog {
  tervolin::MQWindow mainWindow = tervolin::MQWindow::WrapMainWindow();
  std::unique_ptr<tervolin::TervolinDialog> dialog;

  explicit OpenDialog(DocumentHandle document) {
    dialog = std::make_unique<tervolin::TervolinDialog>(mainWindow);
    dialog->FillReferenceCombo(document, tervolin::kCurrentObjectReference);
  }
};

enum class Path { Array, Protocol, Fewest, Plugin };

void Run(benchmark::State& state, Path path) {
  SceneSet& scenes = Scenes(GridSizes()[2]);
  DocumentHandle document = DocumentOf(scenes, Selection::LastLine);
  const SelectionArrays& selection = SelectionOf(scenes, Selection::LastLine);
  mqhost::ResetWidgets();
  mqhost::ClearProtocolErrors();
  {
    OpenDialog open(document);
    const uint64_t callsBefore = mqhost::HostCallCount();
    uint64_t allocations = 0;
    int64_t counted = 0;
    for (auto _ : state) {
      const uint64_t allocationsBefore = AllocationCount();
      switch (path) {
        case Path::Array: counted += ArrayCounts(scenes.grid, selection).lines; break;
        case Path::Protocol:
        case Path::Fewest: counted += ProtocolCounts(document).lines; break;
        case Path::Plugin: open.dialog->UpdateButtonStates(nullptr, document); break;
      }
      allocations += AllocationCount() - allocationsBefore;
    }
    benchmark::DoNotOptimize(counted);
    const auto runs = static_cast<double>(state.iterations());
    if (runs > 0) {
      state.counters["units"] = scenes.grid.VertexCount();
      state.counters["per_face"] = 0;
      state.counters["calls"] = static_cast<double>(mqhost::HostCallCount() - callsBefore) / runs;
      state.counters["allocs"] = static_cast<double>(allocations) / runs;
    }
  }
  if (!mqhost::ProtocolErrors().empty()) state.SkipWithError(mqhost::ProtocolErrors().front().c_str());
  mqhost::ResetWidgets();
}

#endif

}  // namespace

void RegisterButtonStates([[maybe_unused]] int64_t iterations) {
#if TERVOLIN_BENCH_HAS_DIALOG
  const std::pair<const char*, Path> paths[] = {{"array", Path::Array},
                                                {"fewest", Path::Fewest},
                                                {"protocol", Path::Protocol},
                                                {"plugin", Path::Plugin}};
  for (const auto& [name, path] : paths) {
    const std::string full = std::string("buttons_update/") + name + "/1M";
    benchmark::RegisterBenchmark(full.c_str(), [path = path](benchmark::State& state) { Run(state, path); })
        ->Iterations(iterations)
        ->Unit(benchmark::kMicrosecond);
  }
#else
  std::fprintf(stderr, "button enabling left out: the plug-in has no dialog yet\n");
#endif
}

bool VerifyButtonStates() {
#if TERVOLIN_BENCH_HAS_DIALOG
  const GridArrays grid = MakeGrid(30, 17);
  // The benchmark's selection, where no count stops early: the floors'
  // counts are then whole.
  const SelectionArrays selection = MakeSelection(grid, Selection::LastLine);
  DocumentHandle document = MakeGridDocument(grid, selection);
  mqhost::ResetWidgets();
  mqhost::ClearProtocolErrors();
  std::string problem;
  uint64_t pluginCalls = 0;
  {
    OpenDialog open(document);
    mqhost::ClearRequestLog();
    uint64_t before = mqhost::HostCallCount();
    open.dialog->UpdateButtonStates(nullptr, document);
    pluginCalls = mqhost::HostCallCount() - before;
    const auto widgetRequests = static_cast<uint64_t>(mqhost::RequestLog().size());
    before = mqhost::HostCallCount();
    const Counts protocol = ProtocolCounts(document);
    const uint64_t protocolCalls = mqhost::HostCallCount() - before;
    const Counts array = ArrayCounts(grid, selection);
    if (pluginCalls - widgetRequests != protocolCalls) {
      problem = "document calls " + std::to_string(pluginCalls - widgetRequests) + " (plug-in) vs " +
                std::to_string(protocolCalls);
    } else if (protocol.vertices != array.vertices || protocol.faces != array.faces ||
               protocol.lines != array.lines) {
      problem = "the floors count differently";
    }
  }
  if (problem.empty() && !mqhost::ProtocolErrors().empty()) problem = mqhost::ProtocolErrors().front();
  mqhost::DestroyDocument(document);
  mqhost::ResetWidgets();
  std::printf("%-22s %s %s(%llu host calls)\n", "buttons_update", problem.empty() ? "ok  " : "FAIL",
              problem.empty() ? "" : (problem + " ").c_str(), static_cast<unsigned long long>(pluginCalls));
  return problem.empty();
#else
  return true;
#endif
}

}  // namespace bench
