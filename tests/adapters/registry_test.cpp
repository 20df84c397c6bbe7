#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kestrel/connection_settings.h"
#include "kestrel/registry_writer.h"
#include "platform/win32/adapters.h"

namespace {

using platform::RegistryRoot;
using platform::ScopedRegistryKey;
using platform::win32::UniqueKey;
namespace reg = platform::reg;

const std::string kBase = "Software\\KestrelAdapterTest";

struct StoredValue {
  DWORD type = 0;
  std::vector<std::uint8_t> bytes;
};

// Reads a value straight from the system, for exact types and bytes, from
// the native view where the stack reads it (32-bit systems ignore the flag).
std::optional<StoredValue> Query(const std::string& subkey, const std::string& name) {
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                    key.receive()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  StoredValue value;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.bytes.resize(size);
  RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, value.bytes.data(), &size);
  return value;
}

std::optional<std::int32_t> Dword(const std::string& subkey, const std::string& name) {
  const auto value = Query(subkey, name);
  if (!value || value->type != REG_DWORD || value->bytes.size() != 4) return std::nullopt;
  std::int32_t number = 0;
  std::memcpy(&number, value->bytes.data(), 4);
  return number;
}

void CreateKey(const std::string& subkey) {
  UniqueKey key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, key.receive(), nullptr),
            ERROR_SUCCESS);
}

TEST(RegistryAdapterTest, CreatesMissingParentsAndSetsExactBytes) {
  platform::win32::Win32Registry registry;
  ScopedRegistryKey key(registry);
  ASSERT_EQ(key.Create(RegistryRoot::LocalMachine, kBase + "\\Created\\Deep"), reg::kSuccess);

  const std::uint8_t dword[] = {0x00, 0x19, 0x00, 0x00};
  const std::uint8_t text[] = {'3', '2', 0};
  EXPECT_EQ(registry.SetValue(key.get(), "Number", reg::kTypeDword, dword), reg::kSuccess);
  EXPECT_EQ(registry.SetValue(key.get(), "Text", reg::kTypeSz, text), reg::kSuccess);
  EXPECT_EQ(registry.SetValue(key.get(), "", reg::kTypeDword, dword), reg::kSuccess);

  const auto number = Query(kBase + "\\Created\\Deep", "Number");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number->bytes, std::vector<std::uint8_t>(dword, dword + 4));
  const auto stored = Query(kBase + "\\Created\\Deep", "Text");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(stored->bytes, std::vector<std::uint8_t>(text, text + 3));
  EXPECT_EQ(Dword(kBase + "\\Created\\Deep", ""), 0x1900);
}

TEST(RegistryAdapterTest, DeletesAndReportsAMissingValue) {
  platform::win32::Win32Registry registry;
  ScopedRegistryKey key(registry);
  ASSERT_EQ(key.Create(RegistryRoot::LocalMachine, kBase + "\\Delete"), reg::kSuccess);
  const std::uint8_t dword[] = {1, 0, 0, 0};
  ASSERT_EQ(registry.SetValue(key.get(), "Gone", reg::kTypeDword, dword), reg::kSuccess);
  EXPECT_EQ(registry.DeleteValue(key.get(), "Gone"), reg::kSuccess);
  EXPECT_FALSE(Query(kBase + "\\Delete", "Gone"));
  EXPECT_EQ(registry.DeleteValue(key.get(), "Gone"), reg::kFileNotFound);
}

// Values come back exactly as stored, whatever their type and length; the
// large one is longer than any first guess of a buffer.
TEST(RegistryAdapterTest, QueriesTypeAndBytesOfAnyValue) {
  platform::win32::Win32Registry registry;
  ScopedRegistryKey key(registry);
  ASSERT_EQ(key.Create(RegistryRoot::CurrentUser, kBase + "\\Query"), reg::kSuccess);
  std::vector<std::uint8_t> large(70000);
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<std::uint8_t>(i * 7);
  const struct {
    const char* name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  } cases[] = {
      {"Text", reg::kTypeSz, {'1', 0}},
      {"Number", reg::kTypeDword, {0x2a, 0, 0, 0}},
      {"Empty", reg::kTypeSz, {}},
      {"Large", reg::kTypeBinary, large},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(registry.SetValue(key.get(), c.name, c.type, c.data), reg::kSuccess) << c.name;
    std::uint32_t type = 99;
    std::vector<std::uint8_t> data{1, 2, 3};
    EXPECT_EQ(registry.QueryValue(key.get(), c.name, type, data), reg::kSuccess) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(data, c.data) << c.name;
  }
  std::uint32_t type = 99;
  std::vector<std::uint8_t> data{1};
  EXPECT_EQ(registry.QueryValue(key.get(), "Missing", type, data), reg::kFileNotFound);
  EXPECT_EQ(type, reg::kTypeNone);
  EXPECT_TRUE(data.empty());
}

TEST(RegistryAdapterTest, EnumeratesSubkeysUntilNoMoreItems) {
  for (const char* name : {"{A-1}", "Second", "x"}) CreateKey(kBase + "\\Enum\\" + name);
  platform::win32::Win32Registry registry;
  ScopedRegistryKey parent(registry);
  ASSERT_EQ(parent.Open(RegistryRoot::LocalMachine, kBase + "\\Enum"), reg::kSuccess);
  std::vector<std::string> names;
  std::string name;
  std::uint32_t index = 0;
  long result = 0;
  while ((result = registry.EnumKey(parent.get(), index++, name)) == reg::kSuccess) {
    names.push_back(name);
  }
  EXPECT_EQ(result, reg::kNoMoreItems);
  // The system hands them out sorted, whatever the order of creation.
  EXPECT_EQ(names, (std::vector<std::string>{"Second", "x", "{A-1}"}));
}

TEST(RegistryAdapterTest, RefusesMissingKeysAndLeadingBackslash) {
  platform::win32::Win32Registry registry;
  ScopedRegistryKey missing(registry);
  EXPECT_EQ(missing.Open(RegistryRoot::LocalMachine, kBase + "\\Never\\There"),
            reg::kFileNotFound);
  // The NT family refuses a path that begins with a backslash: the writer
  // must never use one.
  ScopedRegistryKey slashed(registry);
  EXPECT_EQ(slashed.Create(RegistryRoot::LocalMachine, "\\" + kBase + "\\Slashed"),
            reg::kBadPathname);
}

// The whole NT family layout against the real registry, with interfaces that
// have no matching per-adapter key yet.
TEST(RegistryWriterOnWineTest, WritesTheNtLayoutIntoEveryInterface) {
  const std::string current = "SYSTEM\\CurrentControlSet\\Services";
  const std::string control1 = "SYSTEM\\ControlSet001\\Services";
  for (const char* n : {"{11111111-AAAA}", "{22222222-BBBB}"}) {
    CreateKey(current + "\\Tcpip\\Parameters\\Interfaces\\" + n);
    CreateKey(control1 + "\\Tcpip\\Parameters\\Interfaces\\" + n);
  }
  kestrel::ConnectionSettings settings = kestrel::InitPresets().AutoPreset1;

  platform::win32::Win32Registry registry;
  ASSERT_TRUE(kestrel::WriteRegistrySettings(registry, settings, 7));

  const std::string k2 = current + "\\tcpip\\parameters";
  EXPECT_EQ(Dword(k2, "TcpWindowSize"), 4288);
  EXPECT_EQ(Dword(control1 + "\\tcpip\\parameters", "GlobalMaxTcpWindowSize"), 4288);
  EXPECT_EQ(Dword(k2, "DefaultTTL"), 128);
  EXPECT_EQ(Dword("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                  "MaxConnectionsPer1_0Server"),
            16);
  for (const char* n : {"{11111111-AAAA}", "{22222222-BBBB}"}) {
    EXPECT_EQ(Dword(current + "\\Tcpip\\Parameters\\Interfaces\\" + n, "MTU"), 576) << n;
    EXPECT_EQ(Dword(current + "\\" + n + "\\Parameters\\Tcpip", "MTU"), 576) << n;
    EXPECT_EQ(Dword(control1 + "\\" + n + "\\Parameters\\Tcpip", "MTU"), 576) << n;
  }

  // An automatic mode that leaves the MTU to Windows removes it again.
  settings = kestrel::InitPresets().AutoPreset3;
  ASSERT_TRUE(kestrel::WriteRegistrySettings(registry, settings, 7));
  EXPECT_FALSE(Query(k2, "TcpWindowSize"));
  EXPECT_FALSE(Query(current + "\\Tcpip\\Parameters\\Interfaces\\{11111111-AAAA}", "MTU"));
  EXPECT_FALSE(Query(control1 + "\\{22222222-BBBB}\\Parameters\\Tcpip", "MTU"));
}

}  // namespace

namespace {

bool IsWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

std::optional<std::int32_t> DwordInView(const std::string& subkey, const std::string& name,
                                        REGSAM view) {
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE | view,
                    key.receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0, size = 4;
  std::int32_t value = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return value;
}

// On 64-bit Windows the 32-bit program must write where the 64-bit stack
// reads: the native view, not the redirected 32-bit copy.
TEST(RegistryWow64Test, WritesTheNativeViewOnSixtyFourBitWindows) {
  platform::win32::Win32Registry registry;
  EXPECT_EQ(registry.UsesNativeView(), IsWow64());

  const std::string subkey = "SOFTWARE\\KestrelViewTest\\View";
  ASSERT_EQ(kestrel::SetRegistryValue(registry, RegistryRoot::LocalMachine, subkey, "Written",
                                      reg::kTypeDword, std::int32_t{42}, false),
            reg::kSuccess);
  EXPECT_EQ(DwordInView(subkey, "Written", KEY_WOW64_64KEY), 42);
  if (IsWow64()) {
    EXPECT_FALSE(DwordInView(subkey, "Written", KEY_WOW64_32KEY));
  }

  // Enumeration looks in the same view as the writes.
  ScopedRegistryKey parent(registry);
  ASSERT_EQ(parent.Open(RegistryRoot::LocalMachine, "SOFTWARE\\KestrelViewTest"),
            reg::kSuccess);
  std::string name;
  EXPECT_EQ(registry.EnumKey(parent.get(), 0, name), reg::kSuccess);
  EXPECT_EQ(name, "View");
}

}  // namespace
