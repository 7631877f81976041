// The replacement host's settings tree as the plug-in reaches it (the
// settings request and the element operations) and its file.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "binding/host_api.hpp"
#include "mqhost/settings.hpp"
#include "plugin/tervolin.hpp"
#include "protocol/settings_records.hpp"
#include "support/host_fixture.hpp"

namespace {

using tervolin::HostApi;
using tervolin::XmlChildRecord;
using tervolin::XmlRemoveRecord;

class HostSettings : public host_testing::SettingsTest {
 protected:
  // The settings request as the plug-in sends it; `slot` starts as given.
  static XmlElemHandle RequestSettings(void* slot = nullptr) {
    char root[] = "root";
    char name[] = "pluginsettings";
    void* arguments[tervolin::kSettingsListSlots] = {root, nullptr, name, slot, nullptr};
    tervolin::SettingsRequest request{};
    request.productId = tervolin::kProductId;
    request.pluginId = tervolin::kPluginId;
    request.arguments = arguments;
    HostApi().MQ_SendMessage(mq::kMessageGetSettings, &request);
    EXPECT_EQ(arguments[1], nullptr);  // the "root" slot is left alone
    return static_cast<XmlElemHandle>(arguments[tervolin::kSettingsElementSlot]);
  }

  static XmlElemHandle Child(XmlElemHandle parent, int code, const char* name) {
    XmlChildRecord record{name, nullptr};
    HostApi().MQXmlElem_Value(parent, code, &record);
    return record.result;
  }
  static XmlElemHandle Add(XmlElemHandle parent, const char* name) {
    return Child(parent, mq::kXmlAddChildElement, name);
  }
  static XmlElemHandle Find(XmlElemHandle parent, const char* name) {
    return Child(parent, mq::kXmlFindChildElement, name);
  }
  static void Remove(XmlElemHandle parent, XmlElemHandle child) {
    XmlRemoveRecord record{child, 0};
    HostApi().MQXmlElem_Value(parent, mq::kXmlRemoveChildElement, &record);
  }
  static const char* Text(XmlElemHandle element) {
    const char* text = nullptr;
    HostApi().MQXmlElem_Value(element, mq::kXmlGetElementText, &text);
    return text;
  }
  static void SetText(XmlElemHandle element, const char* text) {
    HostApi().MQXmlElem_Value(element, mq::kXmlSetElementText, &text);
  }

  static size_t ErrorCount() { return mqhost::ProtocolErrors().size(); }
};

TEST_F(HostSettings, TheRequestAnswersThePluginSettingsElement) {
  const XmlElemHandle settings = RequestSettings();
  ASSERT_NE(settings, nullptr);
  EXPECT_EQ(RequestSettings(), settings);

  // No request, another message, and a request without the plug-in settings slot.
  EXPECT_EQ(HostApi().MQ_SendMessage(mq::kMessageGetSettings, nullptr), 0);
  EXPECT_EQ(ErrorCount(), 1u);
  tervolin::SettingsRequest request{};
  EXPECT_EQ(HostApi().MQ_SendMessage(504, &request), 0);
  EXPECT_EQ(ErrorCount(), 2u);
  char root[] = "root";
  void* noPluginSettings[] = {root, nullptr, nullptr};
  request.arguments = noPluginSettings;
  EXPECT_EQ(HostApi().MQ_SendMessage(mq::kMessageGetSettings, &request), 0);
  EXPECT_EQ(ErrorCount(), 3u);
  EXPECT_EQ(noPluginSettings[1], nullptr);
  mqhost::ClearProtocolErrors();

  // Without settings the slot is answered with null, whatever it held.
  mqhost::SetSettingsAvailable(false);
  int marker = 0;
  EXPECT_EQ(RequestSettings(&marker), nullptr);
}

TEST_F(HostSettings, ElementsAreAddedFoundTextedAndRemoved) {
  const XmlElemHandle settings = RequestSettings();
  const XmlElemHandle section = Add(settings, "Plugin-00000001-00000002");
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(Find(settings, "Plugin-00000001-00000002"), section);
  EXPECT_EQ(Find(settings, "Plugin-00000001-00000003"), nullptr);

  const XmlElemHandle first = Add(section, "key");
  const XmlElemHandle second = Add(section, "key");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, first);
  EXPECT_EQ(Find(section, "key"), first);  // the first of that name
  EXPECT_EQ(Text(first), nullptr);

  SetText(first, "-12");
  SetText(second, "caf\xC3\xA9");
  EXPECT_STREQ(Text(first), "-12");
  EXPECT_EQ(mqhost::SettingText("Plugin-00000001-00000002", "key"), "-12");
  SetText(first, "");
  EXPECT_EQ(Text(first), nullptr);

  Remove(section, first);
  EXPECT_EQ(Find(section, "key"), second);
  EXPECT_STREQ(Text(second), "caf\xC3\xA9");
}

TEST_F(HostSettings, ReturnedTextStaysValidUntilItsElementChanges) {
  const XmlElemHandle settings = RequestSettings();
  const XmlElemHandle key = Add(settings, "key");
  const std::string longText(10000, 'x');
  SetText(key, longText.c_str());
  const char* text = Text(key);
  // Other elements come and go; the text pointer is still the same text.
  for (int i = 0; i < 100; ++i) {
    const XmlElemHandle other = Add(settings, "other");
    SetText(other, std::to_string(i).c_str());
    if (i % 2 == 0) Remove(settings, other);
  }
  EXPECT_EQ(Text(key), text);
  EXPECT_EQ(std::string(text), longText);
}

TEST_F(HostSettings, StaleForeignAndUnknownRequestsAreAnsweredNeutrally) {
  const XmlElemHandle settings = RequestSettings();
  const XmlElemHandle parent = Add(settings, "parent");
  const XmlElemHandle child = Add(parent, "child");
  const XmlElemHandle elsewhere = Add(settings, "elsewhere");
  SetText(child, "kept");
  ASSERT_TRUE(mqhost::ProtocolErrors().empty());

  // A removed element's handle, and its subtree's, are stale.
  Remove(settings, parent);
  EXPECT_EQ(Text(child), nullptr);
  EXPECT_EQ(Find(parent, "child"), nullptr);
  EXPECT_EQ(Add(parent, "again"), nullptr);
  Remove(settings, parent);
  EXPECT_EQ(ErrorCount(), 4u);

  // A handle that never was one, and a child of another element.
  int local = 0;
  const auto foreign = reinterpret_cast<XmlElemHandle>(&local);
  EXPECT_EQ(Find(foreign, "x"), nullptr);
  const XmlElemHandle grandchild = Add(elsewhere, "grandchild");
  Remove(settings, grandchild);
  EXPECT_EQ(Find(elsewhere, "grandchild"), grandchild);
  EXPECT_EQ(ErrorCount(), 6u);

  // An unknown code touches nothing; a missing record is refused.
  XmlChildRecord record{"x", nullptr};
  HostApi().MQXmlElem_Value(settings, 514, &record);
  EXPECT_EQ(record.result, nullptr);
  HostApi().MQXmlElem_Value(settings, mq::kXmlFindChildElement, nullptr);
  EXPECT_EQ(ErrorCount(), 8u);

  // Handles handed out before a reset are stale afterwards.
  mqhost::ResetSettings();
  EXPECT_EQ(Find(settings, "elsewhere"), nullptr);
  EXPECT_EQ(ErrorCount(), 9u);
  mqhost::ClearProtocolErrors();
}

TEST_F(HostSettings, BadNamesTextsAndResultSlotsAreRefused) {
  const XmlElemHandle settings = RequestSettings();
  for (const char* name : {"", "1abc", "a b", "a<b", "\xFF"}) {
    EXPECT_EQ(Add(settings, name), nullptr) << name;
  }
  EXPECT_EQ(Add(settings, nullptr), nullptr);
  EXPECT_EQ(ErrorCount(), 6u);
  EXPECT_EQ(mqhost::SettingsXml().find("<a"), std::string::npos);

  const XmlElemHandle key = Add(settings, "key");
  SetText(key, "good");
  SetText(key, "bad \xC3");
  SetText(key, nullptr);
  EXPECT_STREQ(Text(key), "good");
  EXPECT_EQ(ErrorCount(), 8u);

  // A result slot that is not null before the call: the request is still
  // answered, but the caller's record was not prepared.
  int marker = 0;
  XmlChildRecord record{"key", reinterpret_cast<XmlElemHandle>(&marker)};
  HostApi().MQXmlElem_Value(settings, mq::kXmlFindChildElement, &record);
  EXPECT_EQ(record.result, key);
  EXPECT_EQ(ErrorCount(), 9u);
  mqhost::ClearProtocolErrors();
}

TEST_F(HostSettings, TheTreeRoundTripsThroughItsFile) {
  const std::filesystem::path path = ScratchPath("round_trip.xml");
  const XmlElemHandle settings = RequestSettings();
  const XmlElemHandle section = Add(settings, "Section");
  const char* texts[] = {"<&>\"'", "  ", " 12 \t", "caf\xC3\xA9 \xF0\x9D\x84\x9E", "bell\x01", "two\nlines"};
  int index = 0;
  for (const char* text : texts) SetText(Add(section, ("k" + std::to_string(index++)).c_str()), text);
  // An element with both text and children.
  SetText(section, "mixed");
  Add(Add(section, "nested"), "deeper");
  const std::string before = mqhost::SettingsXml();

  std::string error;
  ASSERT_TRUE(mqhost::SaveSettingsFile(path.u8string(), &error)) << error;
  EXPECT_EQ(ReadAll(path), before);
  mqhost::ResetSettings();
  ASSERT_TRUE(mqhost::LoadSettingsFile(path.u8string(), &error)) << error;
  EXPECT_EQ(mqhost::SettingsXml(), before);
  index = 0;
  for (const char* text : texts) {
    EXPECT_EQ(mqhost::SettingText("Section", "k" + std::to_string(index++)), std::string(text));
  }
  EXPECT_EQ(Text(Find(Find(RequestSettings(), "Section"), "nested")), nullptr);
  EXPECT_STREQ(Text(Find(RequestSettings(), "Section")), "mixed");
}

TEST_F(HostSettings, ASaveOverTheLoadedFileChangesOnlyWhatChanged) {
  const std::filesystem::path path = ScratchPath("kept.xml");
  // Another program's declaration, comments, attributes, mixed text and
  // layout, another plug-in's section and ours. (pugixml writes attributes in
  // double quotes with one blank before each; so does this file.)
  const std::string head =
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<!-- kept by hand -->\n<?app mode=\"x\"?>\n"
      "<settings version=\"3\">\n  <window x=\"1\" y=\"2\">one<b/>two<!-- note --></window>\n"
      "  <pluginsettings count=\"2\">\n"
      "    <Other flag=\"on\">\n      <k>  spaced  </k>\n    </Other>\n"
      "    <Section>\n      <key>";
  const std::string tail =
      "</key>\n      <gone>1</gone>\n    </Section>\n  </pluginsettings>\n</settings>\n<!-- end -->\n";
  WriteAll(path, head + "old" + tail);
  std::string error;
  ASSERT_TRUE(mqhost::LoadSettingsFile(path.u8string(), &error)) << error;
  mqhost::SetSettingText("Section", "key", "new");
  mqhost::RemoveSetting("Section", "gone");
  mqhost::SetSettingText("Section", "added", "2");
  ASSERT_TRUE(mqhost::SaveSettingsFile(path.u8string(), &error)) << error;
  EXPECT_EQ(ReadAll(path), head +
                               "new</key>\n      <added>2</added>\n    </Section>\n  "
                               "</pluginsettings>\n</settings>\n<!-- end -->\n");
  // An unchanged tree saves the file as it was, and it reads back the same.
  const std::string saved = ReadAll(path);
  ASSERT_TRUE(mqhost::LoadSettingsFile(path.u8string(), &error)) << error;
  EXPECT_EQ(mqhost::SettingText("Other", "k"), std::string("  spaced  "));
  ASSERT_TRUE(mqhost::SaveSettingsFile(path.u8string(), &error)) << error;
  EXPECT_EQ(ReadAll(path), saved);
}

TEST_F(HostSettings, AMissingFileIsAnEmptyTreeAndABadOneIsReportedAndLeftAlone) {
  mqhost::SetSettingText("Section", "key", "1");
  std::string missingError;
  EXPECT_TRUE(mqhost::LoadSettingsFile(ScratchPath("never_written.xml").u8string(), &missingError));
  EXPECT_EQ(missingError, "");
  EXPECT_FALSE(mqhost::HasSettingsSection("Section"));

  const std::filesystem::path path = ScratchPath("bad.xml");
  std::string deep = "<settings>";
  for (int i = 0; i < 200; ++i) deep += "<d>";
  for (int i = 0; i < 200; ++i) deep += "</d>";
  deep += "</settings>";
  const struct {
    std::string content;
    std::string reason;
  } cases[] = {
      {"<settings><pluginsettings><Plugin>1</pluginsettings>", "not well-formed XML"},
      {"", "not well-formed XML"},
      {"<options><pluginsettings/></options>", "root element is <options>"},
      {deep, "nested deeper"},
  };
  for (const auto& bad : cases) {
    WriteAll(path, bad.content);
    mqhost::SetSettingText("Section", "key", "1");
    std::string error;
    EXPECT_FALSE(mqhost::LoadSettingsFile(path.u8string(), &error));
    EXPECT_NE(error.find(path.u8string()), std::string::npos) << error;
    EXPECT_NE(error.find(bad.reason), std::string::npos) << error;
    // The tree starts empty, and the file was not touched.
    EXPECT_FALSE(mqhost::HasSettingsSection("Section"));
    EXPECT_EQ(ReadAll(path), bad.content);
  }
}

TEST_F(HostSettings, AFailedSaveKeepsWhatIsThere) {
  // The target is a folder: refused before anything is written.
  const std::filesystem::path folder = ScratchPath("folder.xml");
  std::filesystem::create_directories(folder);
  mqhost::SetSettingText("Section", "key", "1");
  std::string error;
  EXPECT_FALSE(mqhost::SaveSettingsFile(folder.u8string(), &error));
  EXPECT_NE(error.find(folder.u8string()), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;

  // A folder that does not exist.
  error.clear();
  EXPECT_FALSE(mqhost::SaveSettingsFile((ScratchPath("no_such_folder") / "s.xml").u8string(), &error));
  EXPECT_NE(error.find("no_such_folder"), std::string::npos) << error;
}

}  // namespace
