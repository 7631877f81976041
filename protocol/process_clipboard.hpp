// A clipboard the process offers to the plug-in's stand-in clipboard
// (platform/standin), where the system has none the plug-in can reach. A
// program that hosts the plug-in exports C functions under these names (the
// replacement host does, so every program that loads it offers one); the
// stand-in finds them in the process at run time:
//   get and set    when both are there, the stand-in takes the text from the
//                  process when the clipboard is opened and gives its text
//                  back when it is closed, so a get is always followed by a
//                  set, and a get without its set means the clipboard is
//                  still held open;
//   refuses        when it is there, the stand-in asks it before each call
//                  that may fail on a real system, and fails the call when it
//                  answers non-zero, so that a host can answer the failures
//                  a system clipboard may answer.
// Without them the stand-in keeps its own clipboard, which starts empty in
// every process and never fails but as its own rules say.
#pragma once

#include <cstddef>

namespace process_clipboard {

// The text's length; with `holds` 0 the clipboard holds no text. The text
// and its NUL are copied into `buffer` only when `size` is larger than the
// length.
using GetText = std::size_t (*)(char* buffer, std::size_t size, int* holds);
// Replaces the text; `holds` 0 empties the clipboard.
using SetText = void (*)(const char* text, std::size_t length, int holds);
// The calls a process may refuse, as the system's clipboard may: opening it
// (held by another program), allocating and locking a global block (no
// memory), and setting data (refused by the system).
enum class Call : int { kOpen = 1, kAllocate = 2, kLock = 3, kSetData = 4 };
// Non-zero when the call is to fail now.
using Refuses = int (*)(int call);

inline constexpr const char* kGetTextName = "tervolin_process_clipboard_get";
inline constexpr const char* kSetTextName = "tervolin_process_clipboard_set";
inline constexpr const char* kRefusesName = "tervolin_process_clipboard_refuses";

}  // namespace process_clipboard
