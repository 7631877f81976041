// The shared vertex and face views and the walks over live vertices and
// faces, against the replacement host. They serve plug-ins that walk an
// object view by view; this object plug-in's operations and dialog read
// through cmq::ObjectView and do not reach them.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "geometry/cmq_object.hpp"
#include "geometry_scene.hpp"

namespace {

using cmq::CMQObject;
using geometry_test::MixedObject;
using geometry_test::ObjectData;

std::vector<int32_t> WalkVertices(const CMQObject& object) {
  std::vector<int32_t> visited;
  for (const auto& vertex : object.Vertices()) visited.push_back(vertex->index);
  return visited;
}

std::vector<int32_t> WalkFaces(const CMQObject& object) {
  std::vector<int32_t> visited;
  for (const auto& face : object.Faces()) visited.push_back(face->index);
  return visited;
}

class ObjectViews : public geometry_test::GeometryScene {};

TEST_F(ObjectViews, VertexWalkVisitsLiveVerticesInOrder) {
  ObjectData object = MixedObject();
  object.selectedVertices = {4};  // selected but used by no face
  Add(object);
  const CMQObject wrapper = CMQObject::ByIndex(document, 0);
  EXPECT_EQ(WalkVertices(wrapper), (std::vector<int32_t>{0, 1, 2, 3, 5}));

  std::vector<std::shared_ptr<cmq::CMQVertex>> views;
  for (const auto& vertex : wrapper.Vertices()) views.push_back(vertex);
  ASSERT_EQ(views.size(), 5u);
  EXPECT_EQ(views[4]->index, 5);
  EXPECT_EQ(views[4]->owner, &wrapper);
  EXPECT_EQ(views[4]->position.x, 2.0f);
  for (const auto& view : views) EXPECT_FALSE(view->IsSelected()) << view->index;
}

// Orphans at either end and faces without points are skipped; an object with
// nothing live visits nothing.
TEST_F(ObjectViews, WalksSkipOrphansAndEmptyFaces) {
  ObjectData ends;
  ends.vertices = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
  ends.faces = {{2, 1, 3}};
  ObjectData orphans;
  orphans.vertices = {{1, 2, 3}, {4, 5, 6}};
  orphans.faces = {{}, {}};
  const int32_t endsIndex = Add(ends);
  const int32_t mixed = Add(MixedObject());
  const int32_t empty = Add(ObjectData{});
  const int32_t unused = Add(orphans);
  EXPECT_EQ(WalkVertices(CMQObject::ByIndex(document, endsIndex)), (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(WalkFaces(CMQObject::ByIndex(document, mixed)), (std::vector<int32_t>{0, 2, 3, 4}));
  const CMQObject object = CMQObject::ByIndex(document, empty);
  EXPECT_TRUE(object.Vertices().begin() == object.Vertices().end());
  EXPECT_TRUE(object.Faces().begin() == object.Faces().end());
  EXPECT_TRUE(WalkVertices(CMQObject::ByIndex(document, unused)).empty());
  EXPECT_TRUE(WalkFaces(CMQObject::ByIndex(document, unused)).empty());
}

TEST_F(ObjectViews, EveryDereferenceMakesItsOwnSnapshot) {
  Add(MixedObject());
  const CMQObject object = CMQObject::ByIndex(document, 0);
  auto it = object.Vertices().begin();
  auto first = *it;
  auto second = *it;
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(first.use_count(), 1);
  object.SetVertex(0, {5, 6, 7});
  EXPECT_EQ(first->position.x, 0.0f) << "a view keeps what it read";
  EXPECT_EQ((*it)->position.x, 5.0f);

  // Views outlive many others made and dropped in between.
  std::vector<std::shared_ptr<cmq::CMQFace>> kept;
  for (int round = 0; round < 200; ++round) {
    for (const auto& face : object.Faces()) {
      if (round % 50 == 0) kept.push_back(face);
    }
  }
  ASSERT_EQ(kept.size(), 16u);
  EXPECT_EQ(kept[0]->index, 0);
  EXPECT_EQ(kept[15]->index, 4);
  EXPECT_EQ(kept[15]->GetPointCount(), 2);
}

TEST_F(ObjectViews, SelectionIsAskedForTheObjectsOwnIndex) {
  Add(MixedObject());  // index 0: nothing selected
  ObjectData object = MixedObject();
  object.selectedVertices = {2, 5};
  object.selectedFaces = {2};
  object.selectedLines = {{0, 3}};
  const int32_t index = Add(object);
  const CMQObject wrapper = CMQObject::ByIndex(document, index);

  std::vector<int32_t> selectedVertices;
  for (const auto& vertex : wrapper.Vertices()) {
    if (vertex->IsSelected()) selectedVertices.push_back(vertex->index);
  }
  EXPECT_EQ(selectedVertices, (std::vector<int32_t>{2, 5}));
  std::vector<int32_t> selectedFaces;
  for (const auto& face : wrapper.Faces()) {
    if (face->IsSelected()) selectedFaces.push_back(face->index);
  }
  EXPECT_EQ(selectedFaces, (std::vector<int32_t>{2}));
  EXPECT_TRUE(wrapper.IsLineSelected(0, 3));
  EXPECT_FALSE(wrapper.IsLineSelected(0, 2));
  EXPECT_FALSE(CMQObject::ByIndex(document, 0).IsLineSelected(0, 3));
}

}  // namespace
