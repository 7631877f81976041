#include "tools/workbench/clipboard_service.hpp"

#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include "tools/runner/clipboard_reader.hpp"
#else
#include <mutex>

#include "platform/process_clipboard.hpp"
#endif

namespace workbench {

#ifdef _WIN32

using runner::ReadClipboardText;

std::optional<std::string> ReadClipboard(std::string* note) {
  std::string text;
  if (ReadClipboardText(&text)) return text;
  // Empty, or held by another program: the page says so either way.
  *note = "it holds no text, or another program holds it";
  return std::nullopt;
}

bool WriteClipboard(const std::string& text, std::string* note) {
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
  bool opened = false;
  for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
    opened = OpenClipboard(nullptr) != 0;
    if (!opened) Sleep(20);
  }
  if (!opened) {
    GlobalFree(block);
    *note = "the clipboard is held by another program";
    return false;
  }
  EmptyClipboard();
  const bool set = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  if (!set) {
    GlobalFree(block);
    *note = "the system refused the text";
  }
  return set;
}

const char* ClipboardKind() { return "the system clipboard (Windows)"; }

#else

namespace {

// The process's clipboard text; the plug-in reaches it through the functions
// exported below.
struct SharedText {
  std::mutex mutex;
  bool holds = false;
  std::string text;
};

SharedText& Shared() {
  static SharedText shared;
  return shared;
}

}  // namespace

std::optional<std::string> ReadClipboard(std::string* /*note*/) {
  SharedText& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  if (!shared.holds) return std::nullopt;
  return shared.text;
}

bool WriteClipboard(const std::string& text, std::string* /*note*/) {
  SharedText& shared = Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  shared.holds = true;
  shared.text = text;
  return true;
}

const char* ClipboardKind() { return "the workbench's clipboard, shared with the plug-in's stand-in"; }

#endif

}  // namespace workbench

#ifndef _WIN32

extern "C" {

// The process clipboard the plug-in's stand-in looks for
// (platform/process_clipboard.hpp); the names are checked against it there.
__attribute__((visibility("default"))) size_t tervolin_process_clipboard_get(char* buffer, size_t size,
                                                                             int* holds) {
  workbench::SharedText& shared = workbench::Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  *holds = shared.holds ? 1 : 0;
  if (!shared.holds) return 0;
  if (buffer != nullptr && size > shared.text.size()) {
    std::memcpy(buffer, shared.text.c_str(), shared.text.size() + 1);
  }
  return shared.text.size();
}

__attribute__((visibility("default"))) void tervolin_process_clipboard_set(const char* text, size_t length,
                                                                           int holds) {
  workbench::SharedText& shared = workbench::Shared();
  std::lock_guard<std::mutex> lock(shared.mutex);
  shared.holds = holds != 0;
  shared.text = holds != 0 ? std::string(text, length) : std::string();
}

}  // extern "C"

#endif
