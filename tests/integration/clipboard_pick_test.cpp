// Copy and paste of a frame through the clipboard, as the user picks them.
// In the Windows build the clipboard is the system's, and the test reads and
// writes it directly; elsewhere it lives inside the plug-in library, and the
// plug-in's own copy is what puts text there.
#include <gtest/gtest.h>

#include <string>

#include "pick_harness.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace pick {
namespace {

using mqhost::Click;
using mqhost::Key;
using mqhost::ObjectData;

const Matrix16 kTurned = MakeFrame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {5, 6, 7});

class ClipboardPick : public MenuPick {
 protected:
  // "Source" (current) with a turned frame, "Target" with a scaled one.
  void AddSourceAndTarget() {
    ObjectData source = LiveObject("Source", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    source.frame = kTurned;
    sourceIndex = Add(source);
    ObjectData target = LiveObject("Target", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    target.frame = MakeFrame({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {0, 0, 3});
    targetIndex = Add(target);
    mqhost::SetCurrentObjectIndex(document, sourceIndex);
  }
  int32_t sourceIndex = -1;
  int32_t targetIndex = -1;
};

TEST_F(ClipboardPick, CopyThenPasteCarriesTheWholeFrameWithAllThreeOptions) {
  AddSourceAndTarget();
  EXPECT_EQ(Pick({Click("S")}), 0);
  EXPECT_TRUE(FramesNear(FrameAt(sourceIndex), kTurned));

  mqhost::SetCurrentObjectIndex(document, targetIndex);
  // Rotate is on by default; S and T add scale and translation.
  EXPECT_EQ(Pick({Key('S'), Key('T'), Key('V', true)}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(targetIndex), kTurned));
  EXPECT_TRUE(FramesNear(FrameAt(sourceIndex), kTurned));
}

TEST_F(ClipboardPick, PasteWithOnlyRotateTakesTheRotationAlone) {
  AddSourceAndTarget();
  EXPECT_EQ(Pick({Key('C', true)}), 0);
  mqhost::SetCurrentObjectIndex(document, targetIndex);
  EXPECT_EQ(Pick({Click("R")}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(targetIndex), MakeFrame({0, 2, 0}, {-2, 0, 0}, {0, 0, 2}, {0, 0, 3})));
}

// Ctrl+V is the paste whatever V would do: here "Center of (&V)ertexes" is
// disabled (nothing selected) and the paste still runs.
TEST_F(ClipboardPick, CtrlVPastesEvenWhenCenterOfVerticesIsDisabled) {
  AddSourceAndTarget();
  EXPECT_EQ(Pick({Click("S")}), 0);
  mqhost::SetCurrentObjectIndex(document, targetIndex);
  EXPECT_EQ(Pick({Key('V'), Key('S'), Key('T'), Key('V', true)}), 1);
  EXPECT_FALSE(FindByCaption(mqhost::LastDialogSnapshot(), "Center of (&V)ertexes")->enabled);
  EXPECT_TRUE(FramesNear(FrameAt(targetIndex), kTurned));
}

// Copy and paste work on the reference object, not on the current one.
TEST_F(ClipboardPick, CopyAndPasteUseTheReferenceObject) {
  AddSourceAndTarget();
  mqhost::SetCurrentObjectIndex(document, targetIndex);
  EXPECT_EQ(Pick({mqhost::PickItem("Source"), Click("S")}), 0);
  mqhost::SetFrame(document, sourceIndex, Translated({0, 0, 0}));
  EXPECT_EQ(Pick({Key('S'), Key('T'), Key('V', true)}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(sourceIndex), kTurned));
  EXPECT_TRUE(FramesNear(FrameAt(targetIndex), MakeFrame({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {0, 0, 3})));
}

#ifdef _WIN32

// The system clipboard's CF_TEXT, read and written without the plug-in.
std::string SystemClipboardText() {
  std::string text = "<no text>";
  if (!OpenClipboard(nullptr)) return "<not opened>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool PutSystemClipboardText(const std::string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return false;
  auto* chars = static_cast<char*>(GlobalLock(block));
  text.copy(chars, text.size());
  chars[text.size()] = '\0';
  GlobalUnlock(block);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(block);
    return false;
  }
  EmptyClipboard();
  const bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  if (!set) GlobalFree(block);
  CloseClipboard();
  return set;
}

TEST_F(ClipboardPick, CopyPutsTheFrameOnTheSystemClipboardAsText) {
  ObjectData object = LiveObject("Numbers", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  object.frame = MakeFrame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0.1f, 1234567, -0.5f});
  Add(object);
  mqhost::SetCurrentObjectIndex(document, 0);
  ASSERT_TRUE(PutSystemClipboardText("old text"));
  EXPECT_EQ(Pick({Key('C', true)}), 0);
  EXPECT_EQ(SystemClipboardText(), "0,1,0,0,-1,0,0,0,0,0,1,0,0.1,1.23457e+06,-0.5,1");

  mqhost::SetFrame(document, 0, Translated({0, 0, 0}));
  EXPECT_EQ(Pick({Click("S")}), 0);
  EXPECT_EQ(SystemClipboardText(), "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1");
}

TEST_F(ClipboardPick, PasteReadsTextWithSemicolonsAndBlanks) {
  Add(LiveObject("Target", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  mqhost::SetCurrentObjectIndex(document, 0);
  ASSERT_TRUE(PutSystemClipboardText(" 0 ; 1 ;0; 0;-1 ; 0 ; 0;0 ;0;0;1;0; 5 ; 6;7 ;1 trailing words"));
  EXPECT_EQ(Pick({Key('S'), Key('T'), Click("R")}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), kTurned));
}

TEST_F(ClipboardPick, PasteOfFifteenNumbersOrNoTextChangesNothing) {
  Add(LiveObject("Target", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  mqhost::SetCurrentObjectIndex(document, 0);
  mqhost::SetFrame(document, 0, kTurned);
  ASSERT_TRUE(PutSystemClipboardText("1,0,0,0,0,1,0,0,0,0,1,0,0,0,0"));
  EXPECT_EQ(Pick({Key('V', true)}), 0);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), kTurned));

  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(Pick({Click("R")}), 0);
  EXPECT_TRUE(FramesNear(FrameAt(0), kTurned));
}

#else

// Each load of the plug-in starts with an empty clipboard of its own.
TEST_F(ClipboardPick, PasteFromAnEmptyClipboardChangesNothing) {
  AddSourceAndTarget();
  EXPECT_EQ(Pick({Key('V', true)}), 0);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 1);
  EXPECT_TRUE(FramesNear(FrameAt(sourceIndex), kTurned));
}

#endif

}  // namespace
}  // namespace pick
