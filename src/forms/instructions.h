#pragma once

// Instruction captions shared by several forms. Their runs of blanks are part
// of the caption: at the label's width they push each sentence onto a line of
// its own.

#include <string>

namespace marvane::forms {

// Four blanks, "X" is the x-axis variable, 33 blanks, "<moderator>" defines
// the simple effect values, 14 blanks, Enter values to at least 3 decimals,
// five blanks (153 characters for a one-letter moderator).
inline std::string TwoPredictorNote(const std::string& moderator) {
  return std::string(4, ' ') + "\"X\" is the x-axis variable" + std::string(33, ' ') + "\"" + moderator +
         "\" defines the simple effect values" + std::string(14, ' ') +
         "Enter values to at least 3 decimals" + std::string(5, ' ');
}

}  // namespace marvane::forms
