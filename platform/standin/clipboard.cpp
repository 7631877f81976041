// The clipboard stand-in used where the system has none we can reach: one
// process-wide clipboard and its global blocks, with faults that tests switch
// on to reach the callers' failure paths. When the process offers a clipboard
// (protocol/process_clipboard.hpp), its text is the clipboard's text and its
// refusals are the calls' failures.
#include "platform/clipboard.hpp"

#include <dlfcn.h>

#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard_testing.hpp"
#include "protocol/process_clipboard.hpp"

namespace platform {

namespace {

struct Block {
  std::vector<char> bytes;
  int locks = 0;
  bool onClipboard = false;
};

// The whole stand-in: every block alive, keyed by its handle, and the formats
// the clipboard holds. Handles are the blocks' addresses; a handle that is not
// in `blocks` is stale or foreign and is refused.
struct ClipboardState {
  std::mutex mutex;
  std::map<Block*, std::unique_ptr<Block> > blocks;
  std::map<unsigned, Block*> formats;
  bool open = false;
  testing::ClipboardFaults faults;

  Block* Find(MemoryHandle handle) {
    auto found = blocks.find(static_cast<Block*>(handle));
    return found == blocks.end() ? nullptr : found->second.get();
  }
  Block* Allocate(std::size_t bytes) {
    auto block = std::make_unique<Block>();
    block->bytes.resize(bytes);
    Block* key = block.get();
    blocks.emplace(key, std::move(block));
    return key;
  }
  void DropFormats() {
    for (const auto& entry : formats) blocks.erase(entry.second);
    formats.clear();
  }
  bool SetFormat(unsigned format, Block* block) {
    if (block == nullptr || block->onClipboard) return false;
    if (auto old = formats.find(format); old != formats.end()) blocks.erase(old->second);
    block->onClipboard = true;
    formats[format] = block;
    return true;
  }
};

ClipboardState& State() {
  static ClipboardState state;
  return state;
}

// The clipboard the process offers, if it offers one.
struct ProcessClipboard {
  process_clipboard::GetText get = nullptr;
  process_clipboard::SetText set = nullptr;
  process_clipboard::Refuses refuses = nullptr;
};

const ProcessClipboard& Offered() {
  static const ProcessClipboard offered = [] {
    ProcessClipboard found;
    found.get =
        reinterpret_cast<process_clipboard::GetText>(dlsym(RTLD_DEFAULT, process_clipboard::kGetTextName));
    found.set =
        reinterpret_cast<process_clipboard::SetText>(dlsym(RTLD_DEFAULT, process_clipboard::kSetTextName));
    if (found.get == nullptr || found.set == nullptr) {
      found.get = nullptr;
      found.set = nullptr;
    }
    found.refuses =
        reinterpret_cast<process_clipboard::Refuses>(dlsym(RTLD_DEFAULT, process_clipboard::kRefusesName));
    return found;
  }();
  return offered;
}

// Whether the process refuses this call now.
bool Refused(process_clipboard::Call call) {
  const ProcessClipboard& offered = Offered();
  return offered.refuses != nullptr && offered.refuses(static_cast<int>(call)) != 0;
}

// On opening: the process's text becomes the clipboard's only format.
void TakeOffered(ClipboardState& state) {
  const ProcessClipboard& offered = Offered();
  if (offered.get == nullptr) return;
  int holds = 0;
  std::size_t length = offered.get(nullptr, 0, &holds);
  std::vector<char> text(length + 1);
  // The text may have grown between the two calls; take it when it fits.
  while (holds != 0) {
    const std::size_t now = offered.get(text.data(), text.size(), &holds);
    if (now < text.size()) break;
    text.resize(now + 1);
  }
  state.DropFormats();
  if (holds == 0) return;
  Block* block = state.Allocate(std::strlen(text.data()) + 1);
  std::memcpy(block->bytes.data(), text.data(), block->bytes.size());
  state.SetFormat(kClipboardText, block);
}

// On closing, and after a test put text directly: the clipboard's text goes
// to the process.
void GiveOffered(const ClipboardState& state) {
  const ProcessClipboard& offered = Offered();
  if (offered.set == nullptr) return;
  const auto found = state.formats.find(kClipboardText);
  if (found == state.formats.end()) {
    offered.set("", 0, 0);
    return;
  }
  const std::vector<char>& bytes = found->second->bytes;
  offered.set(bytes.data(), bytes.empty() ? 0 : strnlen(bytes.data(), bytes.size()), 1);
}

}  // namespace

MemoryHandle GlobalAlloc(unsigned flags, std::size_t bytes) {
  (void)flags;  // every block of the stand-in is movable and shareable
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.faults.allocFails || Refused(process_clipboard::Call::kAllocate)) return nullptr;
  return state.Allocate(bytes);
}

void* GlobalLock(MemoryHandle block) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  Block* entry = state.Find(block);
  // A block of no bytes has no memory to hand out, as on Windows.
  if (entry == nullptr || entry->bytes.empty() || state.faults.lockFails ||
      Refused(process_clipboard::Call::kLock))
    return nullptr;
  ++entry->locks;
  return entry->bytes.data();
}

bool GlobalUnlock(MemoryHandle block) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  Block* entry = state.Find(block);
  if (entry == nullptr || entry->locks == 0) return false;
  --entry->locks;
  return entry->locks > 0;
}

std::size_t GlobalSize(MemoryHandle block) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  Block* entry = state.Find(block);
  return entry == nullptr ? 0 : entry->bytes.size();
}

MemoryHandle GlobalFree(MemoryHandle block) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  Block* entry = state.Find(block);
  // The clipboard's own blocks are not the caller's to release.
  if (entry == nullptr || entry->onClipboard) return block;
  state.blocks.erase(entry);
  return nullptr;
}

bool OpenClipboard() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.open || state.faults.openFails || Refused(process_clipboard::Call::kOpen)) return false;
  state.open = true;
  TakeOffered(state);
  return true;
}

bool EmptyClipboard() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.open) return false;
  state.DropFormats();
  return true;
}

MemoryHandle SetClipboardData(unsigned format, MemoryHandle block) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.open || state.faults.setFails || Refused(process_clipboard::Call::kSetData)) return nullptr;
  return state.SetFormat(format, state.Find(block)) ? block : nullptr;
}

MemoryHandle GetClipboardData(unsigned format) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.open) return nullptr;
  auto found = state.formats.find(format);
  return found == state.formats.end() ? nullptr : found->second;
}

bool CloseClipboard() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (!state.open) return false;
  state.open = false;
  GiveOffered(state);
  return true;
}

namespace testing {

bool PutClipboardText(const std::string& text) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.open) return false;
  Block* block = state.Allocate(text.size() + 1);
  std::memcpy(block->bytes.data(), text.c_str(), text.size() + 1);
  state.DropFormats();
  const bool set = state.SetFormat(kClipboardText, block);
  GiveOffered(state);
  return set;
}

std::optional<std::string> ClipboardText() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  auto found = state.formats.find(kClipboardText);
  if (found == state.formats.end()) return std::nullopt;
  const std::vector<char>& bytes = found->second->bytes;
  if (bytes.empty()) return std::string();
  return std::string(bytes.data(), strnlen(bytes.data(), bytes.size()));
}

bool ClearClipboard() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.open) return false;
  state.DropFormats();
  GiveOffered(state);
  return true;
}

void SetClipboardFaults(const ClipboardFaults& faults) {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.faults = faults;
}

std::size_t LiveGlobalBlocks() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.blocks.size();
}

bool ClipboardIsOpen() {
  ClipboardState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.open;
}

}  // namespace testing

}  // namespace platform
