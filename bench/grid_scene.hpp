// Benchmark scenes: quad grids of a given vertex count, held twice: as an
// object of a replacement-host document (what the plug-in and the protocol
// floor walk) and as plain arrays (what the array floor walks). Every variant
// of one size shares the grid and differs only in its selection, which is
// placed where the operation under test pays the most for it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "geometry/math.hpp"
#include "protocol/host_types.hpp"

namespace bench {

// Where the selection sits. Walks stop at their first match, so the single
// selections sit at the end of the walk; Half selects the upper half of the
// vertices and faces and edge 0 of every selected face.
enum class Selection { Half, LastLine, LastTwoVertices, LastFace, LastThreeVertices, LastVertex, None };
inline constexpr int kSelectionKinds = 7;

// The grid, as plain arrays. Face f is facePoints[faceStart[f], faceStart[f + 1]).
struct GridArrays {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<Float3> positions;
  std::vector<int32_t> refCounts;
  std::vector<uint32_t> faceStart;
  std::vector<int32_t> facePoints;

  int32_t VertexCount() const { return static_cast<int32_t>(positions.size()); }
  int32_t FaceCount() const { return static_cast<int32_t>(faceStart.size()) - 1; }
};

// One selection of a grid, as byte flags (lines: one per face point).
struct SelectionArrays {
  std::vector<uint8_t> vertices;
  std::vector<uint8_t> faces;
  std::vector<uint8_t> lines;
};

// Vertex counts of the benchmark sizes and their short names.
struct GridSize {
  const char* name;
  int32_t width;
  int32_t height;
};
const std::vector<GridSize>& GridSizes();

GridArrays MakeGrid(int32_t width, int32_t height);
SelectionArrays MakeSelection(const GridArrays& grid, Selection selection);

// A document holding one object: the grid with the selection, current
// object, identity frame.
DocumentHandle MakeGridDocument(const GridArrays& grid, const SelectionArrays& selection);

// The scenes of one size, built on first use. Asking for another size
// releases the previous one, so that only one size is in memory at a time.
struct SceneSet {
  GridSize size{};
  GridArrays grid;
  std::unique_ptr<SelectionArrays> selections[kSelectionKinds];
  DocumentHandle documents[kSelectionKinds] = {};
  // The array floor's own copy of the positions and frame, which it moves.
  std::vector<Float3> workPositions;
  MQMatrix workFrame = IdentityMatrix();
};
SceneSet& Scenes(const GridSize& size);
const SelectionArrays& SelectionOf(SceneSet& scenes, Selection selection);
DocumentHandle DocumentOf(SceneSet& scenes, Selection selection);
void ReleaseScenes();

}  // namespace bench
