#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/os_version.h"

namespace kestrel {

// The two registry layouts Kestrel writes, one per Windows family.
enum class RegistryLayout { Windows95Family, NtFamily };

// Whether a Windows reads a value at all.
enum class ReadBy {
  Yes,
  No,
  Undocumented,  // no published source says either way
};

// What one era of Windows does with a value.
struct EraFacts {
  ReadBy read = ReadBy::No;
  // A few words on why (shown beside yes or no).
  std::string reason;
  // The era's own default, or nothing when Windows falls back on a built-in
  // default that is not published: the value is then best removed.
  std::optional<std::int32_t> defaultValue;
};

// Everything Kestrel knows about one value it writes.
struct ValueFacts {
  RegistryLayout layout;
  // The value's name; empty for a key's default value.
  std::string name;
  // Where it lives, as a user would look for it.
  std::string where;
  // One line for people.
  std::string meaning;
  // Indexed by common::WindowsEra.
  EraFacts eras[5];

  const EraFacts& For(common::WindowsEra era) const {
    return eras[static_cast<int>(era)];
  }
};

// Every value of both layouts, in the order the layouts write them.
const std::vector<ValueFacts>& RegistryFacts();

// The facts of a value of a layout, by its name (compared without regard to
// case); nothing for a name the layout does not write.
const ValueFacts* FindRegistryFacts(RegistryLayout layout, const std::string& name);

// The name of an era as the facts page prints it.
std::string EraName(common::WindowsEra era);

}  // namespace kestrel
