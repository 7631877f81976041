#include "tools/workbench/clipboard_service.hpp"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>

#include "platform/process_clipboard.hpp"
#endif

namespace workbench {

#ifdef _WIN32

namespace {

bool OpenWithRetry() {
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(nullptr) != 0) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

std::optional<std::string> ReadClipboard(std::string* note) {
  if (!OpenWithRetry()) {
    *note = "the clipboard is held by another program";
    return std::nullopt;
  }
  std::optional<std::string> text;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (data != nullptr) {
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes != nullptr) {
      const SIZE_T size = GlobalSize(data);
      SIZE_T length = 0;
      while (length < size && bytes[length] != '\0') ++length;
      text = std::string(bytes, length);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
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
  if (!OpenWithRetry()) {
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
