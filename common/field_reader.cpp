#include "common/field_reader.h"

#include <string>

#include "common/numbers.h"

namespace common {
namespace {

constexpr std::string_view kBlanks = " \t";

}  // namespace

FieldReader::FieldReader(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    AddLine(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
}

void FieldReader::AddLine(std::string_view line) {
  if (TrimBlanks(line).empty()) return;
  std::size_t start = 0;
  for (;;) {
    const std::size_t first = line.find_first_not_of(kBlanks, start);
    std::size_t comma;
    if (first != std::string_view::npos && line[first] == '"') {
      // An unclosed quote takes the rest of the line.
      const std::size_t close = line.find('"', first + 1);
      fields_.push_back(line.substr(first + 1, close - (first + 1)));
      comma = close == std::string_view::npos ? close : line.find(',', close);
    } else {
      comma = line.find(',', start);
      fields_.push_back(TrimBlanks(line.substr(start, comma - start)));
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
}

std::optional<std::string_view> FieldReader::Next() {
  if (next_ == fields_.size()) return std::nullopt;
  return fields_[next_++];
}

bool FieldReader::Read(bool& target) {
  const auto field = Next();
  if (!field) return false;
  if (*field == kTrueField) {
    target = true;
  } else if (*field == kFalseField) {
    target = false;
  } else {
    return false;
  }
  return true;
}

bool FieldReader::Read(std::string& target) {
  const auto field = Next();
  if (!field) return false;
  target = std::string(*field);
  return true;
}

}  // namespace common
