#include "tools/workbench/clipboard_service.hpp"

#include "tools/runner/clipboard_access.hpp"

namespace workbench {

std::optional<std::string> ReadClipboard(std::string* note) {
  std::optional<std::string> text = runner::ReadClipboardText();
#ifdef _WIN32
  // Empty, or held by another program: the page says so either way.
  if (!text) *note = "it holds no text, or another program holds it";
#else
  (void)note;  // the host's clipboard is always there to read
#endif
  return text;
}

bool WriteClipboard(const std::string& text, std::string* note) {
  return runner::WriteClipboardText(text, note);
}

const char* ClipboardKind() {
#ifdef _WIN32
  return "the Windows clipboard, which the plug-in copies to and pastes from";
#else
  return "the workbench's own clipboard, which the plug-in copies to and pastes from (not your desktop's)";
#endif
}

}  // namespace workbench
