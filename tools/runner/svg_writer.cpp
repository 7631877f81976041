#include "tools/runner/svg_writer.hpp"

#include <cmath>
#include <cstdio>

#include "loader/visible_text.hpp"

namespace runner {

std::string SvgWriter::Finish(int width, int height) const {
  return "<svg xmlns='http://www.w3.org/2000/svg' width='" + N(width) + "' height='" + N(height) +
         "' viewBox='0 0 " + N(width) + " " + N(height) +
         "' font-family='Segoe UI, DejaVu Sans, sans-serif' font-size='12'>\n" + body_ + "</svg>\n";
}

std::string SvgWriter::Escape(const std::string& text) {
  // Control characters and bytes that are not UTF-8 would make the picture
  // no XML at all: they are drawn as visible escapes.
  std::string out;
  for (char c : loader::Visible(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string SvgWriter::N(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", std::round(value * 10) / 10 + 0.0);
  return text;
}

}  // namespace runner
