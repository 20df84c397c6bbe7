#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_shim.h"

namespace e2e {

// A registry value exactly as stored: its type and its bytes.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;

  // The text of a REG_SZ or REG_EXPAND_SZ value without its terminating
  // zero; nothing for other types.
  std::optional<std::string> String() const;
  // The number of a REG_DWORD value; nothing for other types or sizes.
  std::optional<DWORD> Dword() const;
  // "REG_SZ "text"" or "REG_DWORD 0x5b4" for failure messages.
  std::string Describe() const;

  bool operator==(const RegistryValue&) const = default;
};

RegistryValue StringValue(std::string_view text);  // REG_SZ with its terminating zero
RegistryValue DwordValue(DWORD value);

// Keys are written as "HKLM\System\CurrentControlSet\..." (HKLM, HKCU, HKCR,
// HKU or the long HKEY_ names). A malformed path throws a Failure; a missing
// key or value gives nothing or false.
std::optional<RegistryValue> ReadRegistryValue(std::string_view key, std::string_view name);
bool RegistryKeyExists(std::string_view key);
std::vector<std::string> RegistryValueNames(std::string_view key);
std::vector<std::string> RegistrySubkeys(std::string_view key);

// Scenario set-up; each throws a Failure when the registry refuses.
void WriteRegistryValue(std::string_view key, std::string_view name, const RegistryValue& value);
void DeleteRegistryValue(std::string_view key, std::string_view name);  // missing is fine
void DeleteRegistryKey(std::string_view key);  // with its subkeys; missing is fine

}  // namespace e2e
