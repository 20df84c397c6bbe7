#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "common/numbers.h"

namespace common {

inline constexpr std::string_view kTrueField = "#TRUE#";
inline constexpr std::string_view kFalseField = "#FALSE#";

// A Boolean as the settings files write it.
inline constexpr std::string_view BoolField(bool value) { return value ? kTrueField : kFalseField; }

// Reads the fields of the programs' settings files one after another, the way
// they are written: a field ends at a comma or at a line end (CRLF as written,
// a lone LF or CR as other editors leave them); blanks around a field are
// dropped; a field in double quotes is taken without them and may hold commas
// (anything between its closing quote and the next comma is dropped). Blank
// lines hold no fields. The lines are not told apart otherwise, so a line with
// a field too many or too few puts every later field out of step.
class FieldReader {
 public:
  explicit FieldReader(std::string_view text);

  // The next field, or nothing after the last.
  std::optional<std::string_view> Next();

  // One line: its key, read and ignored since the order of the lines is
  // fixed, then its fields into the targets. False as soon as a field is
  // missing or does not read as its target.
  template <typename... Fields>
  bool Line(Fields&... targets) {
    return Next().has_value() && (Read(targets) && ...);
  }

  // "#TRUE#" or "#FALSE#", nothing else.
  bool Read(bool& target);
  // The field as it stands.
  bool Read(std::string& target);

  // A decimal integer, negative with a leading minus, that fits the target.
  template <typename Integer>
  bool Read(Integer& target) {
    const auto field = Next();
    const auto value = field ? ReadInteger<Integer>(*field) : std::nullopt;
    if (!value) return false;
    target = *value;
    return true;
  }

 private:
  void AddLine(std::string_view line);

  std::vector<std::string_view> fields_;
  std::size_t next_ = 0;
};

}  // namespace common
