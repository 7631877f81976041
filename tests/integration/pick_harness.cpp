#include "pick_harness.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "mqhost/error_log.hpp"
#include "mqhost/settings.hpp"

namespace pick {

Matrix16 MakeFrame(Point3 x, Point3 y, Point3 z, Point3 origin) {
  return {x.x, x.y, x.z, 0, y.x, y.y, y.z, 0, z.x, z.y, z.z, 0, origin.x, origin.y, origin.z, 1};
}

Matrix16 Translated(Point3 origin) { return MakeFrame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, origin); }

mqhost::ObjectData LiveObject(const std::string& name, const std::vector<Point3>& vertices) {
  mqhost::ObjectData object;
  object.name = name;
  object.vertices = vertices;
  const auto count = static_cast<int32_t>(vertices.size());
  for (int32_t first = 0; first < count; first += 3) {
    object.faces.push_back({first % count, (first + 1) % count, (first + 2) % count});
  }
  return object;
}

::testing::AssertionResult FramesNear(const Matrix16& actual, const Matrix16& expected, float tolerance) {
  for (size_t i = 0; i < actual.size(); ++i) {
    if (!(std::fabs(actual[i] - expected[i]) <= tolerance)) {
      std::ostringstream text;
      text << "element " << i << " is " << actual[i] << ", expected " << expected[i] << "\n  actual:";
      for (float value : actual) text << ' ' << value;
      text << "\n  expected:";
      for (float value : expected) text << ' ' << value;
      return ::testing::AssertionFailure() << text.str();
    }
  }
  return ::testing::AssertionSuccess();
}

const mqhost::WidgetSnapshot* FindByCaption(const mqhost::WidgetSnapshot& tree, const std::string& caption) {
  if (tree.caption == caption) return &tree;
  for (const auto& child : tree.children) {
    if (const auto* found = FindByCaption(child, caption)) return found;
  }
  return nullptr;
}

const mqhost::WidgetSnapshot* FindByClass(const mqhost::WidgetSnapshot& tree, const std::string& className) {
  if (tree.className == className) return &tree;
  for (const auto& child : tree.children) {
    if (const auto* found = FindByClass(child, className)) return found;
  }
  return nullptr;
}

namespace {

constexpr int32_t kCreate = 0x101;
constexpr int32_t kDelete = 0x102;

// Every widget the pick created is deleted exactly once, the dialog last.
void ExpectEveryWidgetReleased(int32_t dialogId) {
  std::map<int32_t, int> deletions;
  std::vector<int32_t> created;
  int32_t lastDeleted = 0;
  for (const auto& request : mqhost::RequestLog()) {
    if (request.code == kCreate) {
      for (const auto& value : request.values) {
        if (value.name == "id" && value.output && value.integer != 0) {
          created.push_back(static_cast<int32_t>(value.integer));
        }
      }
    } else if (request.code == kDelete) {
      ++deletions[request.id];
      lastDeleted = request.id;
    }
  }
  ASSERT_FALSE(created.empty()) << "the pick created no widget";
  for (int32_t id : created) EXPECT_EQ(deletions[id], 1) << "widget #" << id;
  EXPECT_EQ(deletions.size(), created.size()) << "a widget the pick did not create was deleted";
  EXPECT_EQ(lastDeleted, dialogId) << "the dialog must go after its controls";
  EXPECT_TRUE(mqhost::LiveWidgetIds().empty());
}

}  // namespace

void MenuPick::SetUp() {
  mqhost::ResetWidgets();
  mqhost::ResetSettings();
  // A test may take the settings tree away; the next starts with one.
  mqhost::SetSettingsAvailable(true);
  mqhost::ClearProtocolErrors();
  document = mqhost::CreateDocument();
  plugin = std::make_unique<testing_support::PluginLibrary>();
  ASSERT_TRUE(plugin->Start());
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  settingsFile = testing_support::ExecutableDir() + "/pick-settings-" + test->test_suite_name() + "-" +
                 test->name() + ".xml";
}

void MenuPick::TearDown() {
  plugin.reset();
  mqhost::DestroyDocument(document);
  std::remove(settingsFile.c_str());
  const auto errors = mqhost::ProtocolErrors();
  for (const auto& error : errors) ADD_FAILURE() << "protocol error: " << error;
}

int32_t MenuPick::Pick(const std::vector<mqhost::UserAction>& actions) {
  mqhost::ScriptUser(actions);
  mqhost::ClearRequestLog();
  const int32_t result = plugin->api().MQModifyObject(0, document);
  const mqhost::ModalOutcome outcome = mqhost::LastModalOutcome();
  EXPECT_TRUE(outcome.ran) << "no dialog ran";
  EXPECT_FALSE(outcome.ranOutOfActions) << "the script ended before the dialog closed";
  EXPECT_EQ(mqhost::RemainingUserActions(), 0u) << "the dialog closed before the script ended";
  ExpectEveryWidgetReleased(outcome.dialogId);
  return result;
}

void MenuPick::RestartHost() {
  std::string error;
  ASSERT_TRUE(mqhost::SaveSettingsFile(settingsFile, &error)) << error;
  plugin.reset();
  mqhost::ResetSettings();
  ASSERT_FALSE(mqhost::HasSettingsSection(kSection));
  ASSERT_TRUE(mqhost::LoadSettingsFile(settingsFile, &error)) << error;
  plugin = std::make_unique<testing_support::PluginLibrary>();
  ASSERT_TRUE(plugin->Start());
}

int32_t MenuPick::Add(const mqhost::ObjectData& object) {
  const int32_t index = mqhost::AddObject(document, object);
  EXPECT_GE(index, 0) << "object " << object.name << " was rejected";
  return index;
}

}  // namespace pick
