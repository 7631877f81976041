// The records the plug-in and the host exchange for the settings tree: the
// settings request of MQ_SendMessage and the records of MQXmlElem_Value. The
// layouts are the host's, byte for byte on x86-64.
#pragma once

#include <cstddef>
#include <cstdint>

#include "protocol/host_types.hpp"

namespace tervolin {

// MQ_SendMessage(kMessageGetSettings, &request). `arguments` is the list
// "root", null, "pluginsettings", null, null; the host writes the settings
// element into the value slot of the "pluginsettings" pair (slot 3), or leaves
// null there when no settings are available.
struct SettingsRequest {
  uint32_t productId;
  uint32_t pluginId;
  int32_t reserved;  // always 0
  uint8_t unused[4];
  void** arguments;
};
inline constexpr int kSettingsListSlots = 5;
inline constexpr int kSettingsElementSlot = 3;

// AddChildElement (257) and FindChildElement (513): the child's name in, the
// child out (null before the call; null after it when not found).
struct XmlChildRecord {
  const char* name;
  XmlElemHandle result;
};

// RemoveChildElement (258).
struct XmlRemoveRecord {
  XmlElemHandle child;
  int32_t reserved;  // always 0
};

// GetElementText (770) and SetElementText (1026) pass one pointer slot: the
// element's text (UTF-8, zero-terminated; null when it has none).

static_assert(sizeof(void*) == 8, "the record layouts are those of x86-64");
static_assert(sizeof(SettingsRequest) == 24);
static_assert(offsetof(SettingsRequest, productId) == 0);
static_assert(offsetof(SettingsRequest, pluginId) == 4);
static_assert(offsetof(SettingsRequest, reserved) == 8);
static_assert(offsetof(SettingsRequest, arguments) == 16);
static_assert(sizeof(XmlChildRecord) == 16);
static_assert(offsetof(XmlChildRecord, name) == 0);
static_assert(offsetof(XmlChildRecord, result) == 8);
static_assert(sizeof(XmlRemoveRecord) == 16);
static_assert(offsetof(XmlRemoveRecord, child) == 0);
static_assert(offsetof(XmlRemoveRecord, reserved) == 8);

}  // namespace tervolin
