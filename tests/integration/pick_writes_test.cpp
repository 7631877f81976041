// Every write of one pick per operation code, compared line for line with a
// list kept in data/pick-writes.txt: vertex positions and frames, settings
// changes and widget value sets, in order, each float by its bits. The list
// was made once from a build known to be right; changing how the plug-in
// reads the document must leave it as it is. A change of behaviour that is
// meant remakes it: TERVOLIN_WRITE_PICK_WRITES=FILE writes the list made by
// this build to FILE.
//
// The clipboard is not a host write: code 14's text is checked through the
// paste of code 15 that follows it in the same load of the plug-in.
//
// The list was made by the Linux build. The Windows build's host decomposes
// and composes frames with another C runtime's trigonometry, which rounds
// differently in the last bits; there, the floats of vertex and frame writes
// are compared within 1e-5 of their size and everything else exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "mqhost/settings.hpp"
#include "mqhost/write_recorder.hpp"
#include "pick_harness.hpp"

namespace pick {
namespace {

using mqhost::ObjectData;

// Selections: 1 vertex (and a selected vertex no face uses), 1 line, 1 face
// on "Hull"; 3 vertices and 1 line on "Probe". Both have frames that are
// turned, scaled and moved.
ObjectData Hull() {
  ObjectData hull;
  hull.name = "Hull";
  hull.vertices = {{0, 0, 0}, {2, 0, 0.5f}, {2, 1, 0},  {0, 1.5f, 0},   {0.5f, 0.5f, 2},
                   {9, 9, 9}, {1, -1, 1},   {3, 2, -1}, {-1, 2, 0.25f}, {1.5f, 0.5f, -2}};
  hull.faces = {{0, 1, 2, 3}, {0, 1, 4}, {},           {1, 2, 4}, {2, 3, 4},
                {3, 0, 4},    {0, 6, 1}, {2, 7, 3, 8}, {1, 9, 2}};
  hull.selectedVertices = {5, 7};
  hull.selectedLines = {{4, 1}};
  hull.selectedFaces = {3};
  hull.frame = MakeFrame({0, 1.5f, 0}, {-1, 0, 0}, {0, 0, 0.5f}, {1, 2, 3});
  return hull;
}

ObjectData Probe() {
  ObjectData probe =
      LiveObject("Probe", {{1, 1, 1}, {2, 1, 1}, {1, 3, 1}, {1, 1, 4}, {-2, 0, 1}, {0, -1, 2}});
  probe.selectedVertices = {1, 3, 4};
  probe.selectedLines = {{1, 2}};
  probe.frame = MakeFrame({0.8f, 0.6f, 0}, {-0.6f, 0.8f, 0}, {0, 0, 2}, {-1, 0.5f, 2});
  return probe;
}

// A selected object that copy reaches, with a frame of its own.
ObjectData Target(const std::string& name, bool selected, float shift) {
  ObjectData target = LiveObject(name, {{shift, 0, 0}, {1, shift, 0}, {0, 1, shift}, {shift, shift, 1}});
  target.selected = selected;
  target.frame = MakeFrame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {shift, 1, -shift});
  return target;
}

struct PickCase {
  int32_t code;
  const char* caption;
  bool probeAsReference;
};

// In table order, and again on "Probe" for the codes whose walks differ
// there; copy (14) comes before the paste (15) that reads its text.
const PickCase kPicks[] = {
    {1, "Center of (&V)ertexes", false},
    {2, "Center of the O(&b)ject", false},
    {3, "(&L)ine", false},
    {4, "(&N)ormal of a Face", false},
    {5, "(&O)rigin to Vertex", false},
    {6, "(&C)amera", false},
    {7, "Copy", false},
    {8, "&X", false},
    {9, "&Y", false},
    {10, "&Z", false},
    {11, "X", false},
    {12, "Y", false},
    {13, "Z", false},
    {14, "S", true},
    {15, "R", false},
    {16, "Clear", false},
    {1, "Center of (&V)ertexes", true},
    {2, "Center of the O(&b)ject", true},
    {3, "(&L)ine", true},
    {4, "(&N)ormal of a Face", true},
    {7, "Copy", true},
};

// "object 1 vertex 4 3f800000 ...": equal text, or on Windows equal but for
// floats (their bits in hex) within 1e-5 of their size.
bool SameWrite(const std::string& actual, const std::string& expected) {
  if (actual == expected) return true;
#ifdef _WIN32
  if (actual.rfind("object ", 0) != 0) return false;
  std::istringstream a(actual);
  std::istringstream e(expected);
  std::string wordA;
  std::string wordE;
  int word = 0;
  while (a >> wordA) {
    if (!(e >> wordE)) return false;
    // Words 0 to 3 name the object and what was written; floats follow.
    if (++word <= 4 || wordA.size() != 8) {
      if (wordA != wordE) return false;
      continue;
    }
    float x = 0;
    float y = 0;
    const auto bitsA = static_cast<uint32_t>(std::stoul(wordA, nullptr, 16));
    const auto bitsE = static_cast<uint32_t>(std::stoul(wordE, nullptr, 16));
    std::memcpy(&x, &bitsA, sizeof x);
    std::memcpy(&y, &bitsE, sizeof y);
    if (!(std::fabs(x - y) <= 1e-5f * std::max({1.0f, std::fabs(x), std::fabs(y)}))) return false;
  }
  return !(e >> wordE);
#else
  return false;
#endif
}

class PickWrites : public MenuPick {
 protected:
  // A fresh document and the same options before every pick: Transform on,
  // global mirror on, copy of rotation and scale.
  void SetScene() {
    if (document != nullptr) mqhost::DestroyDocument(document);
    document = mqhost::CreateDocument();
    Add(Target("Left", true, 0.5f));
    const int32_t hull = Add(Hull());
    Add(Probe());
    Add(Target("Right", true, -2));
    Add(Target("Aside", false, 3));
    mqhost::SetCurrentObjectIndex(document, hull);
    mqhost::SetCameraAngle(document, {30, -20, 10});
    mqhost::ResetSettings();
    for (const auto& [key, value] : {std::pair{"transform", "1"},
                                     {"global", "1"},
                                     {"copyR", "1"},
                                     {"copyS", "1"},
                                     {"copyT", "0"},
                                     {"PosX", "40"},
                                     {"PosY", "30"}}) {
      mqhost::SetSettingText(kSection, key, value);
    }
  }
};

TEST_F(PickWrites, EveryOperationWritesWhatItAlwaysHas) {
  std::vector<std::string> lines;
  for (const PickCase& pick : kPicks) {
    SetScene();
    std::vector<mqhost::UserAction> actions;
    if (pick.probeAsReference) actions.push_back(mqhost::PickItem("Probe"));
    actions.push_back(mqhost::Click(pick.caption));
    mqhost::StartRecordingWrites();
    const int32_t result = Pick(actions);
    mqhost::StopRecordingWrites();
    lines.push_back("pick " + std::to_string(pick.code) + (pick.probeAsReference ? " on Probe" : "") +
                    " result " + std::to_string(result));
    for (const std::string& line : mqhost::RecordedWrites()) lines.push_back(line);
  }

  if (const char* out = std::getenv("TERVOLIN_WRITE_PICK_WRITES")) {
    std::ofstream file(out, std::ios::binary);
    for (const std::string& line : lines) file << line << '\n';
  }
  std::ifstream file(TERVOLIN_PICK_WRITES_FILE, std::ios::binary);
  ASSERT_TRUE(file) << "cannot read " << TERVOLIN_PICK_WRITES_FILE;
  std::vector<std::string> expected;
  for (std::string line; std::getline(file, line);) expected.push_back(line);

  // The first difference, with its place, says more than the whole list.
  for (size_t i = 0; i < lines.size() && i < expected.size(); ++i) {
    ASSERT_TRUE(SameWrite(lines[i], expected[i]))
        << "write " << i + 1 << " of " << expected.size() << ":\n  made:     " << lines[i]
        << "\n  expected: " << expected[i];
  }
  EXPECT_EQ(lines.size(), expected.size());
}

}  // namespace
}  // namespace pick
