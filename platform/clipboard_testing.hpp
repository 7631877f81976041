// Test access to the clipboard: put text on it and read it back without going
// through the code under test. On Windows these use the real clipboard. The
// stand-in used elsewhere can also be told to fail, so that the callers'
// failure paths can be reached, and counts the global blocks alive.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace platform::testing {

// Replaces the clipboard's contents with `text` as CF_TEXT. False when the
// clipboard could not be had.
bool PutClipboardText(const std::string& text);
// The CF_TEXT contents up to the first NUL; nothing when there is no text.
std::optional<std::string> ClipboardText();
// Leaves the clipboard with no data at all.
bool ClearClipboard();

#ifndef _WIN32
#define TERVOLIN_CLIPBOARD_FAULTS 1

struct ClipboardFaults {
  bool openFails = false;   // OpenClipboard answers false
  bool allocFails = false;  // GlobalAlloc answers null
  bool lockFails = false;   // GlobalLock answers null
  bool setFails = false;    // SetClipboardData answers null
};

// The faults stay in force until replaced; ClipboardFaults{} clears them.
void SetClipboardFaults(const ClipboardFaults& faults);
// Global blocks allocated and not yet released (the clipboard's own included).
std::size_t LiveGlobalBlocks();
// True while the clipboard is held open.
bool ClipboardIsOpen();
#endif

}  // namespace platform::testing
