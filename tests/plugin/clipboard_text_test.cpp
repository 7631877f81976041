#include "operations/clipboard_text.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/clipboard.hpp"
#include "platform/clipboard_testing.hpp"

namespace {

namespace pt = platform::testing;
using tervolin::ReadClipboardText;
using tervolin::WriteClipboardText;

// Written text is on the clipboard exactly (a frame's text through the copy
// operation's tests); read gives the text up to its end.
TEST(ClipboardText, WrittenAndReadWhole) {
  ASSERT_TRUE(WriteClipboardText(""));
  EXPECT_EQ(pt::ClipboardText(), "");
  ASSERT_TRUE(pt::PutClipboardText("2; 3 ;\t4"));
  EXPECT_EQ(ReadClipboardText(), "2; 3 ;\t4");
  ASSERT_TRUE(pt::ClearClipboard());
  EXPECT_EQ(ReadClipboardText(), "");
}

#ifdef TERVOLIN_CLIPBOARD_FAULTS

class ClipboardTextFaults : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pt::PutClipboardText("old")); }
  void TearDown() override {
    pt::SetClipboardFaults({});
    EXPECT_FALSE(pt::ClipboardIsOpen());
  }
  // The blocks alive once the old text is on the clipboard.
  std::size_t Baseline() const { return pt::LiveGlobalBlocks(); }
};

TEST_F(ClipboardTextFaults, TextWithoutItsNulIsReadToTheEndOfTheBlockOnly) {
  platform::MemoryHandle block = platform::GlobalAlloc(platform::kGmemMoveable, 3);
  ASSERT_NE(block, nullptr);
  std::memcpy(platform::GlobalLock(block), "abc", 3);
  platform::GlobalUnlock(block);
  ASSERT_TRUE(platform::OpenClipboard());
  platform::EmptyClipboard();
  ASSERT_NE(platform::SetClipboardData(platform::kClipboardText, block), nullptr);
  platform::CloseClipboard();
  EXPECT_EQ(ReadClipboardText(), "abc");
}

TEST_F(ClipboardTextFaults, FailedWritesLeaveNoBlockBehind) {
  struct Case {
    pt::ClipboardFaults faults;
    bool oldTextKept;  // false: the clipboard was emptied before the set failed
  };
  for (const Case& c : {Case{{true, false, false, false}, true}, Case{{false, true, false, false}, true},
                        Case{{false, false, true, false}, true}, Case{{false, false, false, true}, false}}) {
    ASSERT_TRUE(pt::PutClipboardText("old"));
    const std::size_t baseline = Baseline();
    pt::SetClipboardFaults(c.faults);
    EXPECT_FALSE(WriteClipboardText("new"));
    pt::SetClipboardFaults({});
    EXPECT_FALSE(pt::ClipboardIsOpen());
    if (c.oldTextKept) {
      EXPECT_EQ(pt::LiveGlobalBlocks(), baseline);
      EXPECT_EQ(pt::ClipboardText(), "old");
    } else {
      EXPECT_EQ(pt::LiveGlobalBlocks(), baseline - 1);
      EXPECT_EQ(pt::ClipboardText(), std::nullopt);
    }
  }
}

TEST_F(ClipboardTextFaults, ASuccessfulWriteHandsItsBlockOver) {
  const std::size_t baseline = Baseline();
  ASSERT_TRUE(WriteClipboardText("new"));
  // The old text's block went with EmptyClipboard; the new one is held.
  EXPECT_EQ(pt::LiveGlobalBlocks(), baseline);
  EXPECT_EQ(pt::ClipboardText(), "new");
}

#endif

}  // namespace
