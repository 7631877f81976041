// Code 7, copy to selected objects: the current object's frame to 100 other
// selected objects of 10k vertices each (1M vertices moved in all), with the
// vertices moved along. Its scene is a document of many objects, so it has a
// registration and a check of its own.
#include "bench/copy_case.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "bench/allocation_count.hpp"
#include "bench/floors.hpp"
#include "geometry/cmq_object.hpp"
#include "mqhost/call_count.hpp"
#include "mqhost/document.hpp"
#include "mqhost/error_log.hpp"
#include "operations/operations.hpp"

namespace bench {

namespace {

constexpr int32_t kTargets = 100;
constexpr int32_t kSide = 100;  // 10k vertices per object

// Turned 30 degrees about Y, scaled by 2, moved to (1, 2, 3).
MQMatrix SourceFrame() {
  const float c = 2.0f * std::cos(0.5235988f);
  const float s = 2.0f * std::sin(0.5235988f);
  return {{c, 0.0f, -s, 0.0f, 0.0f, 2.0f, 0.0f, 0.0f, s, 0.0f, c, 0.0f, 1.0f, 2.0f, 3.0f, 1.0f}};
}

// The source as object 0 (current, not selected), then `targets` selected
// copies of the grid with the identity frame.
DocumentHandle MakeCopyDocument(const GridArrays& grid, int32_t targets) {
  DocumentHandle document = MakeGridDocument(grid, MakeSelection(grid, Selection::None));
  mqhost::Matrix16 source{};
  const MQMatrix frame = SourceFrame();
  for (size_t k = 0; k < 16; ++k) source[k] = frame.m[k];
  mqhost::SetFrame(document, 0, source);
  mqhost::ObjectData target = mqhost::GetObject(document, 0);
  target.uniqueId = 0;
  target.frame = mqhost::IdentityMatrix();
  target.selected = true;
  for (int32_t t = 0; t < targets; ++t) mqhost::AddObject(document, target);
  return document;
}

void Configure(tervolin::Options& options) {
  options.transformVertices = true;
  options.referenceObjectId = tervolin::kCurrentObjectReference;
  options.copyRotation = true;
  options.copyScale = true;
  options.copyTranslation = true;
}

struct CopyScene {
  GridArrays grid = MakeGrid(kSide, kSide);
  DocumentHandle document = nullptr;
  std::vector<std::vector<Float3>> positions;
  std::vector<MQMatrix> frames;
};

CopyScene& Scene() {
  static CopyScene scene;
  return scene;
}

enum class Path { Array, Protocol, Fewest, Plugin };

void Run(benchmark::State& state, Path path) {
  ReleaseScenes();
  CopyScene& scene = Scene();
  if (path != Path::Array && scene.document == nullptr)
    scene.document = MakeCopyDocument(scene.grid, kTargets);
  if (path == Path::Array && scene.positions.empty()) {
    scene.positions.assign(kTargets, scene.grid.positions);
    scene.frames.assign(kTargets, IdentityMatrix());
  }
  tervolin::Options options;
  Configure(options);
  mqhost::ClearProtocolErrors();
  const uint64_t callsBefore = mqhost::HostCallCount();
  uint64_t allocations = 0;
  for (auto _ : state) {
    const uint64_t allocationsBefore = AllocationCount();
    int32_t result = 0;
    switch (path) {
      case Path::Array:
        result = ArrayCopyToSelected(scene.grid, SourceFrame(), scene.positions, scene.frames);
        break;
      case Path::Protocol: result = ProtocolCopyToSelected(scene.document, Calls::PlugIn); break;
      case Path::Fewest: result = ProtocolCopyToSelected(scene.document, Calls::Fewest); break;
      case Path::Plugin: {
        cmq::CMQObject current = cmq::CMQObject::Current(scene.document);
        result = tervolin::CopyToSelected(scene.document, current, options);
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
    state.counters["units"] = static_cast<double>(kTargets) * scene.grid.VertexCount();
    state.counters["per_face"] = 0;
    state.counters["calls"] = static_cast<double>(mqhost::HostCallCount() - callsBefore) / runs;
    state.counters["allocs"] = static_cast<double>(allocations) / runs;
  }
  if (!mqhost::ProtocolErrors().empty()) state.SkipWithError(mqhost::ProtocolErrors().front().c_str());
}

bool Near(float a, float b) { return std::fabs(a - b) <= 1e-4f * (1.0f + std::fabs(a)); }

}  // namespace

void RegisterCopyToSelected(int64_t iterations) {
  const std::pair<const char*, Path> paths[] = {{"array", Path::Array},
                                                {"fewest", Path::Fewest},
                                                {"protocol", Path::Protocol},
                                                {"plugin", Path::Plugin}};
  for (const auto& [name, path] : paths) {
    const std::string full = std::string("code7_copy100x10k_T/") + name + "/1M";
    benchmark::RegisterBenchmark(full.c_str(), [path = path](benchmark::State& state) { Run(state, path); })
        ->Iterations(iterations)
        ->Unit(benchmark::kMicrosecond);
  }
}

bool VerifyCopyToSelected() {
  const GridArrays grid = MakeGrid(12, 9);
  constexpr int32_t kFew = 4;
  DocumentHandle pluginDocument = MakeCopyDocument(grid, kFew);
  DocumentHandle protocolDocument = MakeCopyDocument(grid, kFew);
  DocumentHandle fewestDocument = MakeCopyDocument(grid, kFew);
  mqhost::ClearProtocolErrors();

  tervolin::Options options;
  Configure(options);
  uint64_t before = mqhost::HostCallCount();
  cmq::CMQObject current = cmq::CMQObject::Current(pluginDocument);
  const int32_t pluginResult = tervolin::CopyToSelected(pluginDocument, current, options);
  const uint64_t pluginCalls = mqhost::HostCallCount() - before;
  before = mqhost::HostCallCount();
  const int32_t protocolResult = ProtocolCopyToSelected(protocolDocument, Calls::PlugIn);
  const uint64_t protocolCalls = mqhost::HostCallCount() - before;
  const int32_t fewestResult = ProtocolCopyToSelected(fewestDocument, Calls::Fewest);
  std::vector<std::vector<Float3>> positions(kFew, grid.positions);
  std::vector<MQMatrix> frames(kFew, IdentityMatrix());
  const int32_t arrayResult = ArrayCopyToSelected(grid, SourceFrame(), positions, frames);

  std::string problem;
  if (pluginResult != 1 || protocolResult != 1 || fewestResult != 1 || arrayResult != 1)
    problem = "a path did nothing";
  if (problem.empty() && pluginCalls != protocolCalls) {
    problem = "host calls " + std::to_string(pluginCalls) + " (plug-in) vs " + std::to_string(protocolCalls);
  }
  for (int32_t t = 1; problem.empty() && t <= kFew; ++t) {
    const mqhost::Matrix16 a = mqhost::FrameOf(pluginDocument, t);
    const mqhost::Matrix16 b = mqhost::FrameOf(protocolDocument, t);
    const mqhost::Matrix16 d = mqhost::FrameOf(fewestDocument, t);
    const MQMatrix& c = frames[static_cast<size_t>(t - 1)];
    for (size_t k = 0; k < 16; ++k) {
      if (!Near(a[k], b[k]) || !Near(a[k], c.m[k]) || !Near(a[k], d[k])) problem = "frames differ";
    }
    const auto& pa = mqhost::VerticesOf(pluginDocument, t);
    const auto& pb = mqhost::VerticesOf(protocolDocument, t);
    const auto& pd = mqhost::VerticesOf(fewestDocument, t);
    const auto& pc = positions[static_cast<size_t>(t - 1)];
    for (size_t i = 0; i < pa.size(); ++i) {
      if (!Near(pa[i].x, pb[i].x) || !Near(pa[i].y, pb[i].y) || !Near(pa[i].z, pb[i].z) ||
          !Near(pa[i].x, pc[i].x) || !Near(pa[i].y, pc[i].y) || !Near(pa[i].z, pc[i].z) ||
          !Near(pa[i].x, pd[i].x) || !Near(pa[i].y, pd[i].y) || !Near(pa[i].z, pd[i].z)) {
        problem = "vertices differ";
      }
    }
  }
  if (problem.empty() && !mqhost::ProtocolErrors().empty()) problem = mqhost::ProtocolErrors().front();
  mqhost::DestroyDocument(pluginDocument);
  mqhost::DestroyDocument(protocolDocument);
  mqhost::DestroyDocument(fewestDocument);
  std::printf("%-22s %s %s(%llu host calls)\n", "code7_copy_T", problem.empty() ? "ok  " : "FAIL",
              problem.empty() ? "" : (problem + " ").c_str(), static_cast<unsigned long long>(pluginCalls));
  return problem.empty();
}

}  // namespace bench
