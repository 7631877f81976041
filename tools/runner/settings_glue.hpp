// The settings file, as the host modeller keeps it: read into the host's
// settings tree before the pick, written back after it.
#pragma once

#include <string>

namespace runner {

// Loads the file into the host's tree; a missing file gives an empty tree.
// Throws RunError naming the file when it exists but cannot be read or is not
// a settings file.
void LoadSettings(const std::string& path);

// Writes the tree back. Throws RunError naming the file and the reason.
void SaveSettings(const std::string& path);

}  // namespace runner
