#pragma once

#include <optional>
#include <string>

namespace common {

// The text without the blanks and tabs around it.
std::string TrimBlanks(const std::string& text);

// A text read as a number the way a user writes one (sign, decimal point,
// exponent; blanks around it are fine) and rounded to a whole number, halves
// to the even neighbour. Nothing when the text is not a number.
std::optional<long long> ReadWholeNumber(const std::string& text);

}  // namespace common
