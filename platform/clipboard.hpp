// The system clipboard and the movable global memory blocks it holds data in.
// On Windows these are the Win32 calls of the same names; elsewhere a
// process-wide clipboard of our own, which starts empty in every process and
// follows the same rules: one opener at a time, data set and read only while
// it is open, and a block set as data belongs to the clipboard from then on.
#pragma once

#include <cstddef>

namespace platform {

// A global memory block (HGLOBAL on Windows). Null means none.
using MemoryHandle = void*;

inline constexpr unsigned kGmemMoveable = 0x0002;
inline constexpr unsigned kGmemDdeshare = 0x2000;
// Narrow, NUL-terminated text.
inline constexpr unsigned kClipboardText = 1;  // CF_TEXT

// Null when the block cannot be had.
MemoryHandle GlobalAlloc(unsigned flags, std::size_t bytes);
// The block's memory, or null when it cannot be locked. Each successful lock
// is matched by one unlock.
void* GlobalLock(MemoryHandle block);
// True while the block is still locked after this unlock.
bool GlobalUnlock(MemoryHandle block);
// The block's size in bytes; 0 for a stale handle.
std::size_t GlobalSize(MemoryHandle block);
// Releases a block the caller owns (never one handed to the clipboard).
// Null on success, the block itself when it could not be released.
MemoryHandle GlobalFree(MemoryHandle block);

// Opened without an owner window. False while someone else holds it open.
bool OpenClipboard();
// Drops every format the clipboard holds (and the blocks behind them).
bool EmptyClipboard();
// Puts `block` on the clipboard as `format`. On success the clipboard owns the
// block; on failure (null result) the caller still owns it.
MemoryHandle SetClipboardData(unsigned format, MemoryHandle block);
// The block held as `format`, owned by the clipboard; null when none.
MemoryHandle GetClipboardData(unsigned format);
bool CloseClipboard();

}  // namespace platform
