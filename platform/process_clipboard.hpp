// A clipboard the process offers to the stand-in clipboard (platform/standin).
// A program that hosts the plug-in and wants to see and edit the same
// clipboard text (the workbench) exports two C functions under these names;
// the stand-in finds them in the process at run time and, when they are
// there, takes the text from them when the clipboard is opened and gives its
// text back when it is closed. Without them the stand-in keeps its own
// clipboard, which starts empty in every process.
#pragma once

#include <cstddef>

namespace platform {

// The text's length; with `holds` 0 the clipboard holds no text. The text
// and its NUL are copied into `buffer` only when `size` is larger than the
// length.
using ProcessClipboardGet = std::size_t (*)(char* buffer, std::size_t size, int* holds);
// Replaces the text; `holds` 0 empties the clipboard.
using ProcessClipboardSet = void (*)(const char* text, std::size_t length, int holds);

inline constexpr const char* kProcessClipboardGetName = "tervolin_process_clipboard_get";
inline constexpr const char* kProcessClipboardSetName = "tervolin_process_clipboard_set";

}  // namespace platform
