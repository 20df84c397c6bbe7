#include "platform/win32/adapters.h"

namespace platform::win32 {
namespace {

HKEY RootHandle(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY AsHkey(Registry::Key key) { return reinterpret_cast<HKEY>(key); }
Registry::Key AsKey(HKEY key) { return reinterpret_cast<Registry::Key>(key); }

// Query, set, create subkey, enumerate, notify, create link.
constexpr REGSAM kWriteAccess = 0x3F;

bool RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

Win32Registry::Win32Registry() : nativeViewFlag_(RunsUnderWow64() ? KEY_WOW64_64KEY : 0) {}

long Win32Registry::CreateKey(RegistryRoot root, const std::string& subkey, Key& key) {
  HKEY opened = nullptr;
  const LONG result = RegCreateKeyExA(RootHandle(root), subkey.c_str(), 0, nullptr, 0,
                                      kWriteAccess | nativeViewFlag_, nullptr, &opened, nullptr);
  key = result == ERROR_SUCCESS ? AsKey(opened) : 0;
  return result;
}

long Win32Registry::OpenKey(RegistryRoot root, const std::string& subkey, Key& key) {
  HKEY opened = nullptr;
  const LONG result =
      nativeViewFlag_ == 0
          ? RegOpenKeyA(RootHandle(root), subkey.c_str(), &opened)
          : RegOpenKeyExA(RootHandle(root), subkey.c_str(), 0, KEY_READ | nativeViewFlag_, &opened);
  key = result == ERROR_SUCCESS ? AsKey(opened) : 0;
  return result;
}

long Win32Registry::SetValue(Key key, const std::string& name, std::uint32_t type,
                             std::span<const std::uint8_t> data) {
  return RegSetValueExA(AsHkey(key), name.c_str(), 0, type, data.data(),
                        static_cast<DWORD>(data.size()));
}

long Win32Registry::DeleteValue(Key key, const std::string& name) {
  return RegDeleteValueA(AsHkey(key), name.c_str());
}

long Win32Registry::QueryValue(Key key, const std::string& name, std::uint32_t& type,
                               std::vector<std::uint8_t>& data) {
  type = reg::kTypeNone;
  data.clear();
  // The value can grow between asking its size and reading it; then ask again.
  for (;;) {
    DWORD storedType = 0;
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExA(AsHkey(key), name.c_str(), nullptr, &storedType,
                                         data.empty() ? nullptr : data.data(), &size);
    if (result == ERROR_MORE_DATA || (result == ERROR_SUCCESS && data.empty() && size > 0)) {
      data.resize(size);
      continue;
    }
    if (result != ERROR_SUCCESS) {
      data.clear();
      return result;
    }
    type = storedType;
    data.resize(size);
    return result;
  }
}

long Win32Registry::EnumKey(Key key, std::uint32_t index, std::string& name) {
  char buffer[256] = {};
  DWORD length = 255;
  const LONG result =
      RegEnumKeyExA(AsHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
  name = result == ERROR_SUCCESS ? std::string(buffer, length) : std::string();
  return result;
}

long Win32Registry::CloseKey(Key key) { return RegCloseKey(AsHkey(key)); }

}  // namespace platform::win32
