#include "operations/clipboard_text.hpp"

#include <cstring>

#include "platform/clipboard.hpp"

namespace tervolin {

std::string ReadClipboardText() {
  std::string text;
  if (!platform::OpenClipboard()) return text;
  if (platform::MemoryHandle block = platform::GetClipboardData(platform::kClipboardText); block != nullptr) {
    // Another program may have put text without its NUL: stop at the block's end.
    const std::size_t size = platform::GlobalSize(block);
    if (const auto* bytes = static_cast<const char*>(platform::GlobalLock(block)); bytes != nullptr) {
      text.assign(bytes, strnlen(bytes, size));
      platform::GlobalUnlock(block);
    }
  }
  platform::CloseClipboard();
  return text;
}

bool WriteClipboardText(const std::string& text) {
  platform::MemoryHandle block =
      platform::GlobalAlloc(platform::kGmemMoveable | platform::kGmemDdeshare, text.size() + 1);
  if (block == nullptr) return false;
  void* bytes = platform::GlobalLock(block);
  if (bytes == nullptr) {
    platform::GlobalFree(block);
    return false;
  }
  std::memcpy(bytes, text.c_str(), text.size() + 1);
  platform::GlobalUnlock(block);

  // The clipboard takes the block over only once it is set as data; up to
  // then it is ours to release.
  if (!platform::OpenClipboard()) {
    platform::GlobalFree(block);
    return false;
  }
  platform::EmptyClipboard();
  const bool handedOver = platform::SetClipboardData(platform::kClipboardText, block) != nullptr;
  platform::CloseClipboard();
  if (!handedOver) platform::GlobalFree(block);
  return handedOver;
}

}  // namespace tervolin
