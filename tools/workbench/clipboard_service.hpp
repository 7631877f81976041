// The clipboard the page shows and edits. On Windows it is the system's
// clipboard, which the plug-in uses too. Elsewhere it is the clipboard the
// replacement host offers the plug-in's stand-in clipboard
// (mqhost/clipboard.hpp), so that the page and the plug-in see the same text.
#pragma once

#include <optional>
#include <string>

namespace workbench {

// The clipboard's text; nothing when it holds none. `note` says why, when the
// clipboard could not be read.
std::optional<std::string> ReadClipboard(std::string* note);
// Replaces the clipboard's contents with `text`; false with `note` when it
// could not be written.
bool WriteClipboard(const std::string& text, std::string* note);
// Where the clipboard lives, for the page.
const char* ClipboardKind();

}  // namespace workbench
