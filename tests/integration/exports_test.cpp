// The plug-in as the host modeller sees it: loaded as a library and reached
// only through its fourteen exports.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "mqhost/error_log.hpp"
#include "support/plugin_library.hpp"

namespace {

using testing_support::PluginLibrary;

class PluginExports : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plugin.loaded()) << testing_support::PluginPath();
    ASSERT_TRUE(plugin.complete());
    mqhost::ClearProtocolErrors();
  }
  void TearDown() override { EXPECT_TRUE(mqhost::ProtocolErrors().empty()); }
  PluginLibrary plugin;
};

TEST_F(PluginExports, IdentityAnswers) {
  const auto& api = plugin.api();
  uint32_t product = 0;
  uint32_t id = 0;
  api.MQGetPlugInID(&product, &id);
  EXPECT_EQ(product, 0xE3F7A830u);
  EXPECT_EQ(id, 0xBD9A187Au);
  EXPECT_EQ(api.MQGetPlugInType(), 4);
  EXPECT_EQ(std::string(api.MQGetPlugInName()).rfind("Tervolin ver.1.0b ", 0), 0u);
  EXPECT_STREQ(api.MQEnumString(0), "Tervolin");
  EXPECT_EQ(api.MQEnumString(1), nullptr);
  EXPECT_EQ(api.MQEnumString(-1), nullptr);
  EXPECT_EQ(api.MQEnumFileType(0), nullptr);
  EXPECT_EQ(api.MQEnumFileExt(0), nullptr);
  EXPECT_EQ(api.MQImportFile(0, nullptr, nullptr), 0);
  EXPECT_EQ(api.MQExportFile(0, nullptr, nullptr), 0);
}

TEST_F(PluginExports, VersionNegotiation) {
  EXPECT_EQ(plugin.api().MQCheckVersion(0x4500), 0u);
  EXPECT_EQ(plugin.api().MQCheckVersion(0x4501), 0x451u);
}

TEST_F(PluginExports, InitBindsFromTheReplacementHostAndRefusesBadFiles) {
  const auto& api = plugin.api();
  EXPECT_EQ(api.MQInit("no-such-file.exe"), 0);
  EXPECT_EQ(api.MQInit(testing_support::PluginPath().c_str()), 0);  // a library without the names
  EXPECT_EQ(api.MQInit(testing_support::IncompleteHostPath().c_str()), 0);
  EXPECT_EQ(api.MQInit(testing_support::HostPath().c_str()), 1);
  EXPECT_EQ(api.MQInit(testing_support::HostPath().c_str()), 1);
}

TEST_F(PluginExports, MenuCommandsOtherThanIndexZeroDoNothing) {
  ASSERT_TRUE(plugin.Start());
  const auto& api = plugin.api();
  EXPECT_EQ(api.MQModifyObject(1, nullptr), 0);
  EXPECT_EQ(api.MQCreate(2, nullptr), 0);
  EXPECT_EQ(api.MQModifySelect(-1, nullptr), 0);
}

TEST_F(PluginExports, EveryEventIsAnsweredWithZero) {
  ASSERT_TRUE(plugin.Start());
  int32_t flag = 1;
  char trigger[] = "trigger";
  char world[] = "world";
  void* list[] = {trigger, world, nullptr};
  for (int32_t code : {1, 2, 3, 4, 100, 101, 110, 120, 140, 200, 250, 300, 301, 9999}) {
    EXPECT_EQ(plugin.api().MQOnEvent(nullptr, code, code == 100 ? static_cast<void*>(&flag) : list), 0)
        << code;
  }
}

TEST(PluginLoading, LoadsAndUnloadsRepeatedly) {
  for (int i = 0; i < 20; ++i) {
    PluginLibrary plugin;
    ASSERT_TRUE(plugin.Start());
    EXPECT_STREQ(plugin.api().MQEnumString(0), "Tervolin");
  }
}

}  // namespace
