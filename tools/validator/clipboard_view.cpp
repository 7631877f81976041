#include "clipboard_view.hpp"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace validator {

namespace {

std::vector<std::string> Fields(const std::string& text) {
  std::vector<std::string> fields(1);
  for (const char c : text) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// The whole field as a finite number.
std::optional<double> Number(const std::string& field) {
  errno = 0;
  char* end = nullptr;
  const double value = std::strtod(field.c_str(), &end);
  if (field.empty() || end != field.c_str() + field.size() || errno != 0 || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<mqhost::Matrix16> ReadFrameText(const std::string& text) {
  const std::vector<std::string> fields = Fields(text);
  mqhost::Matrix16 frame{};
  if (fields.size() != frame.size()) return std::nullopt;
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::optional<double> value = Number(fields[i]);
    if (!value || std::fabs(*value) > 3.4028234663852886e38) return std::nullopt;
    frame[i] = static_cast<float>(*value);
  }
  return frame;
}

std::string CopiedFrameProblem(const std::optional<std::string>& text, const mqhost::Matrix16& frame) {
  if (!text) return "the clipboard holds no text";
  const std::vector<std::string> fields = Fields(*text);
  if (fields.size() != frame.size()) {
    return "\"" + *text + "\" holds " + std::to_string(fields.size()) + " fields, not 16";
  }
  for (size_t i = 0; i < fields.size(); ++i) {
    const std::string where = "\"" + *text + "\": number " + std::to_string(i + 1);
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(fields[i].c_str(), &end);
    if (fields[i].empty() || end != fields[i].c_str() + fields[i].size() || errno != 0 ||
        !std::isfinite(value)) {
      return where + " (\"" + fields[i] + "\") is no finite number";
    }
    // Six significant digits are within half a unit of the sixth digit.
    const double wanted = frame[i];
    if (std::fabs(value - wanted) > 5.0000001e-6 * std::fabs(wanted) + 1e-45) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "%.9g", wanted);
      return where + " is " + fields[i] + ", the frame holds " + expected;
    }
  }
  return std::string();
}

std::string FrameText(const mqhost::Matrix16& frame) {
  std::string text;
  for (size_t i = 0; i < frame.size(); ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "%.9g", static_cast<double>(frame[i]));
    text += (i == 0 ? "" : ",");
    text += number;
  }
  return text;
}

}  // namespace validator
