// Where the options persist between runs when no --settings file is given:
// %APPDATA%\Tervolin\settings.xml on Windows; $XDG_CONFIG_HOME/tervolin/
// settings.xml (or ~/.config/tervolin/settings.xml) elsewhere.
#pragma once

#include <string>

namespace runner {

// Empty when neither the configuration folder nor the home folder is known.
std::string DefaultSettingsPath();

// Creates the folder that will hold `path`, if needed. Throws RunError naming
// the settings file when it cannot.
void PrepareSettingsFolder(const std::string& path);

}  // namespace runner
