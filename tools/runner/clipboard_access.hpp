// The clipboard the plug-in copies to and pastes from, as the runner and the
// workbench reach it: on Windows the system clipboard, which the plug-in uses
// too; elsewhere the clipboard the replacement host offers the plug-in's
// stand-in clipboard (mqhost/clipboard.hpp).
#pragma once

#include <optional>
#include <string>

#include "tools/runner/report.hpp"

namespace runner {

// The clipboard's text (CF_TEXT on Windows, never read past its block);
// nothing when it holds none, or (Windows) when another program holds it.
std::optional<std::string> ReadClipboardText();
// Replaces the clipboard's contents with `text`; false with `note` saying why
// it could not be written.
bool WriteClipboardText(const std::string& text, std::string* note);

class ClipboardWatch {
 public:
  // Notes the clipboard's state before the pick.
  ClipboardWatch();
  // What the pick left there: its text when it was written, or why that
  // cannot be told. `copyChosen` says whether the chosen operation writes it.
  ClipboardOutcome Outcome(bool copyChosen) const;

 private:
#ifdef _WIN32
  // The clipboard's change count before the pick.
  unsigned long sequenceBefore_ = 0;
#else
  std::optional<std::string> textBefore_;
#endif
};

}  // namespace runner
