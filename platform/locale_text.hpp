// Narrow text to UTF-16 under the process's character-type locale (LC_CTYPE),
// through the C runtime's multibyte conversion: the conversion object names
// get for display. The locale is whatever `setlocale` last set; this file
// never changes it.
#pragma once

#include <string>

namespace platform {

// Converts the whole of `text` with the runtime's multibyte rules. False when
// the runtime reports a conversion error; `wide` is then left empty.
bool LocaleMultiByteToUtf16(const std::string& text, std::u16string& wide);

}  // namespace platform
