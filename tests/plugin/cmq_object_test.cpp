// The object wrappers against the replacement host: the factories and their
// validity, names, face points, edges and normals, the walks over live
// vertices and faces, selection tests, and the wide form of names.
#include "geometry/cmq_object.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "geometry_scene.hpp"

namespace {

using cmq::CMQObject;
using geometry_test::ObjectData;

// Vertices 0..5; vertex 4 is used by no face. Face 0 is a square 0-1-2-3,
// face 1 has no points, face 2 is the triangle 1-5-2, face 3 the single
// point 3 and face 4 the two points 0-5.
ObjectData Mixed() {
  ObjectData object;
  object.name = "mixed";
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {9, 9, 9}, {2, 0, 0}};
  object.faces = {{0, 1, 2, 3}, {}, {1, 5, 2}, {3}, {0, 5}};
  return object;
}

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

class CMQObjectTest : public geometry_test::GeometryScene {};

TEST_F(CMQObjectTest, FactoriesNameTheObjectTheHostHands) {
  const int32_t first = Add(Mixed());
  ObjectData second = Mixed();
  second.name = "second";
  second.uniqueId = 77;
  const int32_t secondIndex = Add(second);
  mqhost::SetCurrentObjectIndex(document, secondIndex);

  const CMQObject current = CMQObject::Current(document);
  EXPECT_EQ(current.Object(), mqhost::ObjectHandleAt(document, secondIndex));
  EXPECT_EQ(current.Document(), document);
  EXPECT_TRUE(current.IsValid());
  EXPECT_EQ(current.DocumentIndex(), secondIndex);

  const CMQObject byIndex = CMQObject::ByIndex(document, first);
  EXPECT_EQ(byIndex.Object(), mqhost::ObjectHandleAt(document, first));
  EXPECT_TRUE(byIndex.IsValid());

  const CMQObject byId = CMQObject::ByUniqueID(document, 77);
  EXPECT_EQ(byId.Object(), current.Object());

  // A copy names the same object, and outlives the wrapper it came from.
  CMQObject copy;
  {
    const CMQObject scoped = CMQObject::ByIndex(document, first);
    copy = scoped;
  }
  EXPECT_EQ(copy.Object(), byIndex.Object());
  EXPECT_EQ(copy.Document(), document);
  EXPECT_TRUE(copy.IsValid());
}

TEST_F(CMQObjectTest, WrappersOfNothingAreNotValid) {
  Add(Mixed());
  Add(Mixed());
  EXPECT_FALSE(CMQObject::ByUniqueID(document, 123456).IsValid());
  EXPECT_EQ(CMQObject::ByUniqueID(document, 123456).Object(), nullptr);
  EXPECT_FALSE(CMQObject().IsValid());
  EXPECT_FALSE(CMQObject::Current(nullptr).IsValid());

  mqhost::SetCurrentObjectIndex(document, -1);
  EXPECT_FALSE(CMQObject::Current(document).IsValid());

  mqhost::DeleteObject(document, 1);
  EXPECT_FALSE(CMQObject::ByIndex(document, 1).IsValid()) << "an empty slot";
  ExpectNoProtocolErrors();

  // An object of another document is not in this one.
  DocumentHandle other = mqhost::CreateDocument();
  mqhost::AddObject(other, Mixed());
  const CMQObject foreign(mqhost::ObjectHandleAt(other, 0), document);
  EXPECT_FALSE(foreign.IsValid());
  mqhost::DestroyDocument(other);
  mqhost::SetActiveDocument(document);
}

void FillWithoutTerminator(ObjectHandle, char* buffer, int size) {
  std::memset(buffer, 'n', static_cast<size_t>(size));
}

TEST_F(CMQObjectTest, NamesComeBackWholeOrEmptyAndNeverRunPastTheBuffer) {
  ObjectData named = Mixed();
  named.name = "Body \xC3\xA9";
  Add(named);
  ObjectData unnamed = Mixed();
  unnamed.name = "";
  const int32_t second = Add(unnamed);
  EXPECT_EQ(CMQObject::ByIndex(document, 0).GetName(), "Body \xC3\xA9");
  EXPECT_EQ(CMQObject::ByIndex(document, second).GetName(), "");

  // A host that fills the whole buffer and leaves no terminator: the name is
  // read without running past it.
  const CMQObject object = CMQObject::ByIndex(document, 0);
  auto saved = tervolin::HostApi().MQObj_GetName;
  tervolin::HostApi().MQObj_GetName = FillWithoutTerminator;
  const std::string name = object.GetName();
  tervolin::HostApi().MQObj_GetName = saved;
  EXPECT_EQ(name, std::string(250, 'n'));
}

TEST_F(CMQObjectTest, VertexWalkVisitsLiveVerticesInOrder) {
  ObjectData object = Mixed();
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
TEST_F(CMQObjectTest, WalksSkipOrphansAndEmptyFaces) {
  ObjectData ends;
  ends.vertices = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
  ends.faces = {{2, 1, 3}};
  ObjectData orphans;
  orphans.vertices = {{1, 2, 3}, {4, 5, 6}};
  orphans.faces = {{}, {}};
  const int32_t endsIndex = Add(ends);
  const int32_t mixed = Add(Mixed());
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

TEST_F(CMQObjectTest, EveryDereferenceMakesItsOwnSnapshot) {
  Add(Mixed());
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

TEST_F(CMQObjectTest, SelectionIsAskedForTheObjectsOwnIndex) {
  Add(Mixed());  // index 0: nothing selected
  ObjectData object = Mixed();
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

TEST_F(CMQObjectTest, FacePointsComeInOrderAndEdgesRunFromPointKAndCloseTheFace) {
  ObjectData object;
  object.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}, {6, 6, 6}, {7, 7, 7}};
  object.faces = {{6, 4, 5, 0}, {3}, {}};
  Add(object);
  const CMQObject wrapper = CMQObject::ByIndex(document, 0);
  EXPECT_EQ(wrapper.GetFacePoints(0), (std::vector<int32_t>{6, 4, 5, 0}));
  EXPECT_TRUE(wrapper.GetFacePoints(2).empty());
  using Edge = std::pair<int32_t, int32_t>;
  EXPECT_EQ(wrapper.GetFaceEdge(0, 0), Edge(6, 4));
  EXPECT_EQ(wrapper.GetFaceEdge(0, 1), Edge(4, 5));
  EXPECT_EQ(wrapper.GetFaceEdge(0, 3), Edge(0, 6));
  EXPECT_EQ(wrapper.GetFaceEdge(0, -1), Edge(0, 6));
  EXPECT_EQ(wrapper.GetFaceEdge(0, 4), Edge(6, 4)) << "edge numbers wrap around";
  EXPECT_EQ(wrapper.GetFaceEdge(0, -6), Edge(5, 0)) << "far negative numbers too";
  for (int32_t k = -2; k <= 2; ++k) EXPECT_EQ(wrapper.GetFaceEdge(1, k), Edge(3, 3)) << k;
  EXPECT_EQ(wrapper.GetFaceEdge(2, 0), Edge(-1, -1)) << "a face without points has no edge";
}

TEST_F(CMQObjectTest, FaceNormalsFollowTheFirstAndClosingEdges) {
  ObjectData object;
  // P, Q, R of a triangle; a planar quad; a skew quad.
  object.vertices = {{1, 0, 0}, {3, 1, 0}, {0, 2, 1},              // 0..2
                     {0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0},   // 3..6
                     {0, 0, 0}, {1, 0, 1}, {1, 1, 0}, {0, 1, 2}};  // 7..10
  object.faces = {{0, 1, 2}, {3, 4, 5, 6}, {7, 8, 9, 10}, {0, 1}, {2}};
  Add(object);
  const CMQObject wrapper = CMQObject::ByIndex(document, 0);

  // (Q - P) × (P - R) = (2, 1, 0) × (1, -2, -1).
  const Float3 triangle = wrapper.GetFaceNormal(0);
  EXPECT_FLOAT_EQ(triangle.x, -1);
  EXPECT_FLOAT_EQ(triangle.y, 2);
  EXPECT_FLOAT_EQ(triangle.z, -5);
  // (P1 - P0) × ((P0 - P3) + (P1 - P2)) / 2 = (2, 0, 0) × (0, -3, 0).
  const Float3 quad = wrapper.GetFaceNormal(1);
  EXPECT_FLOAT_EQ(quad.x, 0);
  EXPECT_FLOAT_EQ(quad.y, 0);
  EXPECT_FLOAT_EQ(quad.z, -6);
  // (1, 0, 1) × ((0, -1, -2) + (0, -1, 1)) / 2 = (1, 0, 1) × (0, -1, -0.5).
  const Float3 skew = wrapper.GetFaceNormal(2);
  EXPECT_FLOAT_EQ(skew.x, 1);
  EXPECT_FLOAT_EQ(skew.y, 0.5f);
  EXPECT_FLOAT_EQ(skew.z, -1);

  for (int32_t face : {3, 4}) {  // two points, one point
    const Float3 none = wrapper.GetFaceNormal(face);
    EXPECT_TRUE(none.x == 0.0f && none.y == 0.0f && none.z == 0.0f) << face;
  }
}

// ToWide converts under whatever character-type locale is set; each case sets
// its own and puts the previous one back.
class ToWideTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = std::setlocale(LC_CTYPE, nullptr); }
  void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST_F(ToWideTest, PlainAndEmptyNames) {
  std::setlocale(LC_CTYPE, "C");
  EXPECT_EQ(cmq::ToWide("Cube.01"), u"Cube.01");
  EXPECT_EQ(cmq::ToWide(""), u"");
}

#ifdef _WIN32
TEST_F(ToWideTest, ConvertsFromTheAnsiCodePage) {
  ASSERT_NE(std::setlocale(LC_CTYPE, ".1252"), nullptr);
  EXPECT_EQ(cmq::ToWide("Caf\xE9 \x80"), u"Caf\u00E9 \u20AC");
}
#else
TEST_F(ToWideTest, ConvertsUtf8IncludingCharactersBeyondTheBasicPlane) {
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  EXPECT_EQ(cmq::ToWide("Caf\xC3\xA9 \xE2\x82\xAC"), u"Caf\u00E9 \u20AC");
  EXPECT_EQ(cmq::ToWide("\xF0\x9F\x99\x82"), u"\U0001F642");
}

TEST_F(ToWideTest, TextThatDoesNotConvertReadsInvalid) {
  if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  EXPECT_EQ(cmq::ToWide("ab\xC3"), u"invalid");
  EXPECT_EQ(cmq::ToWide("\xFF name"), u"invalid");
}
#endif

}  // namespace
