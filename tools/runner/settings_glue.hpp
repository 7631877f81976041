// The settings file, as the host modeller keeps it: read into the host's
// settings tree before the pick, written back after it; and the dialog's
// options as the plug-in left them in the tree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace runner {

// Loads the file into the host's tree; a missing file gives an empty tree.
// Throws RunError naming the file, and what to do, when it exists but cannot
// be read or is not a settings file.
void LoadSettings(const std::string& path);

// Writes the tree back, making its folder when needed. Throws RunError naming
// the file and the reason.
void SaveSettings(const std::string& path);

// The options the plug-in keeps in its section of the settings tree. A key
// the plug-in did not write is empty.
struct DialogOptions {
  std::optional<bool> transform;  // "Trans(&f)orm"
  std::optional<bool> global;     // "(&g)lobal"
  std::optional<bool> copyRotation;
  std::optional<bool> copyScale;
  std::optional<bool> copyTranslation;
  std::optional<int64_t> reference;  // the reference object's unique ID; -1 or all bits: the current
  std::optional<int32_t> x;          // the dialog's position
  std::optional<int32_t> y;
};

// Reads the section "Plugin-PRODUCT-ID"; nothing when the plug-in wrote none.
std::optional<DialogOptions> ReadDialogOptions(uint32_t product, uint32_t id);

}  // namespace runner
