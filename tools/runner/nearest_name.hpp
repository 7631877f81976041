// Messages for a name the user mistyped: the choices there are, and the one
// nearest to what was given.
#pragma once

#include <string>
#include <vector>

namespace runner {

// The choice with the fewest edits (insert, delete, replace a character;
// case and a caption's "&" and parentheses ignored) from `given`; empty when none is within half the length
// of the longer of the two, as a guess that far off helps nobody.
std::string NearestName(const std::string& given, const std::vector<std::string>& choices);

// "; did you mean \"X\"? The choices are \"A\", \"B\"": the tail of an error
// message about `given`.
std::string ChoicesHint(const std::string& given, const std::vector<std::string>& choices);

}  // namespace runner
