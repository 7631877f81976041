// The SVG writer the runner's pictures share: elements added in drawing
// order, text escaped, and the document closed with its size.
#pragma once

#include <string>

namespace runner {

class SvgWriter {
 public:
  // One element, as SVG markup; attributes use single quotes.
  void Add(const std::string& element) { body_ += "  " + element + "\n"; }
  // The whole document, `width` by `height` pixels.
  std::string Finish(int width, int height) const;

  static std::string Escape(const std::string& text);
  // Whole pixels, or tenths for coordinates that need them.
  static std::string N(int value) { return std::to_string(value); }
  static std::string N(double value);

 private:
  std::string body_;
};

}  // namespace runner
