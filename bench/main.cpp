// The benchmark program: every case on every grid size through four paths,
// the plug-in's operation, its protocol floor, its fewest-calls floor and its
// array floor.
//
//   tervolin_bench [Google Benchmark flags]   runs them
//   tervolin_bench --verify                   checks, on small grids, that each
//       floor does the case's work: the same frame and vertex positions as
//       the plug-in, and for the protocol floor the same host calls in number
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/allocation_count.hpp"
#include "bench/button_states_case.hpp"
#include "bench/cases.hpp"
#include "bench/copy_case.hpp"
#include "bench/menu_pick_case.hpp"
#include "bench/object_sweep_case.hpp"
#include "binding/host_api.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "mqhost/library_path.hpp"

namespace bench {
namespace {

enum class Path { Array, Protocol, Fewest, Plugin };
const char* PathName(Path path) {
  switch (path) {
    case Path::Array: return "array";
    case Path::Protocol: return "protocol";
    case Path::Fewest: return "fewest";
    case Path::Plugin: return "plugin";
  }
  return "";
}

// Fewer runs for the big grids keep the whole run within a few minutes.
// TERVOLIN_BENCH_ITERATIONS overrides them all (one run under a profiler).
int64_t IterationsFor(const GridSize& size) {
  if (const char* fixed = std::getenv("TERVOLIN_BENCH_ITERATIONS")) {
    const long long value = std::atoll(fixed);
    if (value > 0) return value;
  }
  const int64_t vertices = int64_t{size.width} * size.height;
  if (vertices >= 4'000'000) return 2;
  if (vertices >= 1'000'000) return 5;
  if (vertices >= 100'000) return 25;
  return 250;
}

// Minor page faults of the process so far: fresh memory the kernel hands
// out is paid for on first touch, which shows in a case's time but not in its
// host calls or instructions.
uint64_t PageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<uint64_t>(usage.ru_minflt);
}

void RunCase(benchmark::State& state, const Case& c, const GridSize& size, Path path) {
  SceneSet& scenes = Scenes(size);
  const double units = c.perFace ? scenes.grid.FaceCount() : scenes.grid.VertexCount();
  tervolin::Options options;
  Configure(options, c);
  DocumentHandle document = path == Path::Array ? nullptr : DocumentOf(scenes, c.selection);
  ArrayScene arrays{scenes.grid, SelectionOf(scenes, c.selection), scenes.workPositions, scenes.workFrame};
  mqhost::ClearProtocolErrors();

  const uint64_t callsBefore = mqhost::HostCallCount();
  uint64_t allocations = 0;
  const uint64_t faultsBefore = PageFaults();
  for (auto _ : state) {
    const uint64_t allocationsBefore = AllocationCount();
    int32_t result = 0;
    switch (path) {
      case Path::Array: result = c.array(arrays); break;
      case Path::Protocol: result = c.protocol(document, Calls::PlugIn); break;
      case Path::Fewest: result = c.protocol(document, Calls::Fewest); break;
      case Path::Plugin: {
        cmq::CMQObject current = cmq::CMQObject::Current(document);
        result = c.plugin(options, document, current);
        break;
      }
    }
    allocations += AllocationCount() - allocationsBefore;
    if (result != 1) {
      state.SkipWithError("the operation found nothing to do");
      break;
    }
  }
  const auto runs = static_cast<double>(state.iterations());
  if (runs > 0) {
    state.counters["units"] = units;
    state.counters["per_face"] = c.perFace ? 1 : 0;
    state.counters["calls"] = static_cast<double>(mqhost::HostCallCount() - callsBefore) / runs;
    state.counters["allocs"] = static_cast<double>(allocations) / runs;
    state.counters["faults"] = static_cast<double>(PageFaults() - faultsBefore) / runs;
  }
  if (!mqhost::ProtocolErrors().empty()) state.SkipWithError(mqhost::ProtocolErrors().front().c_str());
}

void RegisterAll() {
  // Before the grids: its 1M vertices are in 100 objects of 10k.
  RegisterCopyToSelected(IterationsFor(GridSizes()[2]));
  for (const GridSize& size : GridSizes()) {
    if (size.width * size.height == 1'000'000) {
      RegisterButtonStates(IterationsFor(size));
      RegisterMenuPicks(IterationsFor(size));
      RegisterObjectSweep(IterationsFor(size));
    }
    for (const Case& c : Cases()) {
      for (Path path : {Path::Array, Path::Fewest, Path::Protocol, Path::Plugin}) {
        const std::string name = c.name + "/" + PathName(path) + "/" + size.name;
        benchmark::RegisterBenchmark(
            name.c_str(), [&c, &size, path](benchmark::State& state) { RunCase(state, c, size, path); })
            ->Iterations(IterationsFor(size))
            ->Unit(benchmark::kMicrosecond);
      }
    }
  }
}

// ---------------------------------------------------------------------------
// --verify

bool Near(float a, float b) { return std::fabs(a - b) <= 1e-4f * (1.0f + std::fabs(a)); }

bool SameFrame(const mqhost::Matrix16& a, const float* b) {
  for (size_t k = 0; k < 16; ++k) {
    if (!Near(a[k], b[k])) return false;
  }
  return true;
}

bool SamePositions(const std::vector<mqhost::Point3>& a, const std::vector<mqhost::Point3>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!Near(a[i].x, b[i].x) || !Near(a[i].y, b[i].y) || !Near(a[i].z, b[i].z)) return false;
  }
  return true;
}

bool SamePositions(const std::vector<mqhost::Point3>& a, const std::vector<Float3>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!Near(a[i].x, b[i].x) || !Near(a[i].y, b[i].y) || !Near(a[i].z, b[i].z)) return false;
  }
  return true;
}

// Runs one case once through each path on fresh copies of a small grid.
bool VerifyCase(const Case& c, const GridArrays& grid) {
  const SelectionArrays selection = MakeSelection(grid, c.selection);
  DocumentHandle pluginDocument = MakeGridDocument(grid, selection);
  DocumentHandle protocolDocument = MakeGridDocument(grid, selection);
  DocumentHandle fewestDocument = MakeGridDocument(grid, selection);
  mqhost::ClearProtocolErrors();

  tervolin::Options options;
  Configure(options, c);
  uint64_t before = mqhost::HostCallCount();
  cmq::CMQObject current = cmq::CMQObject::Current(pluginDocument);
  const int32_t pluginResult = c.plugin(options, pluginDocument, current);
  const uint64_t pluginCalls = mqhost::HostCallCount() - before;

  before = mqhost::HostCallCount();
  const int32_t protocolResult = c.protocol(protocolDocument, Calls::PlugIn);
  const uint64_t protocolCalls = mqhost::HostCallCount() - before;
  before = mqhost::HostCallCount();
  const int32_t fewestResult = c.protocol(fewestDocument, Calls::Fewest);
  const uint64_t fewestCalls = mqhost::HostCallCount() - before;

  std::vector<Float3> positions = grid.positions;
  MQMatrix frame = IdentityMatrix();
  const int32_t arrayResult = c.array(ArrayScene{grid, selection, positions, frame});

  const mqhost::Matrix16 pluginFrame = mqhost::FrameOf(pluginDocument, 0);
  const auto& pluginVertices = mqhost::VerticesOf(pluginDocument, 0);
  std::string problem;
  if (pluginResult != 1 || protocolResult != 1 || fewestResult != 1 || arrayResult != 1) {
    problem = "results " + std::to_string(pluginResult) + "/" + std::to_string(protocolResult) + "/" +
              std::to_string(fewestResult) + "/" + std::to_string(arrayResult);
  } else if (pluginCalls != protocolCalls) {
    problem = "host calls " + std::to_string(pluginCalls) + " (plug-in) vs " + std::to_string(protocolCalls);
  } else if (fewestCalls > pluginCalls) {
    problem = "the fewest calls are " + std::to_string(fewestCalls) + ", more than the plug-in's";
  } else if (!SameFrame(pluginFrame, mqhost::FrameOf(protocolDocument, 0).data())) {
    problem = "protocol floor's frame differs";
  } else if (!SamePositions(pluginVertices, mqhost::VerticesOf(protocolDocument, 0))) {
    problem = "protocol floor's vertices differ";
  } else if (!SameFrame(pluginFrame, mqhost::FrameOf(fewestDocument, 0).data())) {
    problem = "fewest-calls floor's frame differs";
  } else if (!SamePositions(pluginVertices, mqhost::VerticesOf(fewestDocument, 0))) {
    problem = "fewest-calls floor's vertices differ";
  } else if (!SameFrame(pluginFrame, frame.m)) {
    problem = "array floor's frame differs";
  } else if (!SamePositions(pluginVertices, positions)) {
    problem = "array floor's vertices differ";
  } else if (!mqhost::ProtocolErrors().empty()) {
    problem = "protocol error: " + mqhost::ProtocolErrors().front();
  }
  mqhost::DestroyDocument(pluginDocument);
  mqhost::DestroyDocument(protocolDocument);
  mqhost::DestroyDocument(fewestDocument);
  std::printf("%-22s %s %s(%llu host calls, fewest %llu)\n", c.name.c_str(),
              problem.empty() ? "ok  " : "FAIL", problem.empty() ? "" : (problem + " ").c_str(),
              static_cast<unsigned long long>(pluginCalls), static_cast<unsigned long long>(fewestCalls));
  return problem.empty();
}

int Verify() {
  // Two shapes: a square grid and a long one, where the last face is far
  // from the last vertex in index order.
  bool ok = true;
  for (const GridArrays& grid : {MakeGrid(20, 20), MakeGrid(40, 7)}) {
    for (const Case& c : Cases()) ok = VerifyCase(c, grid) && ok;
  }
  ok = VerifyCopyToSelected() && ok;
  ok = VerifyButtonStates() && ok;
  std::printf("%s\n", ok ? "every floor agrees with the plug-in" : "some floors disagree");
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  if (!tervolin::BindHostFromFile(mqhost::LibraryPath().c_str())) {
    std::fprintf(stderr, "cannot bind the replacement host at %s\n", mqhost::LibraryPath().c_str());
    return 2;
  }
  if (argc == 2 && std::strcmp(argv[1], "--verify") == 0) return bench::Verify();

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  bench::ReleaseScenes();
  return 0;
}
