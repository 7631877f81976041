// Random scenes and scripted users: the host accepts every scene without a
// protocol error, the degenerate cases all turn up, and a seed gives the same
// scenes and scripts again (the validator's replay rests on it).
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "document_view.hpp"
#include "mqhost/error_log.hpp"
#include "scene_gen.hpp"
#include "user_script.hpp"

namespace {

TEST(RandomScenes, HostAcceptsThemAndEveryDegenerateCaseTurnsUp) {
  mqhost::ClearProtocolErrors();
  validator::Rng rng(11);
  std::set<std::string> seen;
  for (int i = 0; i < 400; ++i) {
    std::string notes;
    const DocumentHandle document = validator::GenerateScene(rng, validator::SceneSpec(), &notes);
    std::istringstream list(notes);
    for (std::string kind; std::getline(list, kind, ',');) seen.insert(kind);
    mqhost::DestroyDocument(document);
  }
  EXPECT_TRUE(mqhost::ProtocolErrors().empty()) << mqhost::ProtocolErrors().front();
  for (const char* kind :
       {"empty", "huge", "tiny", "coincident", "removed-face", "short-face", "deleted-slot", "no-current",
        "mirror", "singular", "sheared", "far-origin", "near-limit", "limit-scale", "limit-origin"}) {
    EXPECT_EQ(seen.count(kind), 1u) << kind;
  }
}

TEST(RandomScenes, SameSeedGivesTheSameScenesAndScripts) {
  validator::Rng first(99);
  validator::Rng second(99);
  for (int i = 0; i < 20; ++i) {
    std::string notes;
    const DocumentHandle a = validator::GenerateScene(first, validator::SceneSpec(), &notes);
    const DocumentHandle b = validator::GenerateScene(second, validator::SceneSpec(), &notes);
    const validator::DocumentCopy copyA = validator::CopyDocument(a);
    const validator::DocumentCopy copyB = validator::CopyDocument(b);
    EXPECT_EQ(validator::Difference(copyA, copyB), "");
    mqhost::DestroyDocument(a);
    mqhost::DestroyDocument(b);
    validator::ReferenceList list;
    list.items = {"-", "obj1"};
    const auto scriptA = validator::RandomScript(first, list);
    const auto scriptB = validator::RandomScript(second, list);
    ASSERT_EQ(scriptA.size(), scriptB.size());
    for (size_t k = 0; k < scriptA.size(); ++k) {
      EXPECT_EQ(mqhost::DescribeAction(scriptA[k]), mqhost::DescribeAction(scriptB[k]));
    }
    EXPECT_EQ(scriptA.back().kind, mqhost::UserAction::Kind::CloseWindow) << "every script ends by closing";
  }
}

TEST(ScriptedUser, ClosingActionsGiveTheOperationCodes) {
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Key('C', true)), 14);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Key('C')), 6);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Key('V', true)), 15);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Key('V')), 1);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Key('F')), 0);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Click("&X")), 8);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Click("X")), 11);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Click("Clear")), 16);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::Click("Cancel")), 0);
  EXPECT_EQ(validator::OperationOfClosingAction(mqhost::CloseWindow()), 0);
}

}  // namespace
