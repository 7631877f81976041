#include "tools/runner/clipboard_reader.hpp"

#ifdef _WIN32
#include <windows.h>
#endif

namespace runner {

#ifdef _WIN32

bool ReadClipboardText(std::string* text) {
  // The clipboard may be held by another program for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
    opened = OpenClipboard(nullptr) != 0;
    if (!opened) Sleep(20);
  }
  if (!opened) return false;
  bool read = false;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes != nullptr) {
      // Never read past the block, even when its text is not terminated.
      const SIZE_T size = GlobalSize(data);
      SIZE_T length = 0;
      while (length < size && bytes[length] != '\0') ++length;
      text->assign(bytes, length);
      GlobalUnlock(data);
      read = true;
    }
  }
  CloseClipboard();
  return read;
}

ClipboardWatch::ClipboardWatch() : sequenceBefore_(GetClipboardSequenceNumber()) {}

ClipboardOutcome ClipboardWatch::Outcome(bool copyChosen) const {
  ClipboardOutcome outcome;
  (void)copyChosen;  // the system clipboard tells by itself whether it was written
  if (GetClipboardSequenceNumber() == sequenceBefore_) return outcome;
  if (ReadClipboardText(&outcome.text)) {
    outcome.state = ClipboardOutcome::State::Written;
  } else {
    outcome.state = ClipboardOutcome::State::Unreadable;
    outcome.note = "(written, but it holds no text the runner could read)";
  }
  return outcome;
}

#else

ClipboardWatch::ClipboardWatch() = default;

ClipboardOutcome ClipboardWatch::Outcome(bool copyChosen) const {
  ClipboardOutcome outcome;
  if (copyChosen) {
    outcome.state = ClipboardOutcome::State::Unreadable;
    outcome.note =
        "(cannot be read here: on this platform the plug-in keeps its clipboard inside its own library, per "
        "process)";
  }
  return outcome;
}

#endif

}  // namespace runner
