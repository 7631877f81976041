// Copy and paste of a frame through the clipboard, as the user picks them.
// The plug-in's own copy is what puts text there; the texts themselves, on
// the system clipboard in the Windows build, are checked by the unit tests of
// the clipboard operations.
#include <gtest/gtest.h>

#include "mqhost/clipboard.hpp"
#include "mqhost/faults.hpp"
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

#ifdef MQHOST_OFFERS_CLIPBOARD

// Without a system clipboard the plug-in uses the one the host offers: the
// host sees what a copy put there and the paste takes what the host put,
// across loads of the plug-in as a system clipboard would, and no pick leaves
// it held open.
TEST_F(ClipboardPick, TheHostsClipboardIsWhatThePlugInCopiesToAndPastesFrom) {
  AddSourceAndTarget();
  ASSERT_TRUE(mqhost::SetClipboardText("left by another program"));
  EXPECT_EQ(Pick({Click("S")}), 0);
  EXPECT_EQ(mqhost::ClipboardText(), "0,1,0,0,-1,0,0,0,0,0,1,0,5,6,7,1");
  EXPECT_FALSE(mqhost::ClipboardHeldOpen());

  RestartHost();
  mqhost::SetCurrentObjectIndex(document, targetIndex);
  ASSERT_TRUE(mqhost::SetClipboardText("1,0,0,0,0,1,0,0,0,0,1,0,9,8,7,1"));
  EXPECT_EQ(Pick({Key('S'), Key('T'), Key('V', true)}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(targetIndex), Translated({9, 8, 7})));

  ASSERT_TRUE(mqhost::SetClipboardText(std::nullopt));
  EXPECT_EQ(Pick({Key('V', true)}), 0);
  EXPECT_EQ(mqhost::LastModalOutcome().modalResult, 1);
  EXPECT_TRUE(FramesNear(FrameAt(targetIndex), Translated({9, 8, 7})));
  EXPECT_FALSE(mqhost::ClipboardHeldOpen());
}

// A clipboard that cannot be opened, or whose data cannot be had, fails the
// copy and the paste: the frame stays, the clipboard is left closed, and a
// failed copy puts nothing half made there.
TEST_F(ClipboardPick, ClipboardFaultsFailCopyAndPasteAndLeaveItClosed) {
  AddSourceAndTarget();
  mqhost::SetCurrentObjectIndex(document, targetIndex);
  const Matrix16 targetFrame = FrameAt(targetIndex);
  for (const mqhost::HostFault fault : {mqhost::HostFault::ClipboardOpen, mqhost::HostFault::ClipboardData}) {
    SCOPED_TRACE(mqhost::HostFaultName(fault));
    ASSERT_TRUE(mqhost::SetClipboardText("0,1,0,0,-1,0,0,0,0,0,1,0,5,6,7,1"));
    mqhost::ScheduleHostFaults(5, 100, 1u << static_cast<int>(fault));
    EXPECT_EQ(Pick({Key('V', true)}), 0);
    EXPECT_FALSE(mqhost::AnsweredHostFaults().empty());
    EXPECT_EQ(Pick({Click("S")}), 0);
    mqhost::StopHostFaults();
    EXPECT_TRUE(FramesNear(FrameAt(targetIndex), targetFrame));
    EXPECT_FALSE(mqhost::ClipboardHeldOpen());
    const std::optional<std::string> left = mqhost::ClipboardText();
    EXPECT_TRUE(!left || *left == "0,1,0,0,-1,0,0,0,0,0,1,0,5,6,7,1") << *left;
  }
  // Answered normally again, the paste works.
  EXPECT_EQ(Pick({Click("S")}), 0);
  mqhost::SetCurrentObjectIndex(document, sourceIndex);
  EXPECT_EQ(Pick({Key('V', true)}), 1);
}

#endif

}  // namespace
}  // namespace pick
