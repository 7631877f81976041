#include "grid_scene.hpp"

#include <cmath>

#include "mqhost/document.hpp"

namespace bench {

const std::vector<GridSize>& GridSizes() {
  static const std::vector<GridSize> sizes = {
      {"10k", 100, 100}, {"100k", 400, 250}, {"1M", 1000, 1000}, {"4M", 2000, 2000}};
  return sizes;
}

GridArrays MakeGrid(int32_t width, int32_t height) {
  GridArrays grid;
  grid.width = width;
  grid.height = height;
  const auto vertexCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  grid.positions.reserve(vertexCount);
  // Centred on the origin, whose middle column and row lie at 0.
  const int32_t middleColumn = width / 2;
  const int32_t middleRow = height / 2;
  for (int32_t row = 0; row < height; ++row) {
    for (int32_t column = 0; column < width; ++column) {
      // A gently waved sheet, so that no coordinate is constant.
      const float x = 0.01f * static_cast<float>(column - middleColumn);
      const float z = 0.01f * static_cast<float>(row - middleRow);
      grid.positions.push_back({x, 0.05f * std::sin(3.0f * x) * std::cos(2.0f * z), z});
    }
  }
  grid.refCounts.assign(vertexCount, 0);
  const auto faceCount = static_cast<size_t>(width - 1) * static_cast<size_t>(height - 1);
  grid.faceStart.reserve(faceCount + 1);
  grid.facePoints.reserve(4 * faceCount);
  grid.faceStart.push_back(0);
  for (int32_t row = 0; row + 1 < height; ++row) {
    for (int32_t column = 0; column + 1 < width; ++column) {
      const int32_t corner = row * width + column;
      for (const int32_t v : {corner, corner + 1, corner + width + 1, corner + width}) {
        grid.facePoints.push_back(v);
        ++grid.refCounts[static_cast<size_t>(v)];
      }
      grid.faceStart.push_back(static_cast<uint32_t>(grid.facePoints.size()));
    }
  }
  return grid;
}

SelectionArrays MakeSelection(const GridArrays& grid, Selection selection) {
  SelectionArrays s;
  const auto vertexCount = static_cast<size_t>(grid.VertexCount());
  const auto faceCount = static_cast<size_t>(grid.FaceCount());
  s.vertices.assign(vertexCount, 0);
  s.faces.assign(faceCount, 0);
  s.lines.assign(grid.facePoints.size(), 0);
  auto selectLastVertices = [&s, vertexCount](size_t count) {
    for (size_t k = 0; k < count; ++k) s.vertices[vertexCount - 1 - k] = 1;
  };
  switch (selection) {
    case Selection::Half:
      for (size_t v = vertexCount / 2; v < vertexCount; ++v) s.vertices[v] = 1;
      for (size_t f = faceCount / 2; f < faceCount; ++f) {
        s.faces[f] = 1;
        s.lines[grid.faceStart[f]] = 1;
      }
      break;
    case Selection::LastLine:
      // One selected vertex: too few for a pair, so the walk goes on to the
      // lines, where the last edge of the last face is the selected one.
      selectLastVertices(1);
      s.lines[grid.faceStart[faceCount] - 1] = 1;
      break;
    case Selection::LastTwoVertices: selectLastVertices(2); break;
    case Selection::LastFace: s.faces[faceCount - 1] = 1; break;
    case Selection::LastThreeVertices: selectLastVertices(3); break;
    case Selection::LastVertex: selectLastVertices(1); break;
    case Selection::None: break;
  }
  return s;
}

DocumentHandle MakeGridDocument(const GridArrays& grid, const SelectionArrays& selection) {
  mqhost::ObjectData object;
  object.name = "grid";
  object.vertices.reserve(grid.positions.size());
  for (const Float3& p : grid.positions) object.vertices.push_back({p.x, p.y, p.z});
  object.faces.resize(static_cast<size_t>(grid.FaceCount()));
  for (size_t f = 0; f < object.faces.size(); ++f) {
    object.faces[f].assign(grid.facePoints.begin() + grid.faceStart[f],
                           grid.facePoints.begin() + grid.faceStart[f + 1]);
  }
  for (size_t v = 0; v < selection.vertices.size(); ++v) {
    if (selection.vertices[v] != 0) object.selectedVertices.push_back(static_cast<int32_t>(v));
  }
  for (size_t f = 0; f < selection.faces.size(); ++f) {
    if (selection.faces[f] != 0) object.selectedFaces.push_back(static_cast<int32_t>(f));
    for (uint32_t p = grid.faceStart[f]; p < grid.faceStart[f + 1]; ++p) {
      if (selection.lines[p] != 0) {
        object.selectedLines.emplace_back(static_cast<int32_t>(f),
                                          static_cast<int32_t>(p - grid.faceStart[f]));
      }
    }
  }
  DocumentHandle document = mqhost::CreateDocument();
  const int32_t index = mqhost::AddObject(document, object);
  mqhost::SetCurrentObjectIndex(document, index);
  return document;
}

namespace {

std::unique_ptr<SceneSet>& CurrentSet() {
  static std::unique_ptr<SceneSet> set;
  return set;
}

}  // namespace

void ReleaseScenes() {
  std::unique_ptr<SceneSet>& set = CurrentSet();
  if (set == nullptr) return;
  for (DocumentHandle document : set->documents) {
    if (document != nullptr) mqhost::DestroyDocument(document);
  }
  set.reset();
}

SceneSet& Scenes(const GridSize& size) {
  std::unique_ptr<SceneSet>& set = CurrentSet();
  if (set != nullptr && set->size.width == size.width && set->size.height == size.height) return *set;
  ReleaseScenes();
  set = std::make_unique<SceneSet>();
  set->size = size;
  set->grid = MakeGrid(size.width, size.height);
  set->workPositions = set->grid.positions;
  return *set;
}

const SelectionArrays& SelectionOf(SceneSet& scenes, Selection selection) {
  auto& slot = scenes.selections[static_cast<int>(selection)];
  if (slot == nullptr) slot = std::make_unique<SelectionArrays>(MakeSelection(scenes.grid, selection));
  return *slot;
}

DocumentHandle DocumentOf(SceneSet& scenes, Selection selection) {
  DocumentHandle& slot = scenes.documents[static_cast<int>(selection)];
  if (slot == nullptr) slot = MakeGridDocument(scenes.grid, SelectionOf(scenes, selection));
  return slot;
}

}  // namespace bench
