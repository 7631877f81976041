#include "loader/nearest_name.hpp"

#include <algorithm>
#include <cctype>

namespace loader {

namespace {

// Lower case, without the "&" and parentheses of a caption's mnemonic.
std::string Plain(const std::string& text) {
  std::string plain;
  for (const char c : text) {
    if (c != '&' && c != '(' && c != ')')
      plain += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return plain;
}

// The words of a name or caption, lower case, its mnemonic's "&" and
// parentheses dropped first: "Center of the O(&b)ject" has "object".
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (const char c : Plain(text) + " ") {
    if (std::isalnum(static_cast<unsigned char>(c)) || (static_cast<unsigned char>(c) & 0x80) != 0) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::string NearestName(const std::string& given, const std::vector<std::string>& choices) {
  std::string best;
  size_t bestDistance = 0;
  const std::string plainGiven = Plain(given);
  for (const std::string& choice : choices) {
    const std::string plainChoice = Plain(choice);
    const size_t distance = EditDistance(plainGiven, plainChoice);
    if (2 * distance > std::max(plainGiven.size(), plainChoice.size())) continue;
    if (best.empty() || distance < bestDistance) {
      best = choice;
      bestDistance = distance;
    }
  }
  return best;
}

std::vector<std::string> WordMatches(const std::string& given, const std::vector<std::string>& choices) {
  const std::vector<std::string> givenWords = Words(given);
  std::vector<std::string> matches;
  if (givenWords.empty()) return matches;
  for (const std::string& choice : choices) {
    const std::vector<std::string> words = Words(choice);
    bool all = true;
    for (const std::string& wanted : givenWords) {
      bool found = false;
      for (const std::string& word : words) {
        found =
            found || word == wanted || (wanted.size() >= 3 && word.compare(0, wanted.size(), wanted) == 0);
      }
      all = all && found;
    }
    if (all) matches.push_back(choice);
  }
  return matches;
}

std::string ChoicesHint(const std::string& given, const std::vector<std::string>& choices,
                        const std::vector<std::string>& notes) {
  auto shown = [&choices, &notes](size_t i) {
    std::string text = "\"" + choices[i] + "\"";
    if (i < notes.size() && !notes[i].empty()) text += " (" + notes[i] + ")";
    return text;
  };
  auto indexOf = [&choices](const std::string& choice) {
    return static_cast<size_t>(std::find(choices.begin(), choices.end(), choice) - choices.begin());
  };
  // A note's words count too: "mirror" finds the buttons of the Mirror row.
  std::vector<std::string> described;
  for (size_t i = 0; i < choices.size(); ++i)
    described.push_back(choices[i] + (i < notes.size() ? " " + notes[i] : ""));
  std::vector<std::string> guesses;
  for (const std::string& match : WordMatches(given, described)) {
    guesses.push_back(choices[static_cast<size_t>(std::find(described.begin(), described.end(), match) -
                                                  described.begin())]);
  }
  if (guesses.empty()) {
    const std::string nearest = NearestName(given, choices);
    if (!nearest.empty()) guesses.push_back(nearest);
  }
  std::string hint;
  for (size_t i = 0; i < guesses.size(); ++i) {
    hint += (i == 0                    ? "; did you mean "
             : i + 1 == guesses.size() ? " or "
                                       : ", ") +
            shown(indexOf(guesses[i]));
  }
  if (!guesses.empty()) hint += "?";
  if (choices.empty()) return hint;
  hint += guesses.empty() ? "; the choices are " : " The choices are ";
  for (size_t i = 0; i < choices.size(); ++i) hint += (i > 0 ? ", " : "") + shown(i);
  return hint;
}

std::string FirstUnknownOption(const std::vector<std::string>& known, int argc, char** argv,
                               std::string* nearest) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--") break;
    if (argument.size() < 2 || argument[0] != '-' || (argument[1] >= '0' && argument[1] <= '9')) continue;
    argument = argument.substr(0, argument.find('='));
    if (std::find(known.begin(), known.end(), argument) != known.end()) continue;
    *nearest = NearestName(argument, known);
    return argument;
  }
  return {};
}

}  // namespace loader
