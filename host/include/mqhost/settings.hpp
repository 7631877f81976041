// The replacement host's settings tree: the XML tree in which plug-ins keep
// their options, under the element "pluginsettings" of the root "settings".
// This is the control side for tests and the runner; the plug-in reaches the
// same tree only through MQ_SendMessage (505) and MQXmlElem_Value.
//
// The tree persists in an XML file (pugixml). Loading a missing file gives an
// empty tree. A file that cannot be read or parsed also leaves an empty tree,
// but the load reports failure with a message naming the file and the reason,
// and nothing is written to that file until the caller asks for a save.
// Saving writes a temporary file beside the target and renames it over the
// target, so a failed save leaves the old file as it was.
//
// Texts are UTF-8, kept byte for byte (a hand-edited file may hold ill-formed
// UTF-8; the plug-in's conversions deal with it). An empty text and no text
// are the same: the element has no text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "mqhost/api.hpp"

namespace mqhost {

// Replaces the tree with the file's content. True when the file was read (or
// does not exist: then the tree is empty); false with `error` set when it
// could not be read or is not a settings file, and the tree is then empty.
// Every element handle handed out before goes stale.
MQHOST_API bool LoadSettingsFile(const std::string& path, std::string* error);
// Writes the whole tree; false with `error` set when the file could not be
// written (the previous file, if any, is then unchanged).
MQHOST_API bool SaveSettingsFile(const std::string& path, std::string* error);

// Empties the tree; every handle handed out before goes stale.
MQHOST_API void ResetSettings();
// The tree as the settings file would hold it.
MQHOST_API std::string SettingsXml();
// When false, the settings request (505) answers null, as a host without
// settings does. True after start-up.
MQHOST_API void SetSettingsAvailable(bool available);

// Lookups in "pluginsettings" / `section` / `key` (the first element of each
// name): the key's text, or nothing when an element is missing or has no text.
MQHOST_API std::optional<std::string> SettingText(const std::string& section, const std::string& key);
// The names of the section's child elements, in order (empty when the section
// is missing).
MQHOST_API std::vector<std::string> SettingKeys(const std::string& section);
MQHOST_API bool HasSettingsSection(const std::string& section);
// Sets the first `key` element's text, creating the section and the key as
// needed; the text is stored as given, ill-formed UTF-8 included, as a
// hand-edited file may hold it. An empty text removes the text.
MQHOST_API void SetSettingText(const std::string& section, const std::string& key, const std::string& text);
// Removes every element named `key` from the section.
MQHOST_API void RemoveSetting(const std::string& section, const std::string& key);

}  // namespace mqhost
