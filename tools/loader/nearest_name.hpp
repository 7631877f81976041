// Messages for a name the user mistyped: the choices there are, and the one
// nearest to what was given.
#pragma once

#include <string>
#include <vector>

namespace loader {

// The choice with the fewest edits (insert, delete, replace a character;
// case and a caption's "&" and parentheses ignored) from `given`; empty when none is within half the length
// of the longer of the two, as a guess that far off helps nobody.
std::string NearestName(const std::string& given, const std::vector<std::string>& choices);

// The choices that hold every word of `given`, each word whole or as the
// start (three letters or more) of one of theirs, case and a caption's "&"
// and parentheses ignored: "Center" and "vert" find "Center of (&V)ertexes".
std::vector<std::string> WordMatches(const std::string& given, const std::vector<std::string>& choices);

// "; did you mean \"X\"? The choices are \"A\", \"B\"": the tail of an error
// message about `given`. The guesses are the word matches, or else the
// nearest choice. `notes`, when given, holds a note per choice, shown after
// it in parentheses where it is not empty.
std::string ChoicesHint(const std::string& given, const std::vector<std::string>& choices,
                        const std::vector<std::string>& notes = {});

// The first of argv[1..] that looks like an option ("-x", "--name",
// "--name=VALUE"; not "-" alone, not a negative number or position such as
// "-10,5", nothing after "--") and is none of `known`, without its "=VALUE";
// empty when every one is known. `nearest` is then the known option nearest
// to it, or empty.
std::string FirstUnknownOption(const std::vector<std::string>& known, int argc, char** argv,
                               std::string* nearest);

// Every name of a command line parser's options, "--long" and "-s" (a CLI11
// app, or anything with its get_options, get_lnames and get_snames).
template <class App>
std::vector<std::string> OptionNamesOf(const App& app) {
  std::vector<std::string> names;
  for (const auto* option : app.get_options()) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
    for (const std::string& name : option->get_snames()) names.push_back("-" + name);
  }
  return names;
}

}  // namespace loader
