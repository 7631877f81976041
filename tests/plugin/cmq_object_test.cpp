// The object wrapper against the replacement host: the factories and their
// validity, names, face points, edges, normals and line selection, and the
// wide form of names. The shared vertex and face views and their walks are
// object_views_test.cpp's.
#include "geometry/cmq_object.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "geometry_scene.hpp"

namespace {

using cmq::CMQObject;
using geometry_test::MixedObject;
using geometry_test::ObjectData;

class CMQObjectTest : public geometry_test::GeometryScene {};

TEST_F(CMQObjectTest, FactoriesNameTheObjectTheHostHands) {
  const int32_t first = Add(MixedObject());
  ObjectData second = MixedObject();
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
  Add(MixedObject());
  Add(MixedObject());
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
  mqhost::AddObject(other, MixedObject());
  const CMQObject foreign(mqhost::ObjectHandleAt(other, 0), document);
  EXPECT_FALSE(foreign.IsValid());
  mqhost::DestroyDocument(other);
  mqhost::SetActiveDocument(document);
}

void FillWithoutTerminator(ObjectHandle, char* buffer, int size) {
  std::memset(buffer, 'n', static_cast<size_t>(size));
}

TEST_F(CMQObjectTest, NamesComeBackWholeOrEmptyAndNeverRunPastTheBuffer) {
  ObjectData named = MixedObject();
  named.name = "Body \xC3\xA9";
  Add(named);
  ObjectData unnamed = MixedObject();
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
