// Narrow text on the system clipboard (CF_TEXT), for the clipboard operations.
#pragma once

#include <string>

namespace tervolin {

// The clipboard's text up to its NUL (and never past the end of its block);
// empty when the clipboard cannot be opened or holds no text.
std::string ReadClipboardText();

// Replaces the clipboard's contents with `text`. False when it did not get
// there; the clipboard then keeps what it had and no memory is left behind.
bool WriteClipboardText(const std::string& text);

}  // namespace tervolin
