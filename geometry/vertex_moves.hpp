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

  // The plan is kept in blocks of a fixed size, not in one array as large as
  // the object: a heap serves such blocks from memory it already holds, where
  // one array of many megabytes is mapped fresh and faults in page by page
  // (Windows heaps hand every large block to the system this way).
  static constexpr size_t kMovesPerBlock = 4096;
  using PlannedMove = std::pair<int32_t, Float3>;

  ObjectHandle object_ = nullptr;
  std::vector<std::vector<PlannedMove>> blocks_;
};

}  // namespace cmq
