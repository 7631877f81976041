// Reading what the plug-in left on the clipboard. On Windows the plug-in uses
// the system clipboard, which the runner reads too. Elsewhere the plug-in keeps
// its clipboard inside its own library, out of the runner's reach.
#pragma once

#include <string>

#include "tools/runner/report.hpp"

namespace runner {

#ifdef _WIN32
// The system clipboard's text (CF_TEXT), never read past its block; false
// when the clipboard cannot be opened or holds no text.
bool ReadClipboardText(std::string* text);
#endif

class ClipboardWatch {
 public:
  // Notes the clipboard's state before the pick.
  ClipboardWatch();
  // What the pick left there: its text when it was written, or why that
  // cannot be told. `copyChosen` says whether the chosen operation writes it.
  ClipboardOutcome Outcome(bool copyChosen) const;

 private:
#ifdef _WIN32
  // The clipboard's change count before the pick (Windows only).
  unsigned long sequenceBefore_ = 0;
#endif
};

}  // namespace runner
