// The administrator's commands: /apply without a window gives the registry
// the window's Apply gives, refuses a damaged file, is undone by /undo, and
// /export's script, imported by the registry editor, gives the same values.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/process.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace keys = e2e::keys;
using e2e::ReadRegistryValue;
using e2e::RegistryValue;

constexpr const char* kInterface = "{55555555-0000-0000-0000-000000000005}";
constexpr const char* kManualCustomFile =
    "ConnectionType,2\r\nOptiMode,3\r\nMTU,#TRUE#,1400\r\nRWIN,#TRUE#,2,11200\r\n"
    "TTL,#TRUE#,64\r\nSKA,#TRUE#,4,300000\r\nNDI,#TRUE#,4,16\r\nPMTU,#FALSE#\r\n"
    "BlackHole,#TRUE#\r\nMSCPS0,8,10\r\nMSCPS1,4,6\r\n";

struct ValueName {
  std::string key;
  std::string name;
};
using Snapshot = std::vector<std::optional<RegistryValue>>;

// Every value Apply writes on the NT family, for the one interface.
std::vector<ValueName> NtValues() {
  std::vector<ValueName> values;
  for (const char* services : {keys::kServicesCurrent, keys::kServices001}) {
    const std::string tcpip = std::string(services) + keys::kTcpipSuffix;
    for (const char* name : {"GlobalMaxTcpWindowSize", "TcpWindowSize", "DefaultTTL",
                             "KeepAliveTime", "EnablePMTUDiscovery", "EnablePMTUBHDetect"}) {
      values.push_back({tcpip, name});
    }
    values.push_back({std::string(services) + keys::kInterfacesSuffix + "\\" + kInterface, "MTU"});
    values.push_back(
        {std::string(services) + "\\" + kInterface + keys::kInterfaceTcpipSuffix, "MTU"});
  }
  values.push_back({keys::kInternetSettings, "MaxConnectionsPer1_0Server"});
  values.push_back({keys::kInternetSettings, "MaxConnectionsPerServer"});
  values.push_back({keys::kNdiCacheSize, ""});
  return values;
}

class Admin : public e2e::SettingsScenario {
 protected:
  void SetUp() override {
    SettingsScenario::SetUp();
    // An interface of this machine, with a value of the user's own.
    e2e::WriteRegistryValue(
        std::string(keys::kServicesCurrent) + keys::kInterfacesSuffix + "\\" + kInterface, "MTU",
        e2e::DwordValue(1500));
    SetKestrelVersion("win10");
    before_ = Read();
  }

  Snapshot Read() const {
    Snapshot snapshot;
    for (const auto& v : values_) snapshot.push_back(ReadRegistryValue(v.key, v.name));
    return snapshot;
  }
  void ExpectRegistry(const Snapshot& expected, const char* when) const {
    const Snapshot now = Read();
    for (std::size_t i = 0; i < values_.size(); ++i) {
      EXPECT_EQ(now[i], expected[i]) << when << ": " << values_[i].key << " \""
                                     << values_[i].name << "\"";
    }
  }
  DWORD Run(std::string_view arguments) {
    return StartKestrel(arguments).WaitForExitWithoutWindow(e2e::kStartTimeout);
  }

  const std::vector<ValueName> values_ = NtValues();
  Snapshot before_;
};

TEST_F(Admin, ApplyWritesWhatTheWindowWritesAndUndoPutsItBack) {
  Dir().WriteFile("Kestrel.cfg", kManualCustomFile);
  e2e::App& app = StartKestrel();
  const e2e::SettingsPanel panel(WaitForMainWindow(app));
  panel.PressApply();
  ExpectAppliedAndDeclineRestart(app);
  const Snapshot byWindow = Read();
  EXPECT_NE(byWindow, before_);
  app.Terminate();

  EXPECT_EQ(Run("/undo"), 0u);
  ExpectRegistry(before_, "undone after the window");
  EXPECT_EQ(Run("/apply"), 0u);
  ExpectRegistry(byWindow, "/apply");
  EXPECT_EQ(Run("/undo"), 0u);
  ExpectRegistry(before_, "undone after /apply");
  EXPECT_FALSE(Dir().ReadFile("Undo.txt").has_value());
}

// Which files are refused, and with which code, the unit tests decide; here
// the real program shows that a refusal changes nothing.
TEST_F(Admin, ADamagedFileGivesTwoAndChangesNothing) {
  const std::string damaged = "ConnectionType,2\r\nOptiMode,3\r\nMTU,garbage";
  Dir().WriteFile("Kestrel.cfg", damaged);
  EXPECT_EQ(Run("/apply"), 2u);
  ExpectRegistry(before_, "refused");
  EXPECT_EQ(Dir().ReadFile("Kestrel.cfg"), std::optional<std::string>(damaged));
  EXPECT_FALSE(Dir().ReadFile("Undo.txt").has_value());
}

// The registry editor itself imports the script and gets what /apply writes.
TEST_F(Admin, TheExportedScriptImportsAsApplyWrites) {
  Dir().WriteFile("Kestrel.cfg", kManualCustomFile);
  const std::string script = Dir().PathOf("Kestrel changes.reg");
  EXPECT_EQ(Run("/export \"" + script + "\""), 0u);
  ExpectRegistry(before_, "exported");
  const auto text = Dir().ReadFile("Kestrel changes.reg");
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(text->substr(0, 2), "\xFF\xFE");

  EXPECT_EQ(Run("/apply"), 0u);
  const Snapshot applied = Read();
  EXPECT_NE(applied, before_);
  EXPECT_EQ(Run("/undo"), 0u);
  ExpectRegistry(before_, "undone");

  const e2e::Process regedit =
      e2e::Process::Start("C:\\windows\\regedit.exe", "/s \"" + script + "\"");
  EXPECT_EQ(regedit.WaitForExit(e2e::kStartTimeout), 0u);
  ExpectRegistry(applied, "imported");
}

}  // namespace
