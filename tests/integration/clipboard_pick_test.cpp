// Copy and paste of a frame through the clipboard, as the user picks them.
// The plug-in's own copy is what puts text there; the texts themselves, on
// the system clipboard in the Windows build, are checked by the unit tests of
// the clipboard operations.
#include <gtest/gtest.h>

#include "pick_harness.hpp"

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

#ifndef _WIN32

// Each load of the plug-in starts with an empty clipboard of its own: a copy
// made before the plug-in is loaded again is gone, whatever ran before in
// this process.
TEST_F(ClipboardPick, PasteFromAnEmptyClipboardChangesNothing) {
  AddSourceAndTarget();
  mqhost::SetCurrentObjectIndex(document, targetIndex);
  EXPECT_EQ(Pick({Click("S")}), 0);
  RestartHost();
  mqhost::SetCurrentObjectIndex(document, sourceIndex);
  EXPECT_EQ(Pick({Key('V', true)}), 0);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 1);
  EXPECT_TRUE(FramesNear(FrameAt(sourceIndex), kTurned));
}

#endif

}  // namespace
}  // namespace pick
