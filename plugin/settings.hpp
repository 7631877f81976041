// The plug-in's settings store: its section in the host's settings tree
// ("pluginsettings" / "Plugin-<product>-<plug-in>"), one child element per key
// holding the value as decimal text. `Tervolin::OpenSettings` hands out an
// MQSetting; LoadSettings and SaveSettings (plugin/settings.cpp) map the
// persisted options to keys through it.
#pragma once

#include <cstdint>
#include <string>

#include "protocol/host_types.hpp"

namespace tervolin {

class MQSetting {
 public:
  MQSetting(XmlElemHandle settings, std::string section);
  virtual ~MQSetting();
  MQSetting(const MQSetting&) = delete;
  MQSetting& operator=(const MQSetting&) = delete;

  // Reading one key. A missing key, or one with empty text, gives the default
  // (`fallback` for bools, -1 for LoadInt, 0xFFFFFFFF for LoadUInt). Other
  // text reads as decimal, as far as it has digits: "12abc" is 12, "abc" 0.
  // LoadUInt reads a 64-bit number and keeps its low 32 bits.
  void LoadBool(const char* name, bool& value, bool fallback) const;
  void LoadInt(const char* name, int32_t& value) const;
  void LoadUInt(const char* name, uint32_t& value) const;

  // Writing one key: the existing elements of that name are removed and a
  // new one added, so a key never exists twice. Bools are "1" or "0".
  void SaveBool(const char* name, bool value);
  void SaveInt(const char* name, int32_t value);
  void SaveUInt(const char* name, uint32_t value);

  XmlElemHandle settingsElement = nullptr;  // the host's "pluginsettings"
  XmlElemHandle sectionElement = nullptr;   // this plug-in's section in it
  std::string sectionName;                  // e.g. "Plugin-E3F7A830-BD9A187A"

 private:
  // The key's text as UTF-16; empty when the key is missing or has no text.
  std::u16string KeyText(const char* name) const;
  void SaveText(const char* name, const std::string& text);
};

// The section name for a product ID and a plug-in ID: "Plugin-%08X-%08X".
std::string SettingsSectionName(uint32_t product, uint32_t id);

}  // namespace tervolin
