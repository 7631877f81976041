// The settings store: MQSetting's key access and the plug-in object's
// OpenSettings, LoadSettings and SaveSettings.
#include "plugin/settings.hpp"

#include <cstdio>
#include <memory>
#include <utility>

#include "binding/host_api.hpp"
#include "platform/text.hpp"
#include "platform/wide_parse.hpp"
#include "plugin/tervolin.hpp"
#include "protocol/settings_records.hpp"

namespace tervolin {

namespace {

// Key names, in the order in which both LoadSettings and SaveSettings process
// them.
constexpr const char* kKeyPosX = "PosX";
constexpr const char* kKeyPosY = "PosY";
constexpr const char* kKeyTransform = "transform";
constexpr const char* kKeyGlobal = "global";
constexpr const char* kKeyCopyRotation = "copyR";
constexpr const char* kKeyCopyScale = "copyS";
constexpr const char* kKeyCopyTranslation = "copyT";
constexpr const char* kKeyTarget = "target";

constexpr int32_t kMissingInt = -1;
constexpr uint32_t kMissingUInt = 0xFFFFFFFFu;

// Names go to the host as UTF-8 converted from the ANSI code page.
XmlElemHandle FindChild(XmlElemHandle parent, const char* name) {
  const std::string utf8 = platform::AnsiToUtf8(name);
  XmlChildRecord record{utf8.c_str(), nullptr};
  HostApi().MQXmlElem_Value(parent, mq::kXmlFindChildElement, &record);
  return record.result;
}

XmlElemHandle AddChild(XmlElemHandle parent, const char* name) {
  const std::string utf8 = platform::AnsiToUtf8(name);
  XmlChildRecord record{utf8.c_str(), nullptr};
  HostApi().MQXmlElem_Value(parent, mq::kXmlAddChildElement, &record);
  return record.result;
}

void RemoveChild(XmlElemHandle parent, XmlElemHandle child) {
  XmlRemoveRecord record{child, 0};
  HostApi().MQXmlElem_Value(parent, mq::kXmlRemoveChildElement, &record);
}

const char* ElementText(XmlElemHandle element) {
  const char* text = nullptr;
  HostApi().MQXmlElem_Value(element, mq::kXmlGetElementText, &text);
  return text;
}

void SetElementText(XmlElemHandle element, const std::string& utf8) {
  const char* text = utf8.c_str();
  HostApi().MQXmlElem_Value(element, mq::kXmlSetElementText, &text);
}

// Values are formatted as wide text and sent as UTF-8.
std::string DecimalText(const std::string& digits) {
  const std::u16string wide(digits.begin(), digits.end());
  return platform::WideToUtf8(wide.c_str());
}

// Before MQInit has bound the host there is nothing to ask.
bool HostBound() { return HostApi().MQ_SendMessage != nullptr && HostApi().MQXmlElem_Value != nullptr; }

}  // namespace

std::string SettingsSectionName(uint32_t product, uint32_t id) {
  char buffer[64] = {};
  std::snprintf(buffer, sizeof buffer, "Plugin-%08X-%08X", product, id);
  return buffer;
}

MQSetting::MQSetting(XmlElemHandle settings, std::string section)
    : settingsElement(settings), sectionName(std::move(section)) {}

MQSetting::~MQSetting() = default;

std::u16string MQSetting::KeyText(const char* name) const {
  const XmlElemHandle key = FindChild(sectionElement, name);
  if (key == nullptr) return {};
  return platform::Utf8ToWide(ElementText(key));
}

void MQSetting::LoadBool(const char* name, bool& value, bool fallback) const {
  const std::u16string text = KeyText(name);
  value = text.empty() ? fallback : platform::ParseWideInt(text.c_str()) != 0;
}

void MQSetting::LoadInt(const char* name, int32_t& value) const {
  const std::u16string text = KeyText(name);
  value = text.empty() ? kMissingInt : platform::ParseWideInt(text.c_str());
}

void MQSetting::LoadUInt(const char* name, uint32_t& value) const {
  const std::u16string text = KeyText(name);
  // The low 32 bits of the 64-bit number: "4294967295" and "-1" both give
  // 0xFFFFFFFF.
  value = text.empty() ? kMissingUInt : static_cast<uint32_t>(platform::ParseWideInt64(text.c_str()));
}

void MQSetting::SaveText(const char* name, const std::string& text) {
  // Every element of that name goes, not only the first: with a duplicate
  // left in front (a hand-edited file), the next load would read the stale
  // one instead of the value written here. A host that refuses a removal
  // hands the same element back, which ends the loop.
  XmlElemHandle removed = nullptr;
  for (XmlElemHandle existing = FindChild(sectionElement, name); existing != nullptr && existing != removed;
       existing = FindChild(sectionElement, name)) {
    RemoveChild(sectionElement, existing);
    removed = existing;
  }
  const XmlElemHandle key = AddChild(sectionElement, name);
  if (key != nullptr) SetElementText(key, text);
}

void MQSetting::SaveBool(const char* name, bool value) { SaveText(name, DecimalText(value ? "1" : "0")); }

void MQSetting::SaveInt(const char* name, int32_t value) {
  SaveText(name, DecimalText(std::to_string(value)));
}

void MQSetting::SaveUInt(const char* name, uint32_t value) {
  SaveText(name, DecimalText(std::to_string(value)));
}

MQSetting* Tervolin::OpenSettings() {
  if (!HostBound()) return nullptr;

  uint32_t product = 0;
  uint32_t id = 0;
  GetPlugInID(&product, &id);
  char root[] = "root";
  char pluginSettings[] = "pluginsettings";
  void* arguments[kSettingsListSlots] = {root, nullptr, pluginSettings, nullptr, nullptr};
  SettingsRequest request{};
  request.productId = product;
  request.pluginId = id;
  request.reserved = 0;
  request.arguments = arguments;
  HostApi().MQ_SendMessage(mq::kMessageGetSettings, &request);
  auto* const settings = static_cast<XmlElemHandle>(arguments[kSettingsElementSlot]);
  if (settings == nullptr) return nullptr;

  GetPlugInID(&product, &id);
  auto setting = std::make_unique<MQSetting>(settings, SettingsSectionName(product, id));
  setting->sectionElement = FindChild(settings, setting->sectionName.c_str());
  if (setting->sectionElement == nullptr)
    setting->sectionElement = AddChild(settings, setting->sectionName.c_str());
  if (setting->sectionElement == nullptr) return nullptr;
  return setting.release();
}

void Tervolin::LoadSettings(Options& values) {
  const std::unique_ptr<MQSetting> setting(OpenSettings());
  if (setting == nullptr) return;
  setting->LoadInt(kKeyPosX, values.posX);
  setting->LoadInt(kKeyPosY, values.posY);
  setting->LoadBool(kKeyTransform, values.transformVertices, false);
  setting->LoadBool(kKeyGlobal, values.useGlobal, false);
  setting->LoadBool(kKeyCopyRotation, values.copyRotation, true);
  setting->LoadBool(kKeyCopyScale, values.copyScale, false);
  setting->LoadBool(kKeyCopyTranslation, values.copyTranslation, false);
  setting->LoadUInt(kKeyTarget, values.referenceObjectId);
}

void Tervolin::SaveSettings(const Options& values) {
  const std::unique_ptr<MQSetting> setting(OpenSettings());
  if (setting == nullptr) return;
  setting->SaveInt(kKeyPosX, values.posX);
  setting->SaveInt(kKeyPosY, values.posY);
  setting->SaveBool(kKeyTransform, values.transformVertices);
  setting->SaveBool(kKeyGlobal, values.useGlobal);
  setting->SaveBool(kKeyCopyRotation, values.copyRotation);
  setting->SaveBool(kKeyCopyScale, values.copyScale);
  setting->SaveBool(kKeyCopyTranslation, values.copyTranslation);
  setting->SaveUInt(kKeyTarget, values.referenceObjectId);
}

}  // namespace tervolin
