// The clipboard on Windows: the Win32 calls of the same names, and the test
// access through the real clipboard.
#include "platform/clipboard.hpp"

#include <windows.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/clipboard_testing.hpp"

namespace platform {

MemoryHandle GlobalAlloc(unsigned flags, std::size_t bytes) { return ::GlobalAlloc(flags, bytes); }
void* GlobalLock(MemoryHandle block) { return ::GlobalLock(block); }
bool GlobalUnlock(MemoryHandle block) { return ::GlobalUnlock(block) != FALSE; }
std::size_t GlobalSize(MemoryHandle block) { return ::GlobalSize(block); }
MemoryHandle GlobalFree(MemoryHandle block) { return ::GlobalFree(block); }

bool OpenClipboard() { return ::OpenClipboard(nullptr) != FALSE; }
bool EmptyClipboard() { return ::EmptyClipboard() != FALSE; }
MemoryHandle SetClipboardData(unsigned format, MemoryHandle block) {
  return ::SetClipboardData(format, block);
}
MemoryHandle GetClipboardData(unsigned format) { return ::GetClipboardData(format); }
bool CloseClipboard() { return ::CloseClipboard() != FALSE; }

namespace testing {

namespace {
// Another program (or Wine's own clipboard service) may hold the clipboard
// for a moment; a test waits for it rather than failing at once.
bool OpenSoon() {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (::OpenClipboard(nullptr)) return true;
    ::Sleep(20);
  }
  return false;
}
}  // namespace

bool PutClipboardText(const std::string& text) {
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (block == nullptr) return false;
  void* bytes = ::GlobalLock(block);
  if (bytes == nullptr) {
    ::GlobalFree(block);
    return false;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  ::GlobalUnlock(block);
  if (!OpenSoon()) {
    ::GlobalFree(block);
    return false;
  }
  ::EmptyClipboard();
  const bool set = ::SetClipboardData(CF_TEXT, block) != nullptr;
  ::CloseClipboard();
  if (!set) ::GlobalFree(block);
  return set;
}

std::optional<std::string> ClipboardText() {
  if (!OpenSoon()) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE block = ::GetClipboardData(CF_TEXT); block != nullptr) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(block)); bytes != nullptr) {
      text = std::string(bytes, strnlen(bytes, ::GlobalSize(block)));
      ::GlobalUnlock(block);
    }
  }
  ::CloseClipboard();
  return text;
}

bool ClearClipboard() {
  if (!OpenSoon()) return false;
  const bool emptied = ::EmptyClipboard() != FALSE;
  ::CloseClipboard();
  return emptied;
}

}  // namespace testing

}  // namespace platform
