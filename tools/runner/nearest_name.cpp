#include "tools/runner/nearest_name.hpp"

#include <algorithm>
#include <cctype>

namespace runner {

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

std::string ChoicesHint(const std::string& given, const std::vector<std::string>& choices) {
  std::string hint;
  const std::string nearest = NearestName(given, choices);
  if (!nearest.empty()) hint += "; did you mean \"" + nearest + "\"?";
  if (choices.empty()) return hint;
  hint += nearest.empty() ? "; the choices are " : " The choices are ";
  for (size_t i = 0; i < choices.size(); ++i) hint += (i > 0 ? ", \"" : "\"") + choices[i] + "\"";
  return hint;
}

}  // namespace runner
