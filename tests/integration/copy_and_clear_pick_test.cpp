// The operations that reach other objects or reset the frame, picked from
// the dialog: copy to the selected objects (code 7) and clear (code 16).
#include <gtest/gtest.h>

#include "pick_harness.hpp"

namespace pick {
namespace {

using mqhost::Click;
using mqhost::Key;
using mqhost::ObjectData;

TEST_F(MenuPick, CopyGivesTheSelectedObjectsTheSourcesRotation) {
  ObjectData source = LiveObject("Source", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  source.frame = MakeFrame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {5, 0, 0});
  Add(source);
  ObjectData target = LiveObject("Target", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  target.frame = MakeFrame({2, 0, 0}, {0, 2, 0}, {0, 0, 2}, {0, 0, 3});
  target.selected = true;
  Add(target);
  ObjectData unselected = LiveObject("Unselected", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  Add(unselected);
  mqhost::SetCurrentObjectIndex(document, 0);
  const Matrix16 sourceFrame = FrameAt(0);

  // Only "(&R)otate" is on after a first start: the target keeps its scale
  // and its origin.
  EXPECT_EQ(Pick({Click("Copy")}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(1), MakeFrame({0, 2, 0}, {-2, 0, 0}, {0, 0, 2}, {0, 0, 3})));
  EXPECT_TRUE(FramesNear(FrameAt(0), sourceFrame));
  EXPECT_TRUE(FramesNear(FrameAt(2), Translated({0, 0, 0})));

  // A second pick works on what the first one left.
  EXPECT_EQ(Pick({Key('Z')}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), MakeFrame({-1, 0, 0}, {0, -1, 0}, {0, 0, 1}, {5, 0, 0})));
}

TEST_F(MenuPick, ClearResetsTheFrameToTheIdentity) {
  ObjectData object = LiveObject("Turned", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
  object.frame = MakeFrame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {5, 6, 7});
  Add(object);
  mqhost::SetCurrentObjectIndex(document, 0);
  EXPECT_EQ(Pick({Click("Clear")}), 1);
  EXPECT_TRUE(FramesNear(FrameAt(0), Translated({0, 0, 0})));
}

}  // namespace
}  // namespace pick
