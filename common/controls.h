#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace common {

// Control states of a form, as its view mirrors them into the real controls.
struct OptionControl {
  bool enabled = true;
  bool selected = false;
  bool operator==(const OptionControl&) const = default;
};

struct ListControl {
  bool enabled = true;
  int selected = -1;
  std::vector<std::string> items;

  bool HasSelection() const { return selected >= 0 && selected < static_cast<int>(items.size()); }
  std::string SelectedText() const { return HasSelection() ? items[selected] : std::string(); }
  bool operator==(const ListControl&) const = default;
};

enum class TextAlignment { Left, Centre };

struct TextControl {
  bool enabled = true;
  std::string text;
  std::size_t maxLength = 0;  // 0: no limit
  TextAlignment alignment = TextAlignment::Left;
  bool operator==(const TextControl&) const = default;
};

struct CheckControl {
  bool enabled = true;
  int state = 0;  // 0 clear, 1 ticked, 2 greyed
  bool operator==(const CheckControl&) const = default;
};

}  // namespace common
