#include <gtest/gtest.h>

#include <string>

#include "platform/clipboard.hpp"
#include "platform/clipboard_testing.hpp"

namespace {

namespace pt = platform::testing;

class PlatformClipboard : public ::testing::Test {
 protected:
  void TearDown() override {
#ifdef TERVOLIN_CLIPBOARD_FAULTS
    pt::SetClipboardFaults({});
    EXPECT_FALSE(pt::ClipboardIsOpen());
#endif
  }
};

TEST_F(PlatformClipboard, EmptyingDropsTheText) {
  ASSERT_TRUE(pt::PutClipboardText("old"));
  ASSERT_TRUE(platform::OpenClipboard());
  EXPECT_TRUE(platform::EmptyClipboard());
  EXPECT_EQ(platform::GetClipboardData(platform::kClipboardText), nullptr);
  EXPECT_TRUE(platform::CloseClipboard());
  EXPECT_EQ(pt::ClipboardText(), std::nullopt);
}

TEST_F(PlatformClipboard, DataCallsNeedTheClipboardOpen) {
  ASSERT_TRUE(pt::PutClipboardText("kept"));
  EXPECT_EQ(platform::GetClipboardData(platform::kClipboardText), nullptr);
  platform::MemoryHandle block = platform::GlobalAlloc(platform::kGmemMoveable, 8);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(platform::SetClipboardData(platform::kClipboardText, block), nullptr);
  // Not taken over: still ours to release.
  EXPECT_EQ(platform::GlobalFree(block), nullptr);
  EXPECT_FALSE(platform::CloseClipboard());
  EXPECT_EQ(pt::ClipboardText(), "kept");
}

#ifdef TERVOLIN_CLIPBOARD_FAULTS

TEST_F(PlatformClipboard, OnlyOneOpenerAtATime) {
  ASSERT_TRUE(platform::OpenClipboard());
  EXPECT_FALSE(platform::OpenClipboard());
  EXPECT_FALSE(pt::PutClipboardText("while open"));
  EXPECT_TRUE(platform::CloseClipboard());
  EXPECT_FALSE(platform::CloseClipboard());
  EXPECT_TRUE(platform::OpenClipboard());
  EXPECT_TRUE(platform::CloseClipboard());
}

TEST_F(PlatformClipboard, ASetBlockBelongsToTheClipboardUntilItIsReplaced) {
  ASSERT_TRUE(pt::ClearClipboard());
  const std::size_t before = pt::LiveGlobalBlocks();
  platform::MemoryHandle first = platform::GlobalAlloc(platform::kGmemMoveable, 8);
  ASSERT_TRUE(platform::OpenClipboard());
  ASSERT_EQ(platform::SetClipboardData(platform::kClipboardText, first), first);
  // The owner may not release it, nor set it a second time.
  EXPECT_EQ(platform::GlobalFree(first), first);
  EXPECT_EQ(platform::SetClipboardData(platform::kClipboardText, first), nullptr);
  EXPECT_EQ(pt::LiveGlobalBlocks(), before + 1);
  // Replacing the format releases the old block.
  platform::MemoryHandle second = platform::GlobalAlloc(platform::kGmemMoveable, 8);
  ASSERT_EQ(platform::SetClipboardData(platform::kClipboardText, second), second);
  EXPECT_EQ(pt::LiveGlobalBlocks(), before + 1);
  EXPECT_TRUE(platform::EmptyClipboard());
  EXPECT_EQ(pt::LiveGlobalBlocks(), before);
  EXPECT_TRUE(platform::CloseClipboard());
}

TEST_F(PlatformClipboard, BlocksLockCountAndRefuseStaleHandles) {
  platform::MemoryHandle block = platform::GlobalAlloc(platform::kGmemMoveable | platform::kGmemDdeshare, 4);
  ASSERT_NE(block, nullptr);
  void* once = platform::GlobalLock(block);
  void* twice = platform::GlobalLock(block);
  EXPECT_NE(once, nullptr);
  EXPECT_EQ(once, twice);
  EXPECT_EQ(platform::GlobalSize(block), 4u);
  EXPECT_TRUE(platform::GlobalUnlock(block));
  EXPECT_FALSE(platform::GlobalUnlock(block));
  EXPECT_FALSE(platform::GlobalUnlock(block));
  EXPECT_EQ(platform::GlobalFree(block), nullptr);
  EXPECT_EQ(platform::GlobalFree(block), block);
  EXPECT_EQ(platform::GlobalLock(block), nullptr);
  EXPECT_EQ(platform::GlobalSize(block), 0u);

  platform::MemoryHandle empty = platform::GlobalAlloc(platform::kGmemMoveable, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(platform::GlobalLock(empty), nullptr);
  EXPECT_EQ(platform::GlobalFree(empty), nullptr);
}

#endif

}  // namespace
