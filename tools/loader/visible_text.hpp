// Text shown to a person (the report, standard error, the pictures) with
// everything that could steer a terminal or break a document made visible:
// control characters as escapes ("\n", "\u001b") and bytes that are not
// UTF-8 as "\xNN". Names and paths come from files and command lines, where
// any byte is legal.
#pragma once

#include <string>

namespace loader {

std::string Visible(const std::string& text);

}  // namespace loader
