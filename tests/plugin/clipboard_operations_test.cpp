// Codes 14 to 16 on a document of the replacement host, with the platform's
// clipboard (the real one on Windows).
#include <string>

#include "frame_copy_fixture.hpp"
#include "platform/clipboard_testing.hpp"

namespace {

using namespace frame_copy_testing;
namespace pt = platform::testing;
using tervolin::OpClear;
using tervolin::OpClipboardCopy;
using tervolin::OpClipboardPaste;

const Matrix16 kIdentity = mqhost::IdentityMatrix();
const std::string kIdentityText = "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1";

class ClipboardOperations : public FrameCopyTest {
 protected:
  void SetUp() override {
    FrameCopyTest::SetUp();
    source = Frame({2, 1, 0.5f}, {30, 20, 10}, {1, -2, 3});
    target = Frame({1.5f, 3, 1}, {-60, 45, 120}, {-4, 5, 0.25f});
    sourceIndex = AddObject("source", source, false);
    targetIndex = AddObject("target", target, false);
  }
  void TearDown() override {
#ifdef TERVOLIN_CLIPBOARD_FAULTS
    pt::SetClipboardFaults({});
#endif
    FrameCopyTest::TearDown();
  }
  // Pastes `text` onto the target; the result of the operation.
  int32_t Paste(const std::string& text) {
    EXPECT_TRUE(pt::PutClipboardText(text));
    return Run(OpClipboardPaste, targetIndex);
  }
  void CheckAll() { options.copyRotation = options.copyScale = options.copyTranslation = true; }

  Matrix16 source{};
  Matrix16 target{};
  int32_t sourceIndex = -1;
  int32_t targetIndex = -1;
};

TEST_F(ClipboardOperations, CopyPutsExactlyTheFrameTextAndAnswersNotDone) {
  const mqhost::ObjectData before = mqhost::GetObject(document, sourceIndex);
  mqhost::SetFrame(document, sourceIndex, kIdentity);
  ASSERT_TRUE(pt::PutClipboardText("something else"));
  EXPECT_EQ(Run(OpClipboardCopy, sourceIndex), 0);
  EXPECT_EQ(pt::ClipboardText(), kIdentityText);

  const Matrix16 odd = {0.1f, 1234567.0f, 0.0001f, 0.00001f, -0.0f, 1, 0, 0, 0, 0, 1, 0, -2.5f, 1e20f, 3, 1};
  mqhost::SetFrame(document, sourceIndex, odd);
  options.transformVertices = true;  // plays no part in a copy
  EXPECT_EQ(Run(OpClipboardCopy, sourceIndex), 0);
  EXPECT_EQ(pt::ClipboardText(), "0.1,1.23457e+06,0.0001,1e-05,-0,1,0,0,0,0,1,0,-2.5,1e+20,3,1");
  EXPECT_EQ(mqhost::GetObject(document, sourceIndex).frame, odd);
  EXPECT_EQ(mqhost::GetObject(document, sourceIndex).vertices[0].x, before.vertices[0].x);
}

TEST_F(ClipboardOperations, PasteOfACopyWithAllPartsGivesTheCopiedFrame) {
  CheckAll();
  EXPECT_EQ(Run(OpClipboardCopy, sourceIndex), 0);
  EXPECT_EQ(Run(OpClipboardPaste, targetIndex), 1);
  // Six significant digits in the text, then the host's decomposition.
  ExpectMatrixNear(mqhost::GetObject(document, targetIndex).frame, source, 2e-5f);
  ExpectUnchanged(sourceIndex, mqhost::GetObject(document, sourceIndex));
}

TEST_F(ClipboardOperations, PasteWithOnlyRotationKeepsScaleAndTranslation) {
  options.copyRotation = true;
  EXPECT_EQ(Run(OpClipboardCopy, sourceIndex), 0);
  EXPECT_EQ(Run(OpClipboardPaste, targetIndex), 1);
  const Parts after = Decompose(mqhost::GetObject(document, targetIndex).frame);
  const Parts was = Decompose(target);
  const Parts copied = Decompose(source);
  ExpectNear(after.scale, was.scale, 1e-4f);
  ExpectNear(after.translation, was.translation, 1e-5f);
  ExpectNear(after.angle, copied.angle, 1e-2f);
}

TEST_F(ClipboardOperations, PasteOfEachPartAloneTakesOnlyThatPart) {
  options.copyScale = true;
  ASSERT_EQ(Paste("2,0,0,0, 0,3,0,0, 0,0,4,0, 9,9,9,1"), 1);
  Parts after = Decompose(mqhost::GetObject(document, targetIndex).frame);
  ExpectNear(after.scale, {2, 3, 4}, 1e-4f);
  ExpectNear(after.angle, Decompose(target).angle, 1e-2f);
  ExpectNear(after.translation, Decompose(target).translation, 1e-5f);

  // The translation alone takes nothing from the pasted axes: flat ones do.
  options.copyScale = false;
  options.copyTranslation = true;
  ASSERT_EQ(Paste("0,0,0,0, 1,2,3,0, 2,4,6,0, 9,8,7,1"), 1);
  after = Decompose(mqhost::GetObject(document, targetIndex).frame);
  ExpectNear(after.translation, {9, 8, 7}, 1e-5f);
  ExpectNear(after.scale, {2, 3, 4}, 1e-4f);
}

// Pasted numbers are not judged: without Trans(&f)orm whatever finite frame
// the host composes from their parts is written, a flat one too. With it, a
// frame the vertices could not be carried into (a flat one) changes nothing.
TEST_F(ClipboardOperations, PasteOfFlatAxesWritesTheComposedFrameUnlessVerticesFollow) {
  const char* const flat = "0,0,0,0, 1,2,3,0, 2,4,6,0, 1,1,1,1";
  const Matrix16 flatMatrix = {0, 0, 0, 0, 1, 2, 3, 0, 2, 4, 6, 0, 1, 1, 1, 1};
  const Matrix16 parallelMatrix = {1, 2, 3, 0, 2, 4, 6, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  const Matrix16 coplanarMatrix = {1, 0, 0, 0, 1, 1, 0, 0, 2, 1, 0, 0, 0, 0, 0, 1};
  const Matrix16 nearlyFlatMatrix = {1, 0, 0, 0, 1, 1e-7f, 0, 0, 0, 0, 1, 0, 1, 2, 3, 1};
  const struct {
    const char* text;
    Matrix16 matrix;
    bool rotation;
    bool scale;
    bool transform;
    int32_t result;
  } cases[] = {
      {"0,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1", flatMatrix, false, true, true, 0},  // a zero axis
      // Parallel axes, or Z in the plane of X and Y: the host's rotation is
      // whole and the axes' lengths are not zero, so the vertices follow.
      {"1,2,3,0,2,4,6,0,0,0,1,0,0,0,0,1", parallelMatrix, true, true, true, 1},
      {"1,0,0,0,1,1,0,0,2,1,0,0,0,0,0,1", coplanarMatrix, true, true, true, 1},
      {flat, flatMatrix, true, false, false, 1},
      {flat, flatMatrix, false, true, false, 1},
      {flat, flatMatrix, true, true, false, 1},
      {"1,0,0,0, 1,1e-07,0,0, 0,0,1,0, 1,2,3,1", nearlyFlatMatrix, true, true, false, 1},
      {flat, flatMatrix, false, true, true, 0},
      {flat, flatMatrix, true, true, true, 0},
      // Only the pasted rotation: the target's own scales keep the frame whole.
      {flat, flatMatrix, true, false, true, 1},
  };
  for (const auto& each : cases) {
    mqhost::SetFrame(document, targetIndex, target);
    const mqhost::ObjectData before = mqhost::GetObject(document, targetIndex);
    options.copyRotation = each.rotation;
    options.copyScale = each.scale;
    options.copyTranslation = false;
    options.transformVertices = each.transform;
    const std::string name = std::string(each.text) + (each.rotation ? " R" : "") + (each.scale ? " S" : "") +
                             (each.transform ? " with Transform" : "");
    ASSERT_EQ(Paste(each.text), each.result) << name;
    if (each.result == 0) {
      ExpectUnchanged(targetIndex, before);
      continue;
    }
    Parts mine = Decompose(target);
    const Parts pasted = Decompose(each.matrix);
    if (each.rotation) mine.angle = pasted.angle;
    if (each.scale) mine.scale = pasted.scale;
    const Matrix16 expected = mqhost::ComposeMatrix(mine.scale, mine.angle, mine.translation);
    const mqhost::ObjectData after = mqhost::GetObject(document, targetIndex);
    ExpectMatrixNear(after.frame, expected, 1e-5f);
    if (each.transform) {
      ExpectVerticesCarried(targetIndex, before, after.frame);
    } else {
      EXPECT_EQ(after.vertices[0].x, before.vertices[0].x) << name;
    }
  }
}

TEST_F(ClipboardOperations, PasteThatCannotGiveAFrameChangesNothing) {
  CheckAll();
  options.transformVertices = true;
  const mqhost::ObjectData before = mqhost::GetObject(document, targetIndex);
  const char* const texts[] = {
      "1,0,0,0,0,1,0,0,0,0,1,0,0,0,0",                   // fifteen numbers
      "",                                                // empty text
      "identity",                                        // no number at all
      "1e39,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1",              // beyond the float range
      "3e38,3e38,0,0,-3e38,3e38,0,0,0,0,3e38,0,0,0,0,1"  // axes too long to measure
  };
  for (const char* text : texts) {
    EXPECT_EQ(Paste(text), 0) << '"' << text << '"';
    ExpectUnchanged(targetIndex, before);
  }
  ASSERT_TRUE(pt::ClearClipboard());
  EXPECT_EQ(Run(OpClipboardPaste, targetIndex), 0);
  ExpectUnchanged(targetIndex, before);
}

TEST_F(ClipboardOperations, PasteWithTransformCarriesTheVerticesToTheNewFrame) {
  CheckAll();
  options.transformVertices = true;
  const mqhost::ObjectData before = mqhost::GetObject(document, targetIndex);
  ASSERT_EQ(Paste("0,1,0,0,-2,0,0,0,0,0,1,0,3,4,5,1"), 1);
  const Matrix16 pasted = {0, 1, 0, 0, -2, 0, 0, 0, 0, 0, 1, 0, 3, 4, 5, 1};
  const Matrix16 written = mqhost::GetObject(document, targetIndex).frame;
  ExpectMatrixNear(written, pasted, 1e-5f);
  ExpectVerticesCarried(targetIndex, before, written);
}

TEST_F(ClipboardOperations, ClearWritesTheIdentityAndMovesVerticesOnlyWithTransform) {
  const mqhost::ObjectData before = mqhost::GetObject(document, targetIndex);
  options.copyScale = options.copyTranslation = true;  // play no part in a clear
  EXPECT_EQ(Run(OpClear, targetIndex), 1);
  mqhost::ObjectData after = mqhost::GetObject(document, targetIndex);
  EXPECT_EQ(after.frame, kIdentity);
  mqhost::ObjectData framedBefore = before;
  framedBefore.frame = kIdentity;
  ExpectUnchanged(targetIndex, framedBefore);

  mqhost::SetFrame(document, targetIndex, target);
  options.transformVertices = true;
  EXPECT_EQ(Run(OpClear, targetIndex), 1);
  EXPECT_EQ(mqhost::GetObject(document, targetIndex).frame, kIdentity);
  ExpectVerticesCarried(targetIndex, before, kIdentity);
}

TEST_F(ClipboardOperations, AReferenceToNoObjectChangesNothing) {
  CheckAll();
  options.transformVertices = true;
  options.referenceObjectId = 0x7777u;
  const mqhost::ObjectData source0 = mqhost::GetObject(document, sourceIndex);
  const mqhost::ObjectData target0 = mqhost::GetObject(document, targetIndex);
  ASSERT_TRUE(pt::PutClipboardText(kIdentityText));
  EXPECT_EQ(Run(OpClipboardPaste, targetIndex), 0);
  EXPECT_EQ(Run(OpClear, targetIndex), 0);
  ASSERT_TRUE(pt::PutClipboardText("kept"));
  EXPECT_EQ(Run(OpClipboardCopy, targetIndex), 0);
  EXPECT_EQ(pt::ClipboardText(), "kept");
  ExpectUnchanged(sourceIndex, source0);
  ExpectUnchanged(targetIndex, target0);
}

#ifdef TERVOLIN_CLIPBOARD_FAULTS

TEST_F(ClipboardOperations, CopyAnswersNotDoneWhenTheClipboardFailsAndLeavesNoMemory) {
  for (const pt::ClipboardFaults& faults :
       {pt::ClipboardFaults{true, false, false, false}, pt::ClipboardFaults{false, true, false, false},
        pt::ClipboardFaults{false, false, true, false}, pt::ClipboardFaults{false, false, false, true}}) {
    ASSERT_TRUE(pt::PutClipboardText("old"));
    const std::size_t blocks = pt::LiveGlobalBlocks();
    pt::SetClipboardFaults(faults);
    EXPECT_EQ(Run(OpClipboardCopy, sourceIndex), 0);
    pt::SetClipboardFaults({});
    EXPECT_FALSE(pt::ClipboardIsOpen());
    // A failed set comes after the clipboard was emptied; otherwise the old
    // text stays. Either way the copy's own block is gone.
    if (faults.setFails) {
      EXPECT_EQ(pt::ClipboardText(), std::nullopt);
      EXPECT_EQ(pt::LiveGlobalBlocks(), blocks - 1);
    } else {
      EXPECT_EQ(pt::ClipboardText(), "old");
      EXPECT_EQ(pt::LiveGlobalBlocks(), blocks);
    }
  }
}

TEST_F(ClipboardOperations, PasteOfAClipboardThatCannotBeOpenedChangesNothing) {
  CheckAll();
  const mqhost::ObjectData before = mqhost::GetObject(document, targetIndex);
  ASSERT_TRUE(pt::PutClipboardText(kIdentityText));
  pt::SetClipboardFaults({true, false, false, false});
  EXPECT_EQ(Run(OpClipboardPaste, targetIndex), 0);
  pt::SetClipboardFaults({false, false, true, false});
  EXPECT_EQ(Run(OpClipboardPaste, targetIndex), 0);
  ExpectUnchanged(targetIndex, before);
}

#endif

}  // namespace
