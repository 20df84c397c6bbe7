#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace common {

// The text without the blanks and tabs around it: a view into the same
// characters, so keep the text alive while the view is used.
std::string_view TrimBlanks(std::string_view text);

// Whether two texts are the same but for the case of the letters A to Z, as
// the registry compares names and the command line its switches.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// The whole text as a decimal integer that fits Integer, as the programs'
// own files write one: digits, after a minus sign for a negative one; no
// blanks, no plus sign. Nothing otherwise.
template <typename Integer>
std::optional<Integer> ReadInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  Integer value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// A text of decimal digits only, blanks around it allowed, as the parts of a
// dotted address are typed. A value beyond limit reads as limit + 1, so that a
// long run of digits is still a (too large) number rather than an overflow.
// Nothing for an empty text or any other character.
std::optional<unsigned> ReadDigits(std::string_view text, unsigned limit);

// A text read as a number the way a user writes one (sign, decimal point,
// exponent; blanks around it are fine) and rounded to a whole number, halves
// to the even neighbour. Nothing when the text is not a number.
std::optional<long long> ReadWholeNumber(const std::string& text);

}  // namespace common
