#include "geometry/vertex_moves.hpp"

#include "binding/host_api.hpp"

namespace cmq {

template <typename Move>
bool VertexMoves::Plan(const ObjectView& object, Move move) {
  object_ = object.Object();
  blocks_.clear();
  // The walk reads the count first; asking it here reads nothing more.
  const int32_t count = object.VertexCount();
  blocks_.reserve(count > 0 ? static_cast<size_t>(count) / kMovesPerBlock + 1 : 0);
  bool finite = true;
  // The first move out of the float range refuses them all: the walk stops.
  object.ForEachLiveVertex([&](int32_t vertex) {
    const Float3 moved = move(object.GetVertex(vertex));
    finite = IsFinite(moved);
    if (blocks_.empty() || blocks_.back().size() == kMovesPerBlock) {
      blocks_.emplace_back();
      blocks_.back().reserve(kMovesPerBlock);
    }
    blocks_.back().emplace_back(vertex, moved);
    return finite;
  });
  if (!finite) blocks_.clear();
  return finite;
}

bool VertexMoves::PlanOffset(const ObjectView& object, const Float3& offset) {
  return Plan(object, [&offset](const Float3& p) { return p + offset; });
}

bool VertexMoves::PlanTransform(const ObjectView& object, const MQMatrix& motion) {
  return Plan(object, [&motion](const Float3& p) { return TransformPoint(p, motion); });
}

void VertexMoves::Apply() const {
  auto* const setVertex = tervolin::HostApi().MQObj_SetVertex;
  for (const auto& block : blocks_) {
    for (const auto& [index, position] : block) setVertex(object_, index, &position.x);
  }
}

}  // namespace cmq
