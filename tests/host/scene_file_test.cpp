// Scene files: loading, the errors of malformed scenes (field and reason, no
// half-loaded document), saving atomically, and the round trip.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "mqhost/document.hpp"
#include "support/host_fixture.hpp"

namespace {

using mqhost::ObjectData;
using tervolin::HostApi;

const char* const kScene = R"({
  "version": 1,
  "cameraAngle": [30, -20, 5],
  "currentObject": "second",
  "objects": [
    {"name": "first", "uniqueId": 4, "vertices": [[0, 0, 0], [1, 0, 0], [1, 1, 0], [0, 1, 0], [5, 5, 5]],
     "faces": [[0, 1, 2, 3], [2, 1]], "selectedVertices": [4, 1], "selectedLines": [[0, 3]],
     "selectedFaces": [1], "selected": true,
     "frame": [0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0.5, 0.25, -3, 1]},
    null,
    {"name": "second", "vertices": [[0.1, 0.2, 0.3]], "faces": [[0], []]}
  ]
})";

class SceneFile : public host_testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    folder =
        std::filesystem::temp_directory_path() /
        ("tervolin_scene_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    for (DocumentHandle document : documents) mqhost::DestroyDocument(document);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    HostTest::TearDown();
  }
  DocumentHandle Parse(const std::string& text) {
    std::string error;
    DocumentHandle document = mqhost::ParseScene(text, &error);
    EXPECT_NE(document, nullptr) << error;
    if (document != nullptr) documents.push_back(document);
    return document;
  }
  // The error of a scene that must not load.
  std::string ErrorOf(const std::string& text) {
    std::string error;
    DocumentHandle document = mqhost::ParseScene(text, &error);
    EXPECT_EQ(document, nullptr);
    if (document != nullptr) documents.push_back(document);
    return error;
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }

  std::filesystem::path folder;
  std::vector<DocumentHandle> documents;
};

TEST_F(SceneFile, LoadsObjectsSlotsSelectionFrameAndCamera) {
  DocumentHandle document = Parse(kScene);
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(mqhost::ActiveDocument(), document);
  EXPECT_EQ(HostApi().MQDoc_GetObjectCount(document), 3);
  EXPECT_EQ(HostApi().MQDoc_GetObject(document, 1), nullptr);
  EXPECT_EQ(HostApi().MQDoc_GetCurrentObjectIndex(document), 2);
  float angle[3];
  HostApi().MQScene_FloatValue(HostApi().MQDoc_GetScene(document, 0), mq::kSceneCameraAngle, angle);
  EXPECT_EQ(angle[1], -20.0f);

  ObjectHandle first = HostApi().MQDoc_GetObjectFromUniqueID(document, 4);
  ASSERT_EQ(first, HostApi().MQDoc_GetObject(document, 0));
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(first, 4), 0);
  EXPECT_EQ(HostApi().MQObj_GetVertexRefCount(first, 2), 2);
  EXPECT_NE(HostApi().MQDoc_IsSelectLine(document, 0, 0, 3), 0);
  EXPECT_NE(HostApi().MQDoc_IsSelectVertex(document, 0, 4), 0);
  EXPECT_NE(HostApi().MQDoc_IsSelectFace(document, 0, 1), 0);
  EXPECT_NE(HostApi().MQObj_GetIntValue(first, mq::kObjectSelected), 0);
  float origin[3];
  HostApi().MQObj_GetFloatArray(first, mq::kLocalTranslation, origin);
  EXPECT_EQ(origin[2], -3.0f);

  ObjectHandle second = HostApi().MQDoc_GetObject(document, 2);
  EXPECT_NE(HostApi().MQObj_GetIntValue(second, mq::kObjectUniqueId), 4);
  EXPECT_EQ(HostApi().MQObj_GetFacePointCount(second, 1), 0);
  EXPECT_EQ(mqhost::FrameOf(document, 2), mqhost::IdentityMatrix());
}

// A scene that fails names the field and the reason, and leaves no document:
// the active one stays, and no object of the bad scene was placed in it.
TEST_F(SceneFile, MalformedScenesNameTheFieldAndTheReasonAndCreateNoDocument) {
  DocumentHandle before = Parse(R"({"objects": []})");
  const std::string vertices8 = "[[0,0,0],[0,0,0],[0,0,0],[0,0,0],[0,0,0],[0,0,0],[0,0,0],[0,0,0]]";
  const std::string cube =
      R"({"vertices": )" + vertices8 + R"(, "faces": [[0,1,2],[0,1,2],[0,1,2],[0,1,2],[0,1,2],)";
  std::string deepest = "objects[0].vertices";
  for (int depth = 3; depth < 64; ++depth) deepest += "[0]";
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {R"({"objects": [{"vertices": []}, null, )" + cube + "[0, 9]]}]}",
       "objects[2].faces[5][1]: vertex index 9 is out of range (object has 8 vertices)"},
      {R"({"objects": [{"vertices": [[0, 0]]}]})", "objects[0].vertices[0]: must hold 3 numbers, not 2"},
      {R"({"objects": [{"vertices": [[0, "a", 0]]}]})",
       "objects[0].vertices[0][1]: must be a number, not a string"},
      {R"({"objects": [{"vertices": [[0, 0, 1e39]]}]})",
       "objects[0].vertices[0][2]: number is outside the range"},
      {R"({"objects": [{"vertices": [[0, 0, -3.4028236e38]]}]})",  // rounds to -infinity
       "objects[0].vertices[0][2]: number is outside the range"},
      {R"({"objects": [{"vertices": [], "vertices": []}]})", "objects[0].vertices: this key is given twice"},
      {R"({"objects": [{"vertices": [[0, 0, {"a": 1, "a": 2}]]}]})",
       "objects[0].vertices[0][2].a: this key is given twice"},
      // Fields are checked in a fixed order, not in the order of the text;
      // and a file that is not JSON is refused as such, whatever comes first.
      {R"({"objects": [{"faces": [[0.5]], "vertices": [[0, 0]]}]})",
       "objects[0].vertices[0]: must hold 3 numbers, not 2"},
      {R"({"objects": [{"vertices": [[0, 0]]}], "x": )", "not valid JSON: [json.exception.parse_error.101]"},
      {R"({"objects": [{"vertices": [[0, 0, 1e400]]}]})",
       "scene could not be read: [json.exception.out_of_range.406] number overflow parsing '1e400'"},
      {R"({"objects": [{"vertices": [[0, 0, 0]], "faces": [[0.5]]}]})",
       "objects[0].faces[0][0]: must be a whole number, not a fraction"},
      {R"({"objects": [{"vertices": [[0, 0, 0]], "faces": [[4294967296]]}]})",
       "objects[0].faces[0][0]: number is outside the 32-bit range"},
      {R"({"objects": [{"vertices": [[0, 0, 0]], "faces": [[0]], "selectedLines": [[0, 1]]}]})",
       "objects[0].selectedLines[0][1]: edge 1 is out of range (face 0 has 1 edge)"},
      {R"({"objects": [{"vertices": [], "selectedLines": [[0]]}]})",
       "objects[0].selectedLines[0]: must be a [face, edge] pair"},
      {R"({"objects": [{"vertices": [], "selectedLines": [[0, "x", 2]]}]})",
       "objects[0].selectedLines[0][1]: must be a whole number, not a string"},
      {R"({"objects": [{"vertices": [[1, 2, 3, [4]], [0, 0, 0]]}]})",
       "objects[0].vertices[0]: must hold 3 numbers, not 4"},
      {R"({"objects": [{"vertices": [[1, 2, 3]], "faces": [[0], {"a": [0]}]}]})",
       "objects[0].faces[1]: must be an array, not an object"},
      {R"({"objects": [{"vertices": [], "selectedFaces": [0]}]})",
       "objects[0].selectedFaces[0]: face index 0 is out of range (object has 0 faces)"},
      {R"({"objects": [{"vertices": [], "frame": [1, 0, 0]}]})",
       "objects[0].frame: must hold 16 numbers, not 3"},
      {R"({"objects": [{"vertices": [], "colour": 1}]})", "objects[0].colour: unknown field"},
      {R"({"objects": [{"faces": []}]})", "objects[0].vertices: missing"},
      {R"({"objects": [{"vertices": [], "uniqueId": 0}]})", "objects[0].uniqueId: must be a positive number"},
      {R"({"objects": [{"vertices": [], "uniqueId": 3}, {"vertices": [], "uniqueId": 3}]})",
       "objects[1].uniqueId: 3 is already used by objects[0]"},
      {R"({"objects": [{"vertices": [], "selected": 1}]})", "objects[0].selected: must be true or false"},
      {R"({"objects": [7]})", "objects[0]: must be an object or null, not a number"},
      {R"({"objects": [null], "currentObject": 0})", "currentObject: index 0 is an empty slot"},
      {R"({"objects": [], "currentObject": 1})", "currentObject: index 1 is out of range"},
      {R"({"objects": [{"name": "a", "vertices": []}], "currentObject": "b"})",
       "currentObject: no object is named \"b\""},
      {R"({"objects": [{"name": "a", "vertices": []}, {"name": "a", "vertices": []}], "currentObject": "a"})",
       "currentObject: name \"a\" is shared by several objects"},
      {R"({"objects": [], "cameraAngle": [0, 0]})", "cameraAngle: must hold 3 numbers"},
      {R"({"objects": [], "version": 2})", "version: 2 is not a version this host reads"},
      {R"({"objects": {}})", "objects: must be an array, not an object"},
      {R"({})", "objects: missing"},
      {R"([1, 2])", "scene: must be a JSON object, not an array"},
      {R"({"objects": [)", "not valid JSON"},
      {"", "not valid JSON"},
      // Deep nesting fails at once, naming where it went too deep, without
      // exhausting the stack or building the nested values.
      {R"({"objects": [{"vertices": )" + std::string(100000, '[') + std::string(100000, ']') + "}]}",
       deepest + ": nested deeper than 64"},
      {std::string(8u << 20, '['), ": nested deeper than 64"},
      // A NUL byte is no end of the file.
      {R"({"objects": []})" + std::string(1, '\0') + "garbage", "not valid JSON: a NUL byte at byte 15"},
  };
  for (const auto& entry : cases) {
    const std::string error = ErrorOf(entry.text);
    EXPECT_NE(error.find(entry.error), std::string::npos)
        << "scene: " << entry.text.substr(0, 200) << "\nerror: " << error;
  }
  EXPECT_EQ(mqhost::ActiveDocument(), before);
  EXPECT_EQ(HostApi().MQDoc_GetObjectCount(before), 0);
}

TEST_F(SceneFile, SaveAndLoadGiveTheSameDocument) {
  DocumentHandle original = Parse(kScene);
  ASSERT_NE(original, nullptr);
  ObjectData odd;
  odd.name = "quote \" and \\ and \xC3\xA9";
  // The largest floats too: their shortest text is past FLT_MAX as a double.
  const float largest = std::numeric_limits<float>::max();
  odd.vertices = {{0.1f, -1e-30f, largest}, {1.0f / 3, -0.0f, -largest}};
  odd.faces = {{1, 0}, {0}};
  odd.selectedLines = {{0, 1}};
  odd.frame[13] = 1e-7f;
  ASSERT_EQ(mqhost::AddObject(original, odd), 3);

  const std::string path = (folder / "scene.json").string();
  std::string error;
  ASSERT_TRUE(mqhost::SaveSceneFile(original, path, &error)) << error;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no temporary left
  DocumentHandle loaded = mqhost::LoadSceneFile(path, &error);
  ASSERT_NE(loaded, nullptr) << error;
  documents.push_back(loaded);

  ASSERT_EQ(mqhost::ObjectSlotCount(loaded), mqhost::ObjectSlotCount(original));
  EXPECT_EQ(mqhost::CurrentObjectIndex(loaded), mqhost::CurrentObjectIndex(original));
  EXPECT_EQ(mqhost::CameraAngle(loaded).x, mqhost::CameraAngle(original).x);
  for (int32_t i = 0; i < mqhost::ObjectSlotCount(original); ++i) {
    ASSERT_EQ(mqhost::HasObject(loaded, i), mqhost::HasObject(original, i)) << i;
    if (!mqhost::HasObject(original, i)) continue;
    const ObjectData a = mqhost::GetObject(original, i);
    const ObjectData b = mqhost::GetObject(loaded, i);
    EXPECT_EQ(a.name, b.name) << i;
    EXPECT_EQ(a.uniqueId, b.uniqueId) << i;
    // Bit for bit: -0 stays -0.
    ASSERT_EQ(a.vertices.size(), b.vertices.size()) << i;
    EXPECT_EQ(std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(a.vertices[0])), 0)
        << i;
    EXPECT_EQ(a.faces, b.faces) << i;
    EXPECT_EQ(a.selectedVertices, b.selectedVertices) << i;
    EXPECT_EQ(a.selectedLines, b.selectedLines) << i;
    EXPECT_EQ(a.selectedFaces, b.selectedFaces) << i;
    EXPECT_EQ(a.selected, b.selected) << i;
    EXPECT_EQ(a.frame, b.frame) << i;
  }
  // Writing the loaded document again gives the same text.
  EXPECT_EQ(mqhost::SceneText(loaded), Read(path));
}

TEST_F(SceneFile, SaveReplacesAnOldFileAndFailedSavesAndLoadsAreReported) {
  DocumentHandle document = Parse(kScene);
  const std::string path = (folder / "scene.json").string();
  {
    std::ofstream old(path, std::ios::binary);
    old << "old contents";
  }
  std::string error;
  ASSERT_TRUE(mqhost::SaveSceneFile(document, path, &error)) << error;
  EXPECT_EQ(Read(path), mqhost::SceneText(document));

  // A value JSON cannot hold refuses the save; the file stays as it was.
  mqhost::VerticesOf(document, 2)[0].y = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(mqhost::SaveSceneFile(document, path, &error));
  EXPECT_NE(error.find("objects[2].vertices[0]: not a finite number"), std::string::npos) << error;
  EXPECT_NE(Read(path).find("\"second\""), std::string::npos);
  EXPECT_EQ(Read(path).find("null,\n        null"), std::string::npos);

  // A folder that does not exist: no file appears.
  const std::string nowhere = (folder / "missing" / "scene.json").string();
  mqhost::VerticesOf(document, 2)[0].y = 0;
  EXPECT_FALSE(mqhost::SaveSceneFile(document, nowhere, &error));
  EXPECT_FALSE(std::filesystem::exists(nowhere));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
  EXPECT_EQ(mqhost::LoadSceneFile(nowhere, &error), nullptr);
  EXPECT_NE(error.find("cannot open the file"), std::string::npos) << error;
}

}  // namespace
