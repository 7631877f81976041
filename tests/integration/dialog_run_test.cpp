// The dialog's run as the user meets it: what it shows at the start, what
// survives a pick (also a cancelled one, and across a restart of the host),
// the reference list, the enabling of the selection buttons and the keys.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "mqhost/faults.hpp"
#include "mqhost/settings.hpp"
#include "pick_harness.hpp"

namespace pick {
namespace {

using mqhost::Click;
using mqhost::CloseWindow;
using mqhost::Key;
using mqhost::MoveDialog;
using mqhost::ObjectData;
using mqhost::PickItem;
using mqhost::WidgetSnapshot;

constexpr int32_t kSetValues = 0x302;

const WidgetSnapshot& Widget(const WidgetSnapshot& tree, const std::string& caption) {
  static const WidgetSnapshot none;
  const WidgetSnapshot* found = FindByCaption(tree, caption);
  EXPECT_NE(found, nullptr) << "no widget \"" << caption << "\"";
  return found != nullptr ? *found : none;
}

const WidgetSnapshot& ReferenceList(const WidgetSnapshot& tree) {
  static const WidgetSnapshot none;
  const WidgetSnapshot* found = FindByClass(tree, "combobox");
  EXPECT_NE(found, nullptr) << "no reference list";
  return found != nullptr ? *found : none;
}

std::string Setting(const std::string& key) {
  return mqhost::SettingText(kSection, key).value_or("<missing>");
}

// True when the pick sent the dialog a position.
bool PositionWasSet() {
  const int32_t dialogId = mqhost::LastModalOutcome().dialogId;
  for (const auto& request : mqhost::RequestLog()) {
    if (request.id != dialogId || request.code != kSetValues) continue;
    for (const auto& value : request.values) {
      if (value.name == "pos_x" || value.name == "pos_y") return true;
    }
  }
  return false;
}

class DialogRun : public MenuPick {
 protected:
  // Three objects; the middle one is current.
  void AddThreeObjects() {
    first = Add(LiveObject("First", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
    ObjectData middle = LiveObject("Middle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    middle.frame = Translated({1, 2, 3});
    current = Add(middle);
    ObjectData other = LiveObject("Other", {{0, 0, 0}, {0, 2, 0}, {3, 0, 0}});
    other.selectedVertices = {0, 1};
    last = Add(other);
    mqhost::SetCurrentObjectIndex(document, current);
  }
  int32_t first = -1;
  int32_t current = -1;
  int32_t last = -1;
};

TEST_F(DialogRun, FirstRunShowsTheDefaultsWhereTheHostPlacesIt) {
  AddThreeObjects();
  EXPECT_EQ(Pick({Click("Cancel")}), 0);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 2);
  EXPECT_FALSE(PositionWasSet());

  const WidgetSnapshot dialog = mqhost::LastDialogSnapshot();
  EXPECT_EQ(dialog.caption, "Tervolin");
  for (const char* caption : {"(&R)otate", "set to Y(&A)"})
    EXPECT_TRUE(Widget(dialog, caption).checked) << caption;
  for (const char* caption : {"(&S)cale", "(&T)rans", "(&g)lobal", "Trans(&f)orm", "set to X"})
    EXPECT_FALSE(Widget(dialog, caption).checked) << caption;
  EXPECT_EQ(ReferenceList(dialog).currentIndex, 0);

  // Cancelled or not, the run leaves all eight keys behind.
  EXPECT_EQ(mqhost::SettingKeys(kSection), (std::vector<std::string>{"PosX", "PosY", "transform", "global",
                                                                     "copyR", "copyS", "copyT", "target"}));
  EXPECT_EQ(Setting("copyR"), "1");
  EXPECT_EQ(Setting("transform"), "0");
  EXPECT_EQ(Setting("target"), "4294967295");
  // A cancelled pick leaves the document alone.
  EXPECT_TRUE(FramesNear(FrameAt(current), Translated({1, 2, 3})));
}

TEST_F(DialogRun, TheCurrentObjectIsNeverListed) {
  AddThreeObjects();
  mqhost::DeleteObject(document, first);  // an empty slot is skipped too
  Add(LiveObject("Fourth", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_EQ(Pick({CloseWindow()}), 0);

  const WidgetSnapshot dialog = mqhost::LastDialogSnapshot();
  const WidgetSnapshot& list = ReferenceList(dialog);
  EXPECT_EQ(list.items, (std::vector<std::string>{"-", "Other", "Fourth"}));
  ASSERT_EQ(list.itemTags.size(), 3u);
  EXPECT_EQ(list.itemTags[0], -1);
  EXPECT_EQ(list.itemTags[1], UniqueIdAt(last));
  EXPECT_EQ(list.itemTags[2], UniqueIdAt(3));

  // An object the host answers as not in the document (index -1) is not
  // offered either.
  mqhost::HideObjectIndex(mqhost::ObjectHandleAt(document, last));
  EXPECT_EQ(Pick({CloseWindow()}), 0);
  mqhost::ClearHiddenObjects();
  EXPECT_EQ(ReferenceList(mqhost::LastDialogSnapshot()).items, (std::vector<std::string>{"-", "Fourth"}));
}

// Cancel, then closing the window: both keep what the user changed, through
// the settings file, for the next run of the host. F, G, R, S and T flip their
// check boxes (both ways) and keep the dialog open; letters with no shortcut
// do nothing.
TEST_F(DialogRun, OptionsReferenceAndPositionSurviveCancelAndARestart) {
  AddThreeObjects();
  EXPECT_EQ(Pick({Key('F'), Key('G'), Key('R'), Key('S'), Key('T'), Key('Q'), Key('M'), PickItem("Other"),
                  MoveDialog(120, 80), Click("Cancel")}),
            0);
  EXPECT_TRUE(FramesNear(FrameAt(current), Translated({1, 2, 3})));
  EXPECT_EQ(Setting("target"), std::to_string(UniqueIdAt(last)));

  RestartHost();
  EXPECT_EQ(Pick({Key('S'), CloseWindow()}), 0);
  const WidgetSnapshot dialog = mqhost::LastDialogSnapshot();
  EXPECT_TRUE(PositionWasSet());
  EXPECT_EQ(dialog.posX, 120);
  EXPECT_EQ(dialog.posY, 80);
  for (const char* caption : {"Trans(&f)orm", "(&g)lobal", "(&S)cale", "(&T)rans"})
    EXPECT_TRUE(Widget(dialog, caption).checked) << caption;
  EXPECT_FALSE(Widget(dialog, "(&R)otate").checked);
  EXPECT_EQ(ReferenceList(dialog).currentIndex, 2);  // "-", "First", "Other"
  // The reference's two selected vertices enable "(&L)ine" from the start.
  EXPECT_TRUE(Widget(dialog, "(&L)ine").enabled);

  RestartHost();
  EXPECT_EQ(Pick({Click("Cancel")}), 0);
  const WidgetSnapshot third = mqhost::LastDialogSnapshot();
  EXPECT_FALSE(Widget(third, "(&S)cale").checked) << "closing the window kept the changed state";
  EXPECT_TRUE(Widget(third, "(&T)rans").checked);
}

// A host that gives no settings tree: nothing is stored, yet the next pick of
// the same plug-in starts where the last one closed.
TEST_F(DialogRun, WithoutASettingsTreeTheNextPickStartsWhereTheLastClosed) {
  AddThreeObjects();
  mqhost::SetSettingsAvailable(false);
  EXPECT_EQ(Pick({Key('F'), Key('G'), Key('R'), Key('S'), Key('T'), PickItem("Other"), MoveDialog(120, 80),
                  Click("Cancel")}),
            0);
  // The snapshot is the dialog as its run began: each key flipped a box.
  const WidgetSnapshot opened = mqhost::LastDialogSnapshot();
  EXPECT_EQ(Pick({Click("Cancel")}), 0);
  const WidgetSnapshot next = mqhost::LastDialogSnapshot();
  EXPECT_TRUE(PositionWasSet());
  EXPECT_EQ(next.posX, 120);
  EXPECT_EQ(next.posY, 80);
  for (const char* caption : {"Trans(&f)orm", "(&g)lobal", "(&R)otate", "(&S)cale", "(&T)rans"})
    EXPECT_NE(Widget(next, caption).checked, Widget(opened, caption).checked) << caption;
  EXPECT_EQ(ReferenceList(next).currentIndex, 2);  // "-", "First", "Other"
}

TEST_F(DialogRun, AStoredReferenceThatIsGoneFallsBackToTheCurrentObject) {
  AddThreeObjects();
  mqhost::SetSettingText(kSection, "target", "999999");
  EXPECT_EQ(Pick({Click("Cancel")}), 0);
  EXPECT_EQ(ReferenceList(mqhost::LastDialogSnapshot()).currentIndex, 0);
  EXPECT_EQ(Setting("target"), "4294967295");
}

// A stored position places the dialog when both coordinates are 0 or more;
// whatever was applied, the dialog's actual position is what is kept.
TEST_F(DialogRun, AStoredPositionIsAppliedOnlyWhenNeitherCoordinateIsNegative) {
  AddThreeObjects();
  const struct {
    const char* x;
    const char* y;
    bool applied;
  } cases[] = {
      {"-5", "40", false}, {"40", "-1", false}, {"0", "40", true}, {"40", "0", true}, {"0", "0", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.x) + ", " + c.y);
    mqhost::SetSettingText(kSection, "PosX", c.x);
    mqhost::SetSettingText(kSection, "PosY", c.y);
    EXPECT_EQ(Pick({MoveDialog(30, 50), Click("Cancel")}), 0);
    EXPECT_EQ(PositionWasSet(), c.applied);
    if (c.applied) {
      const WidgetSnapshot dialog = mqhost::LastDialogSnapshot();
      EXPECT_EQ(dialog.posX, std::stoi(c.x));
      EXPECT_EQ(dialog.posY, std::stoi(c.y));
    }
    EXPECT_EQ(Setting("PosX"), "30");
    EXPECT_EQ(Setting("PosY"), "50");
  }
}

TEST_F(DialogRun, WithoutACurrentObjectTheDialogRunsAndNothingIsDone) {
  AddThreeObjects();
  mqhost::SetCurrentObjectIndex(document, -1);
  EXPECT_EQ(Pick({Click("&X")}), 0);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 1);
  const WidgetSnapshot dialog = mqhost::LastDialogSnapshot();
  EXPECT_EQ(ReferenceList(dialog).items, (std::vector<std::string>{"-", "First", "Middle", "Other"}));
  // "-" names no object: nothing is selected, the four buttons are off.
  for (const char* caption :
       {"Center of (&V)ertexes", "(&L)ine", "(&N)ormal of a Face", "(&O)rigin to Vertex"}) {
    EXPECT_FALSE(Widget(dialog, caption).enabled) << caption;
  }
  EXPECT_TRUE(FramesNear(FrameAt(current), Translated({1, 2, 3})));
  EXPECT_TRUE(FramesNear(FrameAt(first), Translated({0, 0, 0})));
}

TEST_F(DialogRun, PickingAnotherReferenceReevaluatesTheButtons) {
  AddThreeObjects();
  // "(&L)ine" starts disabled (the current object has no selection), so the
  // first L does nothing; after "Other" is picked it chooses code 3, with the
  // direction from Other's vertices: (0, 0, 0) - (0, 2, 0).
  EXPECT_EQ(Pick({Key('L'), PickItem("Other"), Key('L')}), 1);
  EXPECT_FALSE(Widget(mqhost::LastDialogSnapshot(), "(&L)ine").enabled);
  EXPECT_TRUE(FramesNear(FrameAt(current), MakeFrame({1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {1, 2, 3})));
  // The reference's own frame is not touched.
  EXPECT_TRUE(FramesNear(FrameAt(last), Translated({0, 0, 0})));
}

// Origin to a vertex at (1, 1, 0) from (0, 0, 0) tells the two modes apart:
// as Y the frame turns by an eighth; as X it stays as it is.
TEST_F(DialogRun, KeyAChoosesBetweenSetToYAndSetToX) {
  ObjectData object = LiveObject("Diagonal", {{1, 1, 0}, {0, 0, 0}, {2, 0, 0}});
  object.selectedVertices = {0};
  object.frame = Translated({0, 0, 0});
  Add(object);
  mqhost::SetCurrentObjectIndex(document, 0);
  const float h = 0.70710678f;
  const Matrix16 setToY = MakeFrame({h, -h, 0}, {h, h, 0}, {0, 0, 1});

  EXPECT_EQ(Pick({Key('A'), Key('O')}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), Translated({0, 0, 0})));

  mqhost::SetFrame(document, 0, Translated({0, 0, 0}));
  EXPECT_EQ(Pick({Key('A'), Key('A'), Key('O')}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), setToY));

  // "set to X" is not kept: the next run starts with "set to Y(&A)".
  mqhost::SetFrame(document, 0, Translated({0, 0, 0}));
  EXPECT_EQ(Pick({Click("set to X"), Click("set to Y(&A)"), Click("(&O)rigin to Vertex")}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), setToY));
  EXPECT_TRUE(Widget(mqhost::LastDialogSnapshot(), "set to Y(&A)").checked);
}

// The enabling rules applied to a full count of the selection (live vertices
// and faces only; a line per face that reports it).
struct Enabled {
  bool center, line, normal, originToVertex;
};
Enabled RulesFor(const ObjectData& object) {
  std::vector<bool> live(object.vertices.size(), false);
  for (const auto& face : object.faces) {
    for (int32_t v : face) live[static_cast<size_t>(v)] = true;
  }
  int32_t vertices = 0;
  for (int32_t v : object.selectedVertices) vertices += live[static_cast<size_t>(v)] ? 1 : 0;
  int32_t faces = 0;
  for (int32_t f : object.selectedFaces) faces += object.faces[static_cast<size_t>(f)].empty() ? 0 : 1;
  const auto lines = static_cast<int32_t>(object.selectedLines.size());
  return {vertices > 0, vertices == 2 || lines == 1, vertices == 3 || faces == 1, vertices == 1};
}

// Every mix of 0 to 5 selected vertices, 0 to 2 faces and 0 to 2 lines, with
// the selection at the start of the object and at its end, so that a count
// that stops early is caught whichever element decides it. The strip of six
// quads has a selected vertex that no face uses and an empty face at the
// end; two lines at the start are one edge, shared by faces 0 and 1.
TEST_F(MenuPick, ButtonEnablingMatchesAFullCountAroundEveryThreshold) {
  ObjectData strip;
  strip.name = "Strip";
  constexpr int32_t kWidth = 7;
  for (int32_t row = 0; row < 2; ++row) {
    for (int32_t x = 0; x < kWidth; ++x) strip.vertices.push_back({float(x), float(row), 0});
  }
  strip.vertices.push_back({9, 9, 9});
  for (int32_t i = 0; i + 1 < kWidth; ++i) strip.faces.push_back({i, i + 1, kWidth + i + 1, kWidth + i});
  strip.faces.push_back({});
  const std::vector<int32_t> firstVertices = {0, 1, 2, 3, 4}, lastVertices = {13, 12, 11, 10, 9};
  const std::vector<int32_t> firstFaces = {0, 1}, lastFaces = {5, 4};
  const std::vector<std::pair<int32_t, int32_t>> firstLines = {{0, 1}, {1, 3}}, lastLines = {{5, 2}, {5, 0}};

  for (const bool atEnd : {false, true}) {
    for (size_t v = 0; v <= 5; ++v) {
      for (size_t f = 0; f <= 2; ++f) {
        for (size_t l = 0; l <= 2; ++l) {
          ObjectData object = strip;
          const auto& vertices = atEnd ? lastVertices : firstVertices;
          const auto& faces = atEnd ? lastFaces : firstFaces;
          const auto& lines = atEnd ? lastLines : firstLines;
          object.selectedVertices.assign(vertices.begin(), vertices.begin() + static_cast<long>(v));
          object.selectedVertices.push_back(14);
          object.selectedFaces.assign(faces.begin(), faces.begin() + static_cast<long>(f));
          object.selectedLines.assign(lines.begin(), lines.begin() + static_cast<long>(l));
          mqhost::DestroyDocument(document);
          document = mqhost::CreateDocument();
          Add(object);
          mqhost::SetCurrentObjectIndex(document, 0);
          EXPECT_EQ(Pick({Click("Cancel")}), 0);

          const Enabled expected = RulesFor(object);
          const WidgetSnapshot dialog = mqhost::LastDialogSnapshot();
          const std::string where = std::to_string(v) + " vertices, " + std::to_string(f) + " faces, " +
                                    std::to_string(l) + " lines" + (atEnd ? " at the end" : " at the start");
          EXPECT_EQ(Widget(dialog, "Center of (&V)ertexes").enabled, expected.center) << where;
          EXPECT_EQ(Widget(dialog, "(&L)ine").enabled, expected.line) << where;
          EXPECT_EQ(Widget(dialog, "(&N)ormal of a Face").enabled, expected.normal) << where;
          EXPECT_EQ(Widget(dialog, "(&O)rigin to Vertex").enabled, expected.originToVertex) << where;
          EXPECT_TRUE(Widget(dialog, "Center of the O(&b)ject").enabled);
        }
      }
    }
  }
}

}  // namespace
}  // namespace pick
