#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace common {
namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDecimal(const std::string& s) {
  // Optional sign, digits with at most one decimal point, optional exponent.
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      digits = true;
    } else if (s[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    const std::size_t exponentStart = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
    if (i == exponentStart) return false;
  }
  return i == s.size();
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::optional<unsigned> ReadDigits(std::string_view text, unsigned limit) {
  const std::string_view digits = TrimBlanks(text);
  if (digits.empty()) return std::nullopt;
  unsigned value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min(value * 10 + static_cast<unsigned>(c - '0'), limit + 1);
  }
  return value;
}

std::optional<long long> ReadWholeNumber(const std::string& text) {
  const std::string number(TrimBlanks(text));
  if (!IsDecimal(number)) return std::nullopt;
  // A number too small for a double reads as (nearly) 0 and is no error,
  // although strtod reports it as out of range; only the value decides.
  const double value = std::strtod(number.c_str(), nullptr);
  // Far beyond any real use; refusing it keeps the rounding exact.
  if (!std::isfinite(value) || std::fabs(value) > 1e15) return std::nullopt;
  // Halves go to the even neighbour, as the system's own conversion does.
  return static_cast<long long>(std::nearbyint(value));
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace common
