// New positions for the live vertices of one object, all computed and checked
// before the first one is written: an operation whose move would put a vertex
// outside the float range then refuses it and leaves the object as it was.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/math.hpp"
#include "geometry/object_view.hpp"

namespace cmq {

class VertexMoves {
 public:
  // Reads every live vertex of `object` in ascending index and plans its move
  // to p + offset, or to TransformPoint(p, motion). False, with nothing
  // planned, when a new position would not be finite.
  bool PlanOffset(const ObjectView& object, const Float3& offset);
  bool PlanTransform(const ObjectView& object, const MQMatrix& motion);

  // Writes the planned positions, in the order they were planned.
  void Apply() const;

 private:
  template <typename Move>
  bool Plan(const ObjectView& object, Move move);

  ObjectHandle object_ = nullptr;
  std::vector<std::pair<int32_t, Float3>> moves_;
};

}  // namespace cmq
