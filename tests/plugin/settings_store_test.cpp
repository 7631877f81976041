// The plug-in's settings store against the replacement host's settings tree:
// defaults, key texts, the section's shape, and persistence through the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "binding/host_api.hpp"
#include "mqhost/settings.hpp"
#include "plugin/settings.hpp"
#include "plugin/tervolin.hpp"
#include "support/host_fixture.hpp"

namespace {

using tervolin::MQSetting;
using tervolin::Options;
using tervolin::Tervolin;

constexpr const char* kSection = "Plugin-E3F7A830-BD9A187A";
const std::vector<std::string> kKeysInOrder{"PosX",  "PosY",  "transform", "global",
                                            "copyR", "copyS", "copyT",     "target"};

class SettingsStore : public host_testing::SettingsTest {
 protected:
  // Sets the fields to values no load or default gives.
  static void Scramble(Options& options) {
    options.posX = 1234;
    options.posY = 5678;
    options.referenceObjectId = 99;
    options.transformVertices = true;
    options.useGlobal = true;
    options.copyRotation = false;
    options.copyScale = true;
    options.copyTranslation = true;
  }

  static Options Loaded() {
    Options options;
    Scramble(options);
    Tervolin().LoadSettings(options);
    return options;
  }
};

TEST_F(SettingsStore, FirstRunLoadsTheDefaultsAndSaveWritesTheEightKeysInOrder) {
  Options options = Loaded();
  EXPECT_EQ(options.posX, -1);
  EXPECT_EQ(options.posY, -1);
  EXPECT_FALSE(options.transformVertices);
  EXPECT_FALSE(options.useGlobal);
  EXPECT_TRUE(options.copyRotation);
  EXPECT_FALSE(options.copyScale);
  EXPECT_FALSE(options.copyTranslation);
  EXPECT_EQ(options.referenceObjectId, 0xFFFFFFFFu);

  Tervolin().SaveSettings(options);
  EXPECT_EQ(mqhost::SettingKeys(kSection), kKeysInOrder);
  const std::vector<std::string> texts{"-1", "-1", "0", "0", "1", "0", "0", "4294967295"};
  for (size_t i = 0; i < kKeysInOrder.size(); ++i) {
    EXPECT_EQ(mqhost::SettingText(kSection, kKeysInOrder[i]), texts[i]) << kKeysInOrder[i];
  }
}

TEST_F(SettingsStore, OpenSettingsCreatesTheSectionOnceAndFindsItAfterwards) {
  Tervolin plugin;
  const std::unique_ptr<MQSetting> first(plugin.OpenSettings());
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first->settingsElement, nullptr);
  EXPECT_NE(first->sectionElement, nullptr);
  EXPECT_EQ(first->sectionName, kSection);
  const std::unique_ptr<MQSetting> second(plugin.OpenSettings());
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->settingsElement, first->settingsElement);
  EXPECT_EQ(second->sectionElement, first->sectionElement);

  const std::string xml = mqhost::SettingsXml();
  const std::string open = std::string("<") + kSection;
  EXPECT_NE(xml.find(open), std::string::npos);
  EXPECT_EQ(xml.find(open), xml.rfind(open));
  EXPECT_EQ(tervolin::SettingsSectionName(0x1u, 0xABCDEFu), "Plugin-00000001-00ABCDEF");
}

TEST_F(SettingsStore, KeyTextsReadAsDecimalWithTheirDefaults) {
  mqhost::SetSettingText(kSection, "PosX", "12abc");
  mqhost::SetSettingText(kSection, "PosY", "abc");
  mqhost::SetSettingText(kSection, "copyR", "0");
  mqhost::SetSettingText(kSection, "transform", " +2");
  mqhost::SetSettingText(kSection, "global", "yes");
  mqhost::SetSettingText(kSection, "target", "-1");
  Options options = Loaded();
  EXPECT_EQ(options.posX, 12);
  EXPECT_EQ(options.posY, 0);
  EXPECT_FALSE(options.copyRotation);
  EXPECT_TRUE(options.transformVertices);
  EXPECT_FALSE(options.useGlobal);
  EXPECT_EQ(options.referenceObjectId, 0xFFFFFFFFu);
  // Keys that are absent take their defaults.
  EXPECT_FALSE(options.copyScale);
  EXPECT_FALSE(options.copyTranslation);

  // Empty texts count as missing: copyR's default is true.
  mqhost::SetSettingText(kSection, "copyR", "");
  mqhost::SetSettingText(kSection, "PosX", "");
  mqhost::SetSettingText(kSection, "target", "");
  options = Loaded();
  EXPECT_TRUE(options.copyRotation);
  EXPECT_EQ(options.posX, -1);
  EXPECT_EQ(options.referenceObjectId, 0xFFFFFFFFu);

  // The target keeps the low 32 bits of the number; PosX saturates.
  mqhost::SetSettingText(kSection, "target", "4294967298");
  mqhost::SetSettingText(kSection, "PosX", "99999999999");
  options = Loaded();
  EXPECT_EQ(options.referenceObjectId, 2u);
  EXPECT_EQ(options.posX, 2147483647);
}

TEST_F(SettingsStore, IllFormedAndLongTextsReadSafely) {
  mqhost::SetSettingText(kSection, "PosX", "12\xFF\xFE");
  mqhost::SetSettingText(kSection, "PosY",
                         "\xC3"
                         "7");
  mqhost::SetSettingText(kSection, "target", std::string(5000, ' ') + std::string(5000, '0') + "42");
  mqhost::SetSettingText(kSection, "copyS", std::string(100000, '9'));
  Options options = Loaded();
  EXPECT_EQ(options.posX, 12);
  // The truncated sequence becomes U+FFFD, which ends the number.
  EXPECT_EQ(options.posY, 0);
  EXPECT_EQ(options.referenceObjectId, 42u);
  EXPECT_TRUE(options.copyScale);
}

TEST_F(SettingsStore, RepeatedSavesKeepOneElementPerKeyAndLoadBack) {
  Options options = Loaded();
  for (int run = 0; run < 3; ++run) {
    options.posX = run * 10;
    options.copyScale = run % 2 == 1;
    Tervolin().SaveSettings(options);
  }
  EXPECT_EQ(mqhost::SettingKeys(kSection), kKeysInOrder);
  EXPECT_EQ(mqhost::SettingText(kSection, "PosX"), "20");
  EXPECT_EQ(mqhost::SettingText(kSection, "copyS"), "0");
  options.posX = -2147483647 - 1;
  Tervolin().SaveSettings(options);
  EXPECT_EQ(Loaded().posX, options.posX);
}

TEST_F(SettingsStore, SavingReplacesEveryDuplicateOfAKey) {
  // A hand-edited file with "PosX" twice: the saved value must be the one
  // that loads next time.
  const std::string file = ScratchPath("duplicates.xml").u8string();
  WriteAll(file, std::string("<?xml version=\"1.0\"?>\n<settings><pluginsettings><") + kSection +
                     "><PosX>5</PosX><PosX>6</PosX></" + kSection + "></pluginsettings></settings>\n");
  std::string error;
  ASSERT_TRUE(mqhost::LoadSettingsFile(file, &error)) << error;
  Options options = Loaded();
  EXPECT_EQ(options.posX, 5);
  options.posX = 300;
  Tervolin().SaveSettings(options);
  EXPECT_EQ(mqhost::SettingKeys(kSection), kKeysInOrder);
  EXPECT_EQ(Loaded().posX, 300);
}

TEST_F(SettingsStore, WithoutASettingsElementNothingIsReadOrWritten) {
  mqhost::SetSettingText(kSection, "PosX", "77");
  const std::string before = mqhost::SettingsXml();
  mqhost::SetSettingsAvailable(false);
  Tervolin plugin;
  EXPECT_EQ(plugin.OpenSettings(), nullptr);
  Options options;
  Scramble(options);
  plugin.LoadSettings(options);
  EXPECT_EQ(options.posX, 1234);
  EXPECT_EQ(options.posY, 5678);
  EXPECT_EQ(options.referenceObjectId, 99u);
  EXPECT_FALSE(options.copyRotation);
  EXPECT_TRUE(options.copyTranslation);
  plugin.SaveSettings(options);
  EXPECT_EQ(mqhost::SettingsXml(), before);
}

TEST_F(SettingsStore, AHandEditedFileWithIllFormedUtf8StillLoads) {
  const std::string file = ScratchPath("hand_edited.xml").u8string();
  WriteAll(file, std::string("<?xml version=\"1.0\"?>\n<settings>\n <pluginsettings>\n  <") + kSection +
                     ">\n   <PosX>\xFF"
                     "5</PosX>\n   <PosY> 33\xE9</PosY>\n   <copyR>\xC0\x80</copyR>\n  </" +
                     kSection + ">\n </pluginsettings>\n</settings>\n");
  std::string error;
  ASSERT_TRUE(mqhost::LoadSettingsFile(file, &error)) << error;
  const Options options = Loaded();
  EXPECT_EQ(options.posX, 0);
  EXPECT_EQ(options.posY, 33);
  EXPECT_FALSE(options.copyRotation);
}

TEST(PluginObject, OneInstanceWithTheStartingFieldValues) {
  Tervolin& first = tervolin::PluginInstance();
  EXPECT_EQ(&first, &tervolin::PluginInstance());
  Tervolin fresh;
  const tervolin::Options& options = fresh.options;
  EXPECT_EQ(options.posX, -1);
  EXPECT_EQ(options.posY, -1);
  EXPECT_EQ(fresh.operation, -1);
  EXPECT_EQ(options.axisToSet, tervolin::AxisToSet::X);
  EXPECT_EQ(options.referenceObjectId, 0xFFFFFFFFu);
  EXPECT_FALSE(options.transformVertices || options.useGlobal || options.copyRotation || options.copyScale ||
               options.copyTranslation);
}

}  // namespace
