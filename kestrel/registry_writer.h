#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "common/os_version.h"
#include "kestrel/connection_settings.h"
#include "platform/registry.h"

namespace kestrel {

// The data of one registry value: a number (stored as REG_DWORD) or a text
// (stored as REG_SZ). A number asked for as REG_SZ is stored as its decimal
// text.
using RegistryData = std::variant<std::int32_t, std::string>;

// Opens the subkey below root, creating it when it is missing (also for a
// deletion), then sets the value or, when remove is true, deletes it. Only
// REG_SZ and REG_DWORD are written; any other type sets nothing and gives 0.
// Returns the platform's result: 0 on success, the error of the key's creation
// when the key cannot be opened. Deleting a value that is not there succeeds.
long SetRegistryValue(platform::Registry& registry, platform::RegistryRoot root,
                      const std::string& subkey, const std::string& valueName,
                      std::uint32_t valueType, const RegistryData& value, bool remove);

// What "Windows Default" stands for when the writer meets it: the defaults of
// the running Windows (era), and whether every value goes back to them, as
// Restore wants, or only the groups of a Manual record left on "Windows
// Default".
struct WindowsDefaultsTarget {
  common::WindowsEra era = common::WindowsEra::Unknown;
  bool everyValue = false;
};

// Writes the settings into the TCP/IP keys of the Windows family that osCode
// names: 1 to 4 the Windows 95 family, 5 to 7 the NT family; any other code
// writes nothing. A value that goes back to the Windows default gets the
// running era's own default, or is removed where Windows uses a built-in one
// (never another family's number). A failed write does not stop the
// following ones. Returns true when every write succeeded.
bool WriteRegistrySettings(platform::Registry& registry, const ConnectionSettings& settings,
                           std::int16_t osCode, WindowsDefaultsTarget defaults = {});

}  // namespace kestrel
