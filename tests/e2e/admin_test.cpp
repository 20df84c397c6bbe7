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
const std::string kManualCustomFile = e2e::CustomValuesFile(2);

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

  e2e::ValuesSnapshot Read() const { return e2e::ReadValues(values_); }
  void ExpectRegistry(const e2e::ValuesSnapshot& expected, const char* when) const {
    e2e::ExpectValues(values_, expected, when);
  }
  DWORD Run(std::string_view arguments) {
    return StartKestrel(arguments).WaitForExitWithoutWindow(e2e::kStartTimeout);
  }

  const std::vector<e2e::NamedValue> values_ = e2e::NtTunedValues(kInterface);
  e2e::ValuesSnapshot before_;
};

TEST_F(Admin, ApplyWritesWhatTheWindowWritesAndUndoPutsItBack) {
  Dir().WriteFile("Kestrel.cfg", kManualCustomFile);
  e2e::App& app = StartKestrel();
  const e2e::SettingsPanel panel(WaitForMainWindow(app));
  panel.PressApply();
  ExpectAppliedAndDeclineRestart(app);
  const e2e::ValuesSnapshot byWindow = Read();
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
  const e2e::ValuesSnapshot applied = Read();
  EXPECT_NE(applied, before_);
  EXPECT_EQ(Run("/undo"), 0u);
  ExpectRegistry(before_, "undone");

  const e2e::Process regedit =
      e2e::Process::Start("C:\\windows\\regedit.exe", "/s \"" + script + "\"");
  EXPECT_EQ(regedit.WaitForExit(e2e::kStartTimeout), 0u);
  ExpectRegistry(applied, "imported");
}

}  // namespace
