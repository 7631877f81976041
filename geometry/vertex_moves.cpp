#include "geometry/vertex_moves.hpp"

namespace cmq {

template <typename Move>
bool VertexMoves::Plan(const CMQObject& object, Move move) {
  object_ = object;
  moves_.clear();
  for (VertexIterator it(object); it != IterationEnd{}; ++it) {
    const Float3 moved = move(object.GetVertex(it.Index()));
    if (!IsFinite(moved)) {
      moves_.clear();
      return false;
    }
    moves_.emplace_back(it.Index(), moved);
  }
  return true;
}

bool VertexMoves::PlanOffset(const CMQObject& object, const Float3& offset) {
  return Plan(object, [&offset](const Float3& p) { return p + offset; });
}

bool VertexMoves::PlanTransform(const CMQObject& object, const MQMatrix& motion) {
  return Plan(object, [&motion](const Float3& p) { return TransformPoint(p, motion); });
}

void VertexMoves::Apply() const {
  for (const auto& [index, position] : moves_) object_.SetVertex(index, position);
}

}  // namespace cmq
