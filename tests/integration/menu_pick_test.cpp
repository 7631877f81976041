// Every operation code, chosen as the user chooses it (its button, and its
// shortcut key where it has one), run end to end through the menu command.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pick_harness.hpp"

namespace pick {
namespace {

using mqhost::Click;
using mqhost::Key;
using mqhost::ObjectData;
using mqhost::UserAction;

const Matrix16 kQuarterTurnAboutZ = MakeFrame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {5, 6, 7});

ObjectData OneSelectedVertex() {
  ObjectData cube = LiveObject("Cube", {{2, 3, 4}, {0, 0, 0}, {1, 0, 0}});
  cube.selectedVertices = {0};
  return cube;
}

ObjectData SpreadVertices() { return LiveObject("Row", {{0, 0, 0}, {1, 0, 0}, {10, 0, 0}}); }

ObjectData SelectedVertexPair() {
  std::vector<Point3> vertices;
  for (int i = 0; i < 10; ++i) vertices.push_back({static_cast<float>(i), 1, 1});
  vertices[4] = {0, 0, 0};
  vertices[9] = {0, 2, 0};
  ObjectData object = LiveObject("Pair", vertices);
  object.selectedVertices = {4, 9};
  return object;
}

ObjectData SelectedTriangle() {
  ObjectData triangle = LiveObject("Triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  triangle.selectedFaces = {0};
  return triangle;
}

ObjectData VertexAboveOrigin() {
  ObjectData object = LiveObject("Tip", {{1, 5, 0}, {0, 0, 0}, {2, 0, 0}});
  object.selectedVertices = {0};
  object.frame = MakeFrame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {1, 0, 0});
  return object;
}

ObjectData PlainTriangle() { return LiveObject("Triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}); }

ObjectData MovedOrigin() {
  ObjectData object = LiveObject("Moved", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  object.frame = Translated({3, 1, 2});
  return object;
}

ObjectData TurnedFrame() {
  ObjectData object = LiveObject("Turned", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  object.frame = kQuarterTurnAboutZ;
  return object;
}

struct CodeCase {
  std::string name;
  std::function<ObjectData()> scene;
  UserAction action;
  int32_t result;
  Matrix16 frame;
};

std::ostream& operator<<(std::ostream& out, const CodeCase& codeCase) { return out << codeCase.name; }

std::vector<CodeCase> EveryCode() {
  const Matrix16 lineFrame = MakeFrame({1, 0, 0}, {0, -1, 0}, {0, 0, -1});
  const Matrix16 downZ = MakeFrame({1, 0, 0}, {0, 0, -1}, {0, 1, 0});
  const Matrix16 upright = Translated({1, 0, 0});
  const Matrix16 aboutX = MakeFrame({1, 0, 0}, {0, 0, 1}, {0, -1, 0});
  const Matrix16 aboutY = MakeFrame({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
  const Matrix16 aboutZ = MakeFrame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
  return {
      {"CenterOfVerticesButton", OneSelectedVertex, Click("Center of (&V)ertexes"), 1, Translated({2, 3, 4})},
      {"CenterOfVerticesKeyV", OneSelectedVertex, Key('V'), 1, Translated({2, 3, 4})},
      {"CenterOfObjectButton", SpreadVertices, Click("Center of the O(&b)ject"), 1, Translated({5, 0, 0})},
      {"CenterOfObjectKeyB", SpreadVertices, Key('B'), 1, Translated({5, 0, 0})},
      {"LineButton", SelectedVertexPair, Click("(&L)ine"), 1, lineFrame},
      {"LineKeyL", SelectedVertexPair, Key('L'), 1, lineFrame},
      {"FaceNormalButton", SelectedTriangle, Click("(&N)ormal of a Face"), 1, downZ},
      {"FaceNormalKeyN", SelectedTriangle, Key('N'), 1, downZ},
      {"OriginToVertexButton", VertexAboveOrigin, Click("(&O)rigin to Vertex"), 1, upright},
      {"OriginToVertexKeyO", VertexAboveOrigin, Key('O'), 1, upright},
      {"CameraButton", PlainTriangle, Click("(&C)amera"), 1, downZ},
      {"CameraKeyC", PlainTriangle, Key('C'), 1, downZ},
      {"RotateXButton", PlainTriangle, Click("&X"), 1, aboutX},
      {"RotateXKeyX", PlainTriangle, Key('X'), 1, aboutX},
      {"RotateYButton", PlainTriangle, Click("&Y"), 1, aboutY},
      {"RotateYKeyY", PlainTriangle, Key('Y'), 1, aboutY},
      {"RotateZButton", PlainTriangle, Click("&Z"), 1, aboutZ},
      {"RotateZKeyZ", PlainTriangle, Key('Z'), 1, aboutZ},
      {"MirrorXButton", MovedOrigin, Click("X"), 1, MakeFrame({-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {3, 1, 2})},
      {"MirrorYButton", MovedOrigin, Click("Y"), 1, MakeFrame({1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {3, 1, 2})},
      {"MirrorZButton", MovedOrigin, Click("Z"), 1, MakeFrame({1, 0, 0}, {0, 1, 0}, {0, 0, -1}, {3, 1, 2})},
      // Copying to the clipboard never changes the document and answers false.
      {"ClipboardCopyButton", TurnedFrame, Click("S"), 0, kQuarterTurnAboutZ},
      {"ClipboardCopyCtrlC", TurnedFrame, Key('C', true), 0, kQuarterTurnAboutZ},
  };
}

class EveryOperationCode : public MenuPick, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(EveryOperationCode, ChangesTheFrameAndAnswersAsTheTableSays) {
  const CodeCase& codeCase = GetParam();
  mqhost::SetCurrentObjectIndex(document, Add(codeCase.scene()));
  const std::vector<Point3> verticesBefore = mqhost::GetObject(document, 0).vertices;

  EXPECT_EQ(Pick({codeCase.action}), codeCase.result);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), codeCase.frame));
  // "Trans(&f)orm" is off on a first run: no vertex follows the frame.
  const std::vector<Point3> verticesAfter = mqhost::GetObject(document, 0).vertices;
  ASSERT_EQ(verticesAfter.size(), verticesBefore.size());
  for (size_t i = 0; i < verticesAfter.size(); ++i) {
    EXPECT_EQ(verticesAfter[i].x, verticesBefore[i].x) << i;
    EXPECT_EQ(verticesAfter[i].y, verticesBefore[i].y) << i;
    EXPECT_EQ(verticesAfter[i].z, verticesBefore[i].z) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(ByButtonAndKey, EveryOperationCode, ::testing::ValuesIn(EveryCode()),
                         [](const ::testing::TestParamInfo<CodeCase>& param) { return param.param.name; });

}  // namespace
}  // namespace pick
