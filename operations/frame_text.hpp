// The text form of a local frame on the clipboard: the sixteen matrix floats,
// index 0 first, separated by single commas. Writing and reading never depend
// on the process's locale.
#pragma once

#include <string>
#include <string_view>

namespace tervolin {

// Each float in general notation with six significant digits ("0.1",
// "1.23457e+06", "1e-05", "-0"), separated by ",", without blanks.
std::string FormatFrameText(const float values[16]);

// Reads sixteen numbers, each followed by one separator character of any
// kind. White space is skipped before a number and before its separator; a
// number is the longest prefix of the form [sign] digits [. digits]
// [e [sign] digits]. The text may end right after the sixteenth number, and
// anything after the sixteenth separator is ignored. False, with `values`
// untouched, when fewer than sixteen numbers can be read or one of them is
// beyond the float range.
bool ParseFrameText(std::string_view text, float values[16]);

}  // namespace tervolin
