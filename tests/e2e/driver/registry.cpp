#include "tests/e2e/driver/registry.h"

#include <cstdio>
#include <utility>

#include "tests/e2e/driver/wait.h"

namespace e2e {
namespace {

struct Root {
  std::string_view short_name;
  std::string_view long_name;
  HKEY key;
};

const Root kRoots[] = {
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKU", "HKEY_USERS", HKEY_USERS},
};

std::pair<HKEY, std::string> Split(std::string_view path) {
  const std::size_t slash = path.find('\\');
  const std::string_view root = path.substr(0, slash);
  std::string rest = slash == std::string_view::npos ? "" : std::string(path.substr(slash + 1));
  for (const Root& each : kRoots) {
    if (root == each.short_name || root == each.long_name) return {each.key, rest};
  }
  throw Failure("registry path \"" + std::string(path) + "\" does not begin with a known root");
}

class Key {
 public:
  Key(std::string_view path, REGSAM access, bool create) {
    const auto [root, subkey] = Split(path);
    const LONG result = create ? RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, access,
                                                 nullptr, &key_, nullptr)
                               : RegOpenKeyExA(root, subkey.c_str(), 0, access, &key_);
    if (result != ERROR_SUCCESS) {
      key_ = nullptr;
      error_ = result;
    }
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  HKEY get() const { return key_; }
  LONG error() const { return error_; }

 private:
  HKEY key_ = nullptr;
  LONG error_ = ERROR_SUCCESS;
};

std::string Quoted(std::string_view key, std::string_view name) {
  return "\"" + std::string(key) + "\" value \"" + std::string(name) + "\"";
}

// Subkeys or value names, in the registry's order.
std::vector<std::string> EnumerateNames(std::string_view path, bool subkeys) {
  std::vector<std::string> names;
  Key key(path, KEY_READ, false);
  if (!key.get()) return names;
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD length = sizeof name;
    const LONG result =
        subkeys
            ? RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr)
            : RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  return names;
}

}  // namespace

std::optional<std::string> RegistryValue::String() const {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::string text(data.begin(), data.end());
  const std::size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  return text;
}

std::optional<DWORD> RegistryValue::Dword() const {
  if (type != REG_DWORD || data.size() != 4) return std::nullopt;
  return DWORD{data[0]} | DWORD{data[1]} << 8 | DWORD{data[2]} << 16 | DWORD{data[3]} << 24;
}

std::string RegistryValue::Describe() const {
  char number[16];
  if (auto text = String()) {
    return std::string(type == REG_SZ ? "REG_SZ" : "REG_EXPAND_SZ") + " \"" + *text + "\"" +
           (data.empty() || data.back() != 0 ? " (no terminating zero)" : "");
  }
  if (auto value = Dword()) {
    std::snprintf(number, sizeof number, "0x%lx", static_cast<unsigned long>(*value));
    return std::string("REG_DWORD ") + number;
  }
  std::string out = "type " + std::to_string(type) + ", bytes";
  for (std::uint8_t b : data) {
    std::snprintf(number, sizeof number, " %02x", b);
    out += number;
  }
  return out;
}

RegistryValue StringValue(std::string_view text) {
  RegistryValue value{REG_SZ, {text.begin(), text.end()}};
  value.data.push_back(0);
  return value;
}

RegistryValue DwordValue(DWORD number) {
  return {REG_DWORD,
          {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
           static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::optional<RegistryValue> ReadRegistryValue(std::string_view path, std::string_view name) {
  Key key(path, KEY_QUERY_VALUE, false);
  if (!key.get()) return std::nullopt;
  const std::string value_name(name);
  for (;;) {
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(key.get(), value_name.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (result != ERROR_SUCCESS) {
      throw Failure("cannot read " + Quoted(path, name) + ": error " + std::to_string(result));
    }
    RegistryValue value{type, std::vector<std::uint8_t>(size)};
    DWORD got = size;
    result = RegQueryValueExA(key.get(), value_name.c_str(), nullptr, &value.type,
                              value.data.data(), &got);
    if (result == ERROR_MORE_DATA) continue;  // it grew in between
    if (result != ERROR_SUCCESS) {
      throw Failure("cannot read " + Quoted(path, name) + ": error " + std::to_string(result));
    }
    value.data.resize(got);
    return value;
  }
}

bool RegistryKeyExists(std::string_view path) {
  return Key(path, KEY_QUERY_VALUE, false).get() != nullptr;
}

std::vector<std::string> RegistryValueNames(std::string_view path) {
  return EnumerateNames(path, false);
}

std::vector<std::string> RegistrySubkeys(std::string_view path) {
  return EnumerateNames(path, true);
}

void WriteRegistryValue(std::string_view path, std::string_view name, const RegistryValue& value) {
  Key key(path, KEY_SET_VALUE, true);
  if (!key.get()) {
    throw Failure("cannot create registry key \"" + std::string(path) + "\": error " +
                  std::to_string(key.error()));
  }
  const std::string value_name(name);
  const LONG result = RegSetValueExA(key.get(), value_name.c_str(), 0, value.type,
                                     value.data.data(), static_cast<DWORD>(value.data.size()));
  if (result != ERROR_SUCCESS) {
    throw Failure("cannot write " + Quoted(path, name) + ": error " + std::to_string(result));
  }
}

void DeleteRegistryValue(std::string_view path, std::string_view name) {
  Key key(path, KEY_SET_VALUE, false);
  if (!key.get()) return;
  const LONG result = RegDeleteValueA(key.get(), std::string(name).c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
    throw Failure("cannot delete " + Quoted(path, name) + ": error " + std::to_string(result));
  }
}

void DeleteRegistryKey(std::string_view path) {
  const auto [root, subkey] = Split(path);
  if (subkey.empty()) throw Failure("refusing to delete the registry root " + std::string(path));
  // A key with subkeys cannot be deleted directly; empty it first.
  for (const std::string& child : RegistrySubkeys(path)) {
    DeleteRegistryKey(std::string(path) + "\\" + child);
  }
  const LONG result = RegDeleteKeyA(root, subkey.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND) {
    throw Failure("cannot delete registry key \"" + std::string(path) + "\": error " +
                  std::to_string(result));
  }
}

}  // namespace e2e
