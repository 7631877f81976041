// Code 7 on a document of the replacement host: the reference object's frame,
// part by part, to every other selected object.
#include "frame_copy_fixture.hpp"
#include "mqhost/faults.hpp"

namespace {

using namespace frame_copy_testing;
using tervolin::OpCopyToSelected;

class CopyToSelected : public FrameCopyTest {
 protected:
  void SetUp() override {
    FrameCopyTest::SetUp();
    sourceFrame = Frame({2, 1, 0.5f}, {30, 20, 10}, {1, -2, 3});
    source = AddObject("source", sourceFrame, false);
    first = AddObject("first", Frame({1.5f, 3, 1}, {-60, 45, 120}, {-4, 5, 0.25f}), true);
    unselected = AddObject("unselected", Frame({1, 1, 1}, {10, 0, 0}, {0, 0, 9}), false);
    second = AddObject("second", Frame({0.5f, 0.5f, 4}, {0, -30, 0}, {6, 0, -1}), true);
    for (int32_t index = 0; index < 4; ++index) before.push_back(mqhost::GetObject(document, index));
  }
  void ExpectTookParts(int32_t index, bool scale, bool rotation, bool translation) {
    const Parts now = Decompose(mqhost::GetObject(document, index).frame);
    const Parts own = Decompose(before[static_cast<size_t>(index)].frame);
    const Parts copied = Decompose(sourceFrame);
    ExpectNear(now.scale, scale ? copied.scale : own.scale, 1e-4f);
    ExpectNear(now.angle, rotation ? copied.angle : own.angle, 1e-2f);
    ExpectNear(now.translation, translation ? copied.translation : own.translation, 1e-4f);
  }

  Matrix16 sourceFrame{};
  int32_t source = -1;
  int32_t first = -1;
  int32_t unselected = -1;
  int32_t second = -1;
  std::vector<mqhost::ObjectData> before;
};

TEST_F(CopyToSelected, OnlyRotationGivesEachSelectedObjectTheSourcesRotation) {
  options.copyRotation = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 1);
  ExpectTookParts(first, false, true, false);
  ExpectTookParts(second, false, true, false);
  ExpectUnchanged(source, before[0]);
  ExpectUnchanged(unselected, before[2]);
  // Without "Trans(&f)orm" only frames are written.
  ExpectUnchanged(first, [&] {
    mqhost::ObjectData framed = before[1];
    framed.frame = mqhost::GetObject(document, first).frame;
    return framed;
  }());
}

TEST_F(CopyToSelected, AllThreePartsGiveTheSourcesFrame) {
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 1);
  ExpectMatrixNear(mqhost::GetObject(document, first).frame, sourceFrame, 1e-5f);
  ExpectMatrixNear(mqhost::GetObject(document, second).frame, sourceFrame, 1e-5f);
  ExpectUnchanged(unselected, before[2]);
}

// A selected source is not changed, and an empty slot between the targets is
// passed over, as is a selected object the host answers as not in the
// document (index -1).
TEST_F(CopyToSelected, ASelectedSourceEmptySlotsAndObjectsNotInTheDocumentAreSkipped) {
  mqhost::ObjectData selectedSource = before[0];
  selectedSource.selected = true;
  mqhost::SetObject(document, source, selectedSource);
  mqhost::DeleteObject(document, unselected);
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  options.transformVertices = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 1);
  ExpectUnchanged(source, selectedSource);
  ExpectMatrixNear(mqhost::GetObject(document, first).frame, sourceFrame, 1e-5f);
  ExpectMatrixNear(mqhost::GetObject(document, second).frame, sourceFrame, 1e-5f);

  for (int32_t index : {first, second})
    mqhost::SetObject(document, index, before[static_cast<size_t>(index)]);
  mqhost::HideObjectIndex(mqhost::ObjectHandleAt(document, first));
  const int32_t result = Run(OpCopyToSelected, source);
  mqhost::ClearHiddenObjects();
  EXPECT_EQ(result, 1);
  ExpectUnchanged(first, before[static_cast<size_t>(first)]);
  ExpectMatrixNear(mqhost::GetObject(document, second).frame, sourceFrame, 1e-5f);
}

TEST_F(CopyToSelected, TheSelectedCurrentObjectTakesTheChosenReferencesFrame) {
  // The unselected object is the reference; the current one ("first") is selected.
  options.referenceObjectId = UniqueIdOf(unselected);
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  EXPECT_EQ(Run(OpCopyToSelected, first), 1);
  ExpectMatrixNear(mqhost::GetObject(document, first).frame, before[2].frame, 1e-5f);
  ExpectMatrixNear(mqhost::GetObject(document, second).frame, before[2].frame, 1e-5f);
  ExpectUnchanged(unselected, before[2]);
  ExpectUnchanged(source, before[0]);
}

TEST_F(CopyToSelected, NothingElseSelectedLeavesTheDocumentAsItWas) {
  for (int32_t index : {first, second}) {
    mqhost::ObjectData object = before[static_cast<size_t>(index)];
    object.selected = false;
    mqhost::SetObject(document, index, object);
    before[static_cast<size_t>(index)] = object;
  }
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  options.transformVertices = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 1);
  for (int32_t index = 0; index < 4; ++index) ExpectUnchanged(index, before[static_cast<size_t>(index)]);
}

TEST_F(CopyToSelected, WithTransformEachChangedObjectsVerticesFollowItsNewFrame) {
  options.copyRotation = true;
  options.copyTranslation = true;
  options.transformVertices = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 1);
  for (int32_t index : {first, second}) {
    SCOPED_TRACE(index);
    ExpectTookParts(index, false, true, true);
    ExpectVerticesCarried(index, before[static_cast<size_t>(index)],
                          mqhost::GetObject(document, index).frame);
  }
  ExpectUnchanged(source, before[0]);
  ExpectUnchanged(unselected, before[2]);
}

TEST_F(CopyToSelected, AReferenceToNoObjectChangesNothing) {
  options.referenceObjectId = 0x7777u;
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  options.transformVertices = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 0);
  for (int32_t index = 0; index < 4; ++index) ExpectUnchanged(index, before[static_cast<size_t>(index)]);
}

// Every target is worked out before the first is written: one whose vertices
// would leave the float range stops the copy with no target changed.
TEST_F(CopyToSelected, ATargetCarriedPastTheFloatRangeStopsTheWholeCopy) {
  mqhost::VerticesOf(document, second)[0] = {3e38f, -3e38f, 3e38f};
  before[static_cast<size_t>(second)] = mqhost::GetObject(document, second);
  options.copyRotation = options.copyScale = options.copyTranslation = true;
  options.transformVertices = true;
  EXPECT_EQ(Run(OpCopyToSelected, source), 0);
  for (int32_t index = 0; index < 4; ++index) ExpectUnchanged(index, before[static_cast<size_t>(index)]);
}

}  // namespace
