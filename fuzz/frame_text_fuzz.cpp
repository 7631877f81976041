// The clipboard's frame text: pasting arbitrary text either reads sixteen
// finite-or-not floats or leaves the values untouched; a frame that was read
// formats and reads back to the same text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "operations/frame_text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  float values[16];
  for (float& value : values) value = 12345.0f;
  float untouched[16];
  std::memcpy(untouched, values, sizeof values);
  if (!tervolin::ParseFrameText(text, values)) {
    if (std::memcmp(values, untouched, sizeof values) != 0) std::abort();  // a refusal changes nothing
    return 0;
  }
  const std::string formatted = tervolin::FormatFrameText(values);
  float again[16];
  if (!tervolin::ParseFrameText(formatted, again)) std::abort();  // our own text always reads back
  if (tervolin::FormatFrameText(again) != formatted) std::abort();
  return 0;
}
