#include "tools/runner/clipboard_access.hpp"

#ifdef _WIN32
#include <windows.h>

#include <cstring>
#else
#include "mqhost/clipboard.hpp"
#endif

namespace runner {

#ifdef _WIN32

namespace {

// The clipboard may be held by another program for a moment.
bool OpenWithRetries() {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(nullptr) != 0) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

std::optional<std::string> ReadClipboardText() {
  if (!OpenWithRetries()) return std::nullopt;
  std::optional<std::string> text;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes != nullptr) {
      // Never read past the block, even when its text is not terminated.
      const SIZE_T size = GlobalSize(data);
      SIZE_T length = 0;
      while (length < size && bytes[length] != '\0') ++length;
      text.emplace(bytes, length);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool WriteClipboardText(const std::string& text, std::string* note) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) {
    *note = "no memory for the text";
    return false;
  }
  char* bytes = static_cast<char*>(GlobalLock(block));
  if (bytes == nullptr) {
    GlobalFree(block);
    *note = "the text's memory could not be locked";
    return false;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  if (!OpenWithRetries()) {
    GlobalFree(block);
    *note = "the clipboard is held by another program";
    return false;
  }
  EmptyClipboard();
  const bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  // Set, the block is the clipboard's; refused, it is still ours.
  if (!set) {
    GlobalFree(block);
    *note = "the system refused the text";
  }
  return set;
}

ClipboardWatch::ClipboardWatch() : sequenceBefore_(GetClipboardSequenceNumber()) {}

ClipboardOutcome ClipboardWatch::Outcome(bool copyChosen) const {
  ClipboardOutcome outcome;
  (void)copyChosen;  // the system clipboard tells by itself whether it was written
  if (GetClipboardSequenceNumber() == sequenceBefore_) return outcome;
  if (std::optional<std::string> text = ReadClipboardText()) {
    outcome.state = ClipboardOutcome::State::Written;
    outcome.text = std::move(*text);
  } else {
    outcome.state = ClipboardOutcome::State::Unreadable;
    outcome.note = "(written, but it holds no text the runner could read)";
  }
  return outcome;
}

#else

std::optional<std::string> ReadClipboardText() { return mqhost::ClipboardText(); }

bool WriteClipboardText(const std::string& text, std::string* note) {
  if (mqhost::SetClipboardText(text)) return true;
  *note = "the plug-in holds the clipboard open";
  return false;
}

ClipboardWatch::ClipboardWatch() : textBefore_(mqhost::ClipboardText()) {}

// The host's clipboard has no change count: a copy that wrote the text the
// clipboard already held shows as written because a copy was chosen.
ClipboardOutcome ClipboardWatch::Outcome(bool copyChosen) const {
  ClipboardOutcome outcome;
  std::optional<std::string> text = mqhost::ClipboardText();
  if (!text || (!copyChosen && text == textBefore_)) return outcome;
  outcome.state = ClipboardOutcome::State::Written;
  outcome.text = std::move(*text);
  return outcome;
}

#endif

}  // namespace runner
