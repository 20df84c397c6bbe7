#pragma once

#include <optional>
#include <string>

#include "platform/registry.h"

namespace common {

// The per-user settings of a program: text values by program name, section
// and key, kept in the current user's registry under
// Software\<program>\<section>, value <key>.
class UserSettings {
 public:
  UserSettings(platform::Registry& registry, std::string program)
      : registry_(registry), program_(std::move(program)) {}

  // The stored text; a number stored as such reads as its decimal text.
  // Nothing when the setting is missing or holds neither text nor number.
  std::optional<std::string> Get(const std::string& section, const std::string& key);
  // Stores the text, creating the keys it needs; false when the registry refuses.
  bool Save(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string KeyPath(const std::string& section) const;

  platform::Registry& registry_;
  std::string program_;
};

}  // namespace common
