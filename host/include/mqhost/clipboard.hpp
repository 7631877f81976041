// The clipboard the host offers where the plug-in has no system clipboard it
// can reach (every platform but Windows, where the plug-in uses the system's
// own). The plug-in's stand-in clipboard finds it in the process, takes its
// text when the plug-in opens the clipboard and gives the text back when the
// plug-in closes it (protocol/process_clipboard.hpp), and asks it whether each
// call that may fail is to fail (the clipboard faults of mqhost/faults.hpp).
// It starts empty in every process. Through this interface the programs that
// load the host see what the plug-in copied and put what it is to paste.
#pragma once

#include <optional>
#include <string>

#include "mqhost/api.hpp"

#ifndef _WIN32
#define MQHOST_OFFERS_CLIPBOARD 1

namespace mqhost {

// The clipboard's text; nothing when it holds none.
MQHOST_API std::optional<std::string> ClipboardText();
// Replaces the clipboard's text; nothing empties it. False, changing nothing,
// while the plug-in holds the clipboard open: its closing would overwrite it.
MQHOST_API bool SetClipboardText(const std::optional<std::string>& text);
// True from the plug-in's opening of the clipboard until its closing: after
// a menu pick, a plug-in that left it open.
MQHOST_API bool ClipboardHeldOpen();

}  // namespace mqhost

#endif
