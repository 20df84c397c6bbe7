#include "kestrel/registry_writer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/doubles/memory_registry.h"

namespace kestrel {
namespace {

using doubles::MemoryRegistry;
using platform::RegistryRoot;
namespace reg = platform::reg;

constexpr RegistryRoot kLm = RegistryRoot::LocalMachine;
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kInet95 = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kInetNt = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const std::string kNdi = "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
const std::string kK1 = "SYSTEM\\ControlSet001\\Services\\tcpip\\parameters";
const std::string kK2 = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
const std::string kCcs = "SYSTEM\\CurrentControlSet\\Services";
const std::string kCs1 = "SYSTEM\\ControlSet001\\Services";
const std::string kIfCcs = kCcs + "\\Tcpip\\Parameters\\Interfaces";
const std::string kIfCs1 = kCs1 + "\\Tcpip\\Parameters\\Interfaces";

// A machine with two network transports and two interfaces in the current
// control set, one of them also in ControlSet001.
void AddAdapters(MemoryRegistry& r) {
  r.AddKey(kLm, kNetTrans + "\\0000");
  r.AddKey(kLm, kNetTrans + "\\0001");
  r.AddKey(kLm, kIfCcs + "\\{A}");
  r.AddKey(kLm, kIfCcs + "\\{B}");
  r.AddKey(kLm, kIfCs1 + "\\{A}");
}

std::optional<std::int32_t> Dword(const MemoryRegistry& r, const std::string& path,
                                  const std::string& name) {
  const auto value = r.Get(kLm, path, name);
  return value ? value->Dword() : std::nullopt;
}

// The Windows defaults' numbers, each entered as a custom value: written as
// they stand, whatever the running Windows.
ConnectionSettings CustomDefaults() {
  ConnectionSettings s = InitPresets().WindowsDefaults;
  s.MTUCustom = s.RWINCustom = s.TTLCustom = s.SKACustom = s.NDICustom = true;
  return s;
}

TEST(SetRegistryValue, StoresEachTypeAsTheRegistryExpects) {
  struct Case {
    std::uint32_t type;
    RegistryData value;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {reg::kTypeSz, std::string("32"), {'3', '2', 0}},
      {reg::kTypeSz, std::int32_t{128}, {'1', '2', '8', 0}},
      {reg::kTypeSz, std::string(), {0}},
      {reg::kTypeDword, std::int32_t{600000}, {0xC0, 0x27, 0x09, 0x00}},
      {reg::kTypeDword, std::int32_t{-1}, {0xFF, 0xFF, 0xFF, 0xFF}},
      {reg::kTypeDword, std::string("1500"), {0xDC, 0x05, 0, 0}},
  };
  for (const Case& c : cases) {
    MemoryRegistry r;
    EXPECT_EQ(SetRegistryValue(r, kLm, "A\\B", "V", c.type, c.value, false), reg::kSuccess);
    const auto stored = r.Get(kLm, "a\\b", "v");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, c.type);
    EXPECT_EQ(stored->data, c.bytes);
    EXPECT_EQ(r.OpenHandleCount(), 0u);
  }
}

TEST(SetRegistryValue, OtherTypesAndBadNumbersSetNothing) {
  MemoryRegistry r;
  EXPECT_EQ(SetRegistryValue(r, kLm, "K", "V", 3, std::int32_t{7}, false), reg::kSuccess);
  EXPECT_EQ(SetRegistryValue(r, kLm, "K", "W", reg::kTypeDword, std::string("12x"), false), 87);
  EXPECT_TRUE(r.HasKey(kLm, "K"));  // the key is opened, hence created, first
  EXPECT_TRUE(r.Writes().empty());
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

TEST(SetRegistryValue, DeletesCreatingTheKeyAndAcceptsAMissingValue) {
  MemoryRegistry r;
  r.Put(kLm, "K", "Old", {reg::kTypeDword, {1, 0, 0, 0}});
  EXPECT_EQ(SetRegistryValue(r, kLm, "K", "old", reg::kTypeDword, 0, true), reg::kSuccess);
  EXPECT_FALSE(r.Get(kLm, "K", "Old"));
  EXPECT_EQ(SetRegistryValue(r, kLm, "K", "Old", reg::kTypeDword, 0, true), reg::kSuccess);
  EXPECT_EQ(SetRegistryValue(r, kLm, "New\\Key", "X", reg::kTypeSz, "", true), reg::kSuccess);
  EXPECT_TRUE(r.HasKey(kLm, "New\\Key"));
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

TEST(SetRegistryValue, ReturnsThePlatformsFailure) {
  MemoryRegistry denied;
  denied.FailAllWrites(reg::kAccessDenied);
  EXPECT_EQ(SetRegistryValue(denied, kLm, "K", "V", reg::kTypeDword, 1, false), reg::kAccessDenied);
  EXPECT_TRUE(denied.Writes().empty());  // nothing is tried without a key

  MemoryRegistry one;
  one.FailSetValue("K", "V", reg::kAccessDenied);
  EXPECT_EQ(SetRegistryValue(one, kLm, "K", "V", reg::kTypeDword, 1, false), reg::kAccessDenied);
  EXPECT_EQ(SetRegistryValue(one, kLm, "K", "V", reg::kTypeDword, 1, true), reg::kAccessDenied);
  EXPECT_EQ(SetRegistryValue(one, kLm, "\\K", "V", reg::kTypeDword, 1, false), reg::kBadPathname);
  EXPECT_EQ(one.OpenHandleCount(), 0u);
}

// The values every preset leaves, in both families; nullopt means deleted.
struct ModeCase {
  const char* name;
  ConnectionSettings (*settings)();
  std::optional<std::int32_t> rwin;
  std::int32_t ttl, ska, mscps0, mscps1;
  std::optional<std::int32_t> mtu, mss;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
  *os << c.name;
}

class RegistryLayoutByMode : public testing::TestWithParam<ModeCase> {};

TEST_P(RegistryLayoutByMode, WritesTheValuesOfBothFamilies) {
  const ModeCase& c = GetParam();
  const ConnectionSettings settings = c.settings();
  const MemoryRegistry::Value stale{reg::kTypeDword, {9, 9, 0, 0}};

  MemoryRegistry w95;
  AddAdapters(w95);
  for (const char* n : {"0000", "0001"}) {
    w95.Put(kLm, kNetTrans + "\\" + n, "MaxMTU", stale);
    w95.Put(kLm, kNetTrans + "\\" + n, "MaxMSS", stale);
  }
  w95.Put(kLm, kMstcp, "DefaultRcvWindow", stale);
  ASSERT_TRUE(WriteRegistrySettings(w95, settings, 3));
  EXPECT_EQ(Dword(w95, kMstcp, "DefaultRcvWindow"), c.rwin);
  const std::string ttlText = std::to_string(c.ttl);
  std::vector<std::uint8_t> ttlBytes(ttlText.begin(), ttlText.end());
  ttlBytes.push_back(0);
  EXPECT_EQ(w95.Get(kLm, kMstcp, "DefaultTTL")->type, reg::kTypeSz);
  EXPECT_EQ(w95.Get(kLm, kMstcp, "DefaultTTL")->data, ttlBytes);
  EXPECT_EQ(Dword(w95, kMstcp, "SessionKeepAlive"), c.ska);
  EXPECT_EQ(Dword(w95, kMstcp, "PMTUDiscovery"), 1);
  EXPECT_EQ(Dword(w95, kMstcp, "PMTUBlackHoleDetect"), 0);
  EXPECT_EQ(Dword(w95, kInet95, "MaxConnectionsPer1_0Server"), c.mscps0);
  EXPECT_EQ(Dword(w95, kInet95, "MaxConnectionsPerServer"), c.mscps1);
  for (const char* n : {"0000", "0001"}) {
    EXPECT_EQ(Dword(w95, kNetTrans + "\\" + n, "MaxMTU"), c.mtu) << n;
    EXPECT_EQ(Dword(w95, kNetTrans + "\\" + n, "MaxMSS"), c.mss) << n;
  }
  EXPECT_EQ(Dword(w95, kNdi, ""), 0);
  EXPECT_EQ(w95.OpenHandleCount(), 0u);

  MemoryRegistry nt;
  AddAdapters(nt);
  ASSERT_TRUE(WriteRegistrySettings(nt, settings, 6));
  for (const std::string& k : {kK1, kK2}) {
    EXPECT_EQ(Dword(nt, k, "GlobalMaxTcpWindowSize"), c.rwin);
    EXPECT_EQ(Dword(nt, k, "TcpWindowSize"), c.rwin);
    EXPECT_EQ(Dword(nt, k, "DefaultTTL"), c.ttl);  // a number here, not a text
    EXPECT_EQ(Dword(nt, k, "KeepAliveTime"), c.ska);
    EXPECT_EQ(Dword(nt, k, "EnablePMTUDiscovery"), 1);
    EXPECT_EQ(Dword(nt, k, "EnablePMTUBHDetect"), 0);
  }
  EXPECT_EQ(Dword(nt, kInetNt, "MaxConnectionsPer1_0Server"), c.mscps0);
  EXPECT_EQ(Dword(nt, kInetNt, "MaxConnectionsPerServer"), c.mscps1);
  for (const std::string& key :
       {kIfCcs + "\\{A}", kIfCcs + "\\{B}", kIfCs1 + "\\{A}", kCcs + "\\{A}\\Parameters\\Tcpip",
        kCcs + "\\{B}\\Parameters\\Tcpip", kCs1 + "\\{A}\\Parameters\\Tcpip"}) {
    EXPECT_TRUE(nt.HasKey(kLm, key)) << key;  // created even for a deletion
    EXPECT_EQ(Dword(nt, key, "MTU"), c.mtu) << key;
  }
  EXPECT_FALSE(nt.HasKey(kLm, kCs1 + "\\{B}"));
  EXPECT_EQ(Dword(nt, kNdi, ""), 0);
  EXPECT_EQ(nt.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, RegistryLayoutByMode,
    testing::Values(ModeCase{"Automatic1", [] { return InitPresets().AutoPreset1; }, 4288, 128,
                             600000, 16, 8, 576, 536},
                    ModeCase{"Automatic2", [] { return InitPresets().AutoPreset2; }, std::nullopt,
                             128, 600000, 16, 8, 576, 536},
                    ModeCase{"Automatic3", [] { return InitPresets().AutoPreset3; }, std::nullopt,
                             128, 600000, 16, 8, std::nullopt, std::nullopt},
                    ModeCase{"ManualCustom", CustomDefaults, 8192, 32, 3600000, 2, 4, 1500, 1460}),
    [](const testing::TestParamInfo<ModeCase>& p) { return std::string(p.param.name); });

TEST(WriteRegistrySettings, Windows95FamilyWritesInItsOrder) {
  MemoryRegistry r;
  AddAdapters(r);
  ASSERT_TRUE(WriteRegistrySettings(r, InitPresets().AutoPreset3, 1));
  const std::vector<std::string> expected = {
      "-" + kMstcp + "|DefaultRcvWindow",   kMstcp + "|DefaultTTL",
      kMstcp + "|SessionKeepAlive",         kMstcp + "|PMTUDiscovery",
      kMstcp + "|PMTUBlackHoleDetect",      kInet95 + "|MaxConnectionsPer1_0Server",
      kInet95 + "|MaxConnectionsPerServer", "-" + kNetTrans + "\\0000|MaxMTU",
      "-" + kNetTrans + "\\0000|MaxMSS",    "-" + kNetTrans + "\\0001|MaxMTU",
      "-" + kNetTrans + "\\0001|MaxMSS",    kNdi + "|",
  };
  EXPECT_EQ(r.Writes(), expected);
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

TEST(WriteRegistrySettings, NtFamilyWritesInItsOrderWithoutALeadingBackslash) {
  MemoryRegistry r;  // refuses a path that begins with a backslash, as NT does
  AddAdapters(r);
  ASSERT_TRUE(WriteRegistrySettings(r, CustomDefaults(), 7));
  std::vector<std::string> expected;
  for (const char* name : {"GlobalMaxTcpWindowSize", "TcpWindowSize"}) {
    expected.push_back(kK1 + "|" + name);
  }
  for (const char* name : {"GlobalMaxTcpWindowSize", "TcpWindowSize"}) {
    expected.push_back(kK2 + "|" + name);
  }
  for (const char* name :
       {"DefaultTTL", "KeepAliveTime", "EnablePMTUDiscovery", "EnablePMTUBHDetect"}) {
    expected.push_back(kK1 + "|" + name);
    expected.push_back(kK2 + "|" + name);
  }
  expected.push_back(kInetNt + "|MaxConnectionsPer1_0Server");
  expected.push_back(kInetNt + "|MaxConnectionsPerServer");
  for (const char* n : {"{A}", "{B}"}) {
    expected.push_back(kIfCcs + "\\" + n + "|MTU");
    expected.push_back(kCcs + "\\" + n + "\\Parameters\\Tcpip|MTU");
  }
  expected.push_back(kIfCs1 + "\\{A}|MTU");
  expected.push_back(kCs1 + "\\{A}\\Parameters\\Tcpip|MTU");
  expected.push_back(kNdi + "|");
  EXPECT_EQ(r.Writes(), expected);
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

TEST(WriteRegistrySettings, OnlyKnownVersionsGetALayout) {
  struct Case {
    std::int16_t osCode;
    const std::string* firstKey;  // nullptr: nothing written
  } cases[] = {{-1, nullptr}, {0, nullptr}, {1, &kMstcp}, {4, &kMstcp},
               {5, &kK1},     {7, &kK1},    {8, nullptr}};
  for (const Case& c : cases) {
    MemoryRegistry r;
    EXPECT_TRUE(WriteRegistrySettings(r, CustomDefaults(), c.osCode));
    if (!c.firstKey) {
      EXPECT_TRUE(r.Calls().empty()) << c.osCode;
    } else {
      ASSERT_FALSE(r.Writes().empty()) << c.osCode;
      EXPECT_EQ(r.Writes().front().substr(0, c.firstKey->size()), *c.firstKey) << c.osCode;
    }
  }
}

TEST(WriteRegistrySettings, MissingParentsSkipOnlyTheirRows) {
  MemoryRegistry r;  // no NetTrans and no Interfaces keys at all
  EXPECT_TRUE(WriteRegistrySettings(r, CustomDefaults(), 2));
  EXPECT_EQ(r.Writes().size(), 8u);  // MSTCP, Internet Settings, the cache size
  EXPECT_EQ(Dword(r, kNdi, ""), 0);
  EXPECT_FALSE(r.HasKey(kLm, kNetTrans));

  MemoryRegistry nt;
  EXPECT_TRUE(WriteRegistrySettings(nt, CustomDefaults(), 5));
  EXPECT_EQ(nt.Writes().size(), 15u);
  EXPECT_EQ(nt.OpenHandleCount() + r.OpenHandleCount(), 0u);
}

TEST(WriteRegistrySettings, AFailedWriteIsReportedAndTheRestStillWritten) {
  MemoryRegistry clean;
  AddAdapters(clean);
  WriteRegistrySettings(clean, InitPresets().AutoPreset1, 6);

  MemoryRegistry r;
  AddAdapters(r);
  r.FailSetValue(kK1, "DefaultTTL", reg::kAccessDenied);
  EXPECT_FALSE(WriteRegistrySettings(r, InitPresets().AutoPreset1, 6));
  EXPECT_EQ(r.Writes(), clean.Writes());
  EXPECT_EQ(Dword(r, kK2, "DefaultTTL"), 128);
  EXPECT_EQ(Dword(r, kNdi, ""), 0);
  EXPECT_EQ(r.OpenHandleCount(), 0u);
}

TEST(WriteRegistrySettings, AnUnlistableParentFailsWithoutStoppingTheRest) {
  MemoryRegistry r;
  AddAdapters(r);
  r.FailEnumKey(kIfCcs, 1, reg::kAccessDenied);  // same answer for every later index
  EXPECT_FALSE(WriteRegistrySettings(r, CustomDefaults(), 6));
  EXPECT_EQ(Dword(r, kIfCcs + "\\{A}", "MTU"), 1500);
  EXPECT_FALSE(Dword(r, kIfCcs + "\\{B}", "MTU"));
  EXPECT_EQ(Dword(r, kIfCs1 + "\\{A}", "MTU"), 1500);
  EXPECT_EQ(Dword(r, kNdi, ""), 0);

  MemoryRegistry closed;
  AddAdapters(closed);
  closed.FailOpenKey(kNetTrans, reg::kAccessDenied);
  EXPECT_FALSE(WriteRegistrySettings(closed, CustomDefaults(), 4));
  EXPECT_EQ(Dword(closed, kNdi, ""), 0);
  EXPECT_EQ(r.OpenHandleCount() + closed.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

using common::WindowsEra;
using platform::RegistryRoot;
using doubles::MemoryRegistry;
constexpr auto kNone = std::nullopt;

// "Windows Default" on each generation of Windows: the running era's own
// number, or no value at all; never a number of the other family. Restore
// also puts the general settings back; Manual writes them as chosen
// (path MTU discovery on, black-hole detection off, limits 2 and 4).
TEST(WriteRegistrySettings, WindowsDefaultIsTheRunningWindowsOwn) {
  using V = std::optional<std::int32_t>;
  struct Case {
    const char* name;
    std::int16_t osCode;
    WindowsEra era;
    bool restore;
    // Keys and values checked, with what each must hold afterwards.
    std::vector<std::tuple<std::string, std::string, V>> values;
  };
  const std::string mtu95 = kNetTrans + "\\0000";
  const std::string mtuNt = kIfCcs + "\\{A}";
  const std::vector<Case> cases = {
      {"Windows98Restore", 3, WindowsEra::Windows95Family, true,
       {{kMstcp, "DefaultRcvWindow", 8192}, {kMstcp, "SessionKeepAlive", 3600},
        {kMstcp, "PMTUDiscovery", 1}, {kMstcp, "PMTUBlackHoleDetect", 0},
        {kInet95, "MaxConnectionsPer1_0Server", 4}, {kInet95, "MaxConnectionsPerServer", 2},
        {mtu95, "MaxMTU", kNone}, {mtu95, "MaxMSS", kNone}, {kNdi, "", kNone}}},
      {"XpRestore", 7, WindowsEra::Nt4ToXp, true,
       {{kK1, "TcpWindowSize", kNone}, {kK2, "GlobalMaxTcpWindowSize", kNone},
        {kK1, "DefaultTTL", 128}, {kK2, "KeepAliveTime", 7200000},
        {kK1, "EnablePMTUDiscovery", 1}, {kK2, "EnablePMTUBHDetect", 0},
        {kInetNt, "MaxConnectionsPerServer", kNone}, {mtuNt, "MTU", kNone}, {kNdi, "", kNone}}},
      {"Windows10Restore", 7, WindowsEra::VistaAndLater, true,
       {{kK2, "TcpWindowSize", kNone}, {kK2, "DefaultTTL", 128}, {kK1, "KeepAliveTime", 7200000},
        {kK2, "EnablePMTUBHDetect", 1}, {kInetNt, "MaxConnectionsPer1_0Server", kNone},
        {mtuNt, "MTU", kNone}, {kNdi, "", kNone}}},
      {"Server2003Restore", 7, WindowsEra::Server2003, true, {{kK1, "EnablePMTUBHDetect", kNone}}},
      {"UnknownRestore", 7, WindowsEra::Unknown, true, {{kK1, "DefaultTTL", kNone}}},
      {"Windows10Manual", 7, WindowsEra::VistaAndLater, false,
       {{kK1, "DefaultTTL", 128}, {kK2, "KeepAliveTime", 7200000}, {kK1, "TcpWindowSize", kNone},
        {kK2, "EnablePMTUBHDetect", 0}, {kInetNt, "MaxConnectionsPer1_0Server", 2},
        {kInetNt, "MaxConnectionsPerServer", 4}}},
      {"Windows98Manual", 3, WindowsEra::Windows95Family, false,
       {{kMstcp, "SessionKeepAlive", 3600}, {kInet95, "MaxConnectionsPerServer", 4}}},
  };
  const MemoryRegistry::Value stale{reg::kTypeDword, {9, 9, 0, 0}};
  for (const Case& c : cases) {
    MemoryRegistry r;
    AddAdapters(r);
    for (const auto& [key, name, expected] : c.values) r.Put(kLm, key, name, stale);
    ASSERT_TRUE(
        WriteRegistrySettings(r, InitPresets().WindowsDefaults, c.osCode, {c.era, c.restore}));
    for (const auto& [key, name, expected] : c.values) {
      EXPECT_EQ(Dword(r, key, name), expected) << c.name << " " << key << "|" << name;
    }
  }
}

TEST(WriteRegistrySettings, TheWindows95FamilysDefaultTtlStaysAText) {
  MemoryRegistry r;
  ASSERT_TRUE(WriteRegistrySettings(r, InitPresets().WindowsDefaults, 2,
                                    {WindowsEra::Windows95Family, true}));
  EXPECT_EQ(r.Get(kLm, kMstcp, "DefaultTTL")->type, reg::kTypeSz);
  EXPECT_EQ(r.Get(kLm, kMstcp, "DefaultTTL")->data, (std::vector<std::uint8_t>{'3', '2', 0}));
}

}  // namespace
}  // namespace kestrel
