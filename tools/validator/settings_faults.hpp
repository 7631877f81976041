// Damage done to the settings file between menu picks, as a user editing it
// by hand, a full disk or another program might leave it: cut short, bytes
// overwritten, keys with texts that are not numbers, keys removed, or not a
// settings file at all.
#pragma once

#include <string>

#include "rng.hpp"

namespace validator {

// The plug-in's section in the settings tree, and the eight keys a pick saves
// in it. The validator's own copy, kept apart from the plug-in's on purpose: a
// check that read the plug-in's names could not catch a wrong one.
inline constexpr const char* kSettingsSection = "Plugin-E3F7A830-BD9A187A";
inline constexpr const char* kSettingsKeys[] = {"PosX",  "PosY",  "transform", "global",
                                                "copyR", "copyS", "copyT",     "target"};

// Damages the file at `path` in one random way; returns what was done.
std::string DamageSettingsFile(Rng& rng, const std::string& path);

// True when the file parses as XML with a root element; `error` says why not.
bool IsWellFormedSettingsFile(const std::string& path, std::string* error);

std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace validator
