// Damage done to the settings file between menu picks, as a user editing it
// by hand, a full disk or another program might leave it: cut short, bytes
// overwritten, keys with texts that are not numbers, keys removed, or not a
// settings file at all.
#pragma once

#include <string>

#include "rng.hpp"

namespace validator {

// The plug-in's section in the settings tree.
inline constexpr const char* kSettingsSection = "Plugin-E3F7A830-BD9A187A";

// Damages the file at `path` in one random way; returns what was done.
std::string DamageSettingsFile(Rng& rng, const std::string& path);

// True when the file parses as XML with a root element; `error` says why not.
bool IsWellFormedSettingsFile(const std::string& path, std::string* error);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace validator
