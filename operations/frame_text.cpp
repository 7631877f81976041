#include "operations/frame_text.hpp"

#include <charconv>
#include <cstddef>
#include <system_error>

namespace tervolin {

std::string FormatFrameText(const float values[16]) {
  // std::to_chars writes as printf's "%.6g" does in the C locale, on every
  // runtime: a full stop, and exponents of two digits at least (msvcrt's own
  // printf would write "1e-005" and follows the locale's decimal point).
  std::string text;
  for (int i = 0; i < 16; ++i) {
    if (i > 0) text += ',';
    char buffer[32];
    const std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, values[i], std::chars_format::general, 6);
    text.append(buffer, written.ptr);
  }
  return text;
}

namespace {

// The white space of the classic locale.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class FrameTextReader {
 public:
  explicit FrameTextReader(std::string_view text) : text_(text) {}

  bool ReadNumber(float& value) {
    SkipBlanks();
    const std::size_t start = pos_;
    bool negative = false;
    if (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
      negative = text_[pos_] == '-';
      ++pos_;
    }
    const std::size_t mantissa = pos_;
    const std::size_t integerDigits = SkipDigits();
    std::size_t fractionDigits = 0;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      fractionDigits = SkipDigits();
    }
    if (integerDigits + fractionDigits == 0) {
      pos_ = start;
      return false;
    }
    // An exponent counts only when it has a digit; "2e," is the number 2.
    long exponent = 0;
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E')) {
      std::size_t look = pos_ + 1;
      bool negativeExponent = false;
      if (look < text_.size() && (text_[look] == '+' || text_[look] == '-')) {
        negativeExponent = text_[look] == '-';
        ++look;
      }
      if (look < text_.size() && IsDigit(text_[look])) {
        pos_ = look;
        for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_) {
          if (exponent < 100000) exponent = exponent * 10 + (text_[pos_] - '0');
        }
        if (negativeExponent) exponent = -exponent;
      }
    }

    const char* first = text_.data() + mantissa;
    const char* last = text_.data() + pos_;
    float magnitude = 0;
    const std::from_chars_result parsed = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (parsed.ptr != last) return false;
    if (parsed.ec == std::errc::result_out_of_range) {
      // Too small for a float rounds to zero; too large cannot be read.
      if (LeadingDigitExponent(mantissa, integerDigits, fractionDigits) + exponent >= 0) return false;
      magnitude = 0;
    } else if (parsed.ec != std::errc()) {
      return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
  }

  // The character after a number, whatever it is; nothing at the end.
  void SkipSeparator() {
    SkipBlanks();
    if (pos_ < text_.size()) ++pos_;
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }
  std::size_t SkipDigits() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    return pos_ - start;
  }
  // Decimal exponent of the first non-zero digit of the mantissa at `at`
  // (0 for "5", 2 for "123.4", -3 for "0.004"), leaving out the e part.
  long LeadingDigitExponent(std::size_t at, std::size_t integerDigits, std::size_t fractionDigits) const {
    for (std::size_t i = 0; i < integerDigits; ++i) {
      if (text_[at + i] != '0') return static_cast<long>(integerDigits - 1 - i);
    }
    for (std::size_t i = 0; i < fractionDigits; ++i) {
      if (text_[at + integerDigits + 1 + i] != '0') return -static_cast<long>(i + 1);
    }
    return 0;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

bool ParseFrameText(std::string_view text, float values[16]) {
  FrameTextReader reader(text);
  float read[16];
  for (float& value : read) {
    if (!reader.ReadNumber(value)) return false;
    reader.SkipSeparator();
  }
  for (int i = 0; i < 16; ++i) values[i] = read[i];
  return true;
}

}  // namespace tervolin
