// An allocation that fails under a menu pick: the Nth allocation made by the
// plug-in's own code throws std::bad_alloc (failing_allocator.hpp), for
// every N the pick reaches. The exports answer failure
// instead of unwinding into the host, the document is as it was, no widget
// is left behind, and the next pick works.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "allocation/failing_allocator.hpp"
#include "integration/pick_harness.hpp"
#include "mqhost/settings.hpp"

namespace pick {
namespace {

class AllocationFailure : public MenuPick {
 protected:
  // Copy to selected, with "Trans(&f)orm", onto two selected objects.
  void BuildScene() {
    mqhost::DestroyDocument(document);
    document = mqhost::CreateDocument();
    mqhost::ObjectData source = LiveObject("Source", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    source.frame = MakeFrame({0, 2, 0}, {-2, 0, 0}, {0, 0, 2}, {1, 2, 3});
    Add(source);
    for (const char* name : {"First", "Second"}) {
      mqhost::ObjectData target = LiveObject(name, {{1, 1, 1}, {4, 0, 0}, {0, 5, 0}, {0, 0, 6}});
      target.selected = true;
      Add(target);
    }
    mqhost::SetCurrentObjectIndex(document, 0);
  }
  // One pick with the plug-in's allocation `n` failing (0: none); its answer.
  int32_t PickFailing(long n) {
    mqhost::ResetSettings();
    mqhost::ScriptUser({mqhost::Click("Trans(&f)orm"), mqhost::Click("Copy")});
    failing_allocator::Arm(n);
    const int32_t result = plugin->api().MQModifyObject(0, document);
    failing_allocator::Disarm();
    mqhost::ScriptUser({});
    return result;
  }
  std::string Document() { return mqhost::SceneText(document); }
};

TEST_F(AllocationFailure, EveryFailedAllocationUnderAPickAnswersFailureAndChangesNothing) {
  BuildScene();
  const std::string untouched = Document();
  ASSERT_EQ(PickFailing(0), 1);
  const std::string picked = Document();
  ASSERT_NE(picked, untouched);
  const long total = failing_allocator::PluginAllocations();
  ASSERT_GT(total, 0);

  long failed = 0;
  for (long n = 1; n <= total; ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(total));
    BuildScene();
    const int32_t result = PickFailing(n);
    EXPECT_EQ(mqhost::LiveWidgetIds(), std::vector<int32_t>{});
    if (result == 0) {
      ++failed;
      EXPECT_EQ(Document(), untouched);
    } else {
      // An allocation inside a widget event fails that event alone, which
      // the event procedure answers with 0; the run goes on.
      EXPECT_NE(Document(), picked) << "allocation " << n << " failed, yet the pick did all its work";
    }
  }
  EXPECT_GT(failed, 0);
  // The operation's own allocations come last: failing them fails the pick.
  BuildScene();
  EXPECT_EQ(PickFailing(total), 0);
  EXPECT_EQ(Document(), untouched);

  BuildScene();
  EXPECT_EQ(PickFailing(0), 1);
  EXPECT_EQ(Document(), picked);
}

}  // namespace
}  // namespace pick
