// The clipboard the host offers to the plug-in's stand-in clipboard: the text,
// whether the plug-in holds it open, and the C functions the stand-in finds
// by name. The stand-in calls them on the plug-in's thread; the programs that
// load the host may read and set the text from others (the workbench's
// server), hence the lock.
#include "mqhost/clipboard.hpp"

#ifdef MQHOST_OFFERS_CLIPBOARD

#include <cstring>
#include <mutex>
#include <type_traits>

#include "host/src/calls/host_faults.hpp"
#include "protocol/process_clipboard.hpp"

namespace mqhost {

namespace {

struct OfferedClipboard {
  std::mutex mutex;
  std::optional<std::string> text;
  bool open = false;
};

OfferedClipboard& Offered() {
  static OfferedClipboard clipboard;
  return clipboard;
}

}  // namespace

std::optional<std::string> ClipboardText() {
  OfferedClipboard& clipboard = Offered();
  std::lock_guard<std::mutex> lock(clipboard.mutex);
  return clipboard.text;
}

bool SetClipboardText(const std::optional<std::string>& text) {
  OfferedClipboard& clipboard = Offered();
  std::lock_guard<std::mutex> lock(clipboard.mutex);
  if (clipboard.open) return false;
  clipboard.text = text;
  return true;
}

bool ClipboardHeldOpen() {
  OfferedClipboard& clipboard = Offered();
  std::lock_guard<std::mutex> lock(clipboard.mutex);
  return clipboard.open;
}

}  // namespace mqhost

// The stand-in takes the text only when it opens the clipboard, and gives
// it back only when it closes it (or when a test of its own puts text).
MQHOST_EXPORT_C size_t tervolin_process_clipboard_get(char* buffer, size_t size, int* holds) {
  mqhost::OfferedClipboard& clipboard = mqhost::Offered();
  std::lock_guard<std::mutex> lock(clipboard.mutex);
  clipboard.open = true;
  *holds = clipboard.text ? 1 : 0;
  if (!clipboard.text) return 0;
  if (buffer != nullptr && size > clipboard.text->size()) {
    std::memcpy(buffer, clipboard.text->c_str(), clipboard.text->size() + 1);
  }
  return clipboard.text->size();
}

MQHOST_EXPORT_C void tervolin_process_clipboard_set(const char* text, size_t length, int holds) {
  mqhost::OfferedClipboard& clipboard = mqhost::Offered();
  std::lock_guard<std::mutex> lock(clipboard.mutex);
  clipboard.open = false;
  clipboard.text = holds != 0 ? std::optional<std::string>(std::string(text, length)) : std::nullopt;
}

MQHOST_EXPORT_C int tervolin_process_clipboard_refuses(int call) {
  using mqhost::HostFault;
  using process_clipboard::Call;
  switch (static_cast<Call>(call)) {
    case Call::kOpen: return mqhost::host_faults::Answer(HostFault::ClipboardOpen, "OpenClipboard") ? 1 : 0;
    case Call::kAllocate: return mqhost::host_faults::Answer(HostFault::ClipboardData, "GlobalAlloc") ? 1 : 0;
    case Call::kLock: return mqhost::host_faults::Answer(HostFault::ClipboardData, "GlobalLock") ? 1 : 0;
    case Call::kSetData:
      return mqhost::host_faults::Answer(HostFault::ClipboardData, "SetClipboardData") ? 1 : 0;
  }
  return 0;
}

static_assert(std::is_same_v<decltype(&tervolin_process_clipboard_get), process_clipboard::GetText>);
static_assert(std::is_same_v<decltype(&tervolin_process_clipboard_set), process_clipboard::SetText>);
static_assert(std::is_same_v<decltype(&tervolin_process_clipboard_refuses), process_clipboard::Refuses>);

#endif
