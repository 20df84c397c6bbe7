#include "common/user_settings.h"

#include <cstdint>
#include <vector>

namespace common {

namespace reg = platform::reg;
using platform::RegistryRoot;

std::string UserSettings::KeyPath(const std::string& section) const {
  return "Software\\" + program_ + "\\" + section;
}

std::optional<std::string> UserSettings::Get(const std::string& section, const std::string& key) {
  platform::ScopedRegistryKey opened(registry_);
  if (opened.Open(RegistryRoot::CurrentUser, KeyPath(section)) != reg::kSuccess) {
    return std::nullopt;
  }
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry_.QueryValue(opened.get(), key, type, data) != reg::kSuccess) return std::nullopt;
  if (type == reg::kTypeSz || type == reg::kTypeExpandSz) {
    // Up to the terminating zero, which a value may lack.
    std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
  }
  if (type == reg::kTypeDword && data.size() == 4) {
    return std::to_string(static_cast<std::int32_t>(reg::DwordFromBytes(data)));
  }
  return std::nullopt;
}

bool UserSettings::Save(const std::string& section, const std::string& key,
                        const std::string& value) {
  platform::ScopedRegistryKey opened(registry_);
  if (opened.Create(RegistryRoot::CurrentUser, KeyPath(section)) != reg::kSuccess) return false;
  // Stored with its terminating zero, as the system stores texts.
  std::vector<std::uint8_t> data(value.begin(), value.end());
  data.push_back(0);
  return registry_.SetValue(opened.get(), key, reg::kTypeSz, data) == reg::kSuccess;
}

}  // namespace common
