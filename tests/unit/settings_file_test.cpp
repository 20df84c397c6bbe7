#include "kestrel/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/fake_platform.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_registry.h"

namespace kestrel {
namespace {

using doubles::MemoryFileSystem;
using doubles::MemoryRegistry;

const std::string kRestoreFile =
    "ConnectionType,0\r\nOptiMode,3\r\nMTU,#FALSE#,1500\r\nRWIN,#FALSE#,-1,8192\r\n"
    "TTL,#FALSE#,32\r\nSKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\nPMTU,#TRUE#\r\n"
    "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n";

// A record that differs from the defaults in every field.
ConnectionSettings Custom() {
  ConnectionSettings s;
  s = {3,  3,  2147483647, true, -2147483647 - 1, true, 6,  0,  true, 300000, true,
       59, 64, true,       6,    false,           true, 60, 58, 7,    -1};
  return s;
}

// The Manual file with line `index` (from 0) replaced.
std::string ManualWith(std::size_t index, const std::string& line) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < kRestoreFile.size();) {
    const std::size_t end = kRestoreFile.find("\r\n", start);
    lines.push_back(kRestoreFile.substr(start, end - start));
    start = end + 2;
  }
  lines[index] = line;
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

TEST(FormatSettingsFile, WritesTheExactBytes) {
  EXPECT_EQ(FormatSettingsFile(InitPresets().WindowsDefaults), kRestoreFile);
  EXPECT_EQ(FormatSettingsFile(InitPresets().ForAutomaticMode(0, 1)),
            "ConnectionType,1\r\nOptiMode,0\r\n");
}

TEST(ParseSettingsFile, RoundTripsEveryField) {
  const ConnectionSettings previous = InitPresets().AutoPreset2;
  for (const ConnectionSettings& s : {InitPresets().WindowsDefaults, Custom()}) {
    EXPECT_EQ(ParseSettingsFile(FormatSettingsFile(s), previous), s);
  }
  // The automatic modes store only their type and mode; the rest is kept.
  ConnectionSettings automatic = Custom();
  automatic.OptiMode = 2;
  ConnectionSettings expected = previous;
  expected.ConnectionType = 3;
  expected.OptiMode = 2;
  EXPECT_EQ(ParseSettingsFile(FormatSettingsFile(automatic), previous), expected);
}

TEST(ParseSettingsFile, ReadsFieldsByPositionOnly) {
  const ConnectionSettings previous = Custom();
  struct Case {
    const char* name;
    std::string text;
    std::int16_t type, mode;
    bool keepsPrevious;
  } cases[] = {
      {"automatic", "ConnectionType,2\r\nOptiMode,1\r\n", 2, 1, true},
      {"keys not compared", "Anything,1\r\nx,0", 1, 0, true},
      {"mode 0 ignores manual lines", ManualWith(1, "OptiMode,0"), 0, 0, true},
      {"automatic ignores damage below", "C,1\r\nO,2\r\nMTU,maybe\r\n", 1, 2, true},
      {"LF and blanks",
       "C, 1 \nO ,3\n\nMTU,#FALSE#,1500\nRWIN,#FALSE#,-1,8192\nTTL,#FALSE#,32\n"
       "SKA,#FALSE#,-1,3600000\nNDI,#FALSE#,-1,0\nPMTU,#TRUE#\n"
       "BlackHole,#FALSE#\nMSCPS0,0,2\nMSCPS1,2,4",
       1, 3, false},
  };
  for (const Case& c : cases) {
    const auto s = ParseSettingsFile(c.text, previous);
    ASSERT_TRUE(s) << c.name;
    EXPECT_EQ(s->ConnectionType, c.type) << c.name;
    EXPECT_EQ(s->OptiMode, c.mode) << c.name;
    EXPECT_EQ(s->MTU, c.keepsPrevious ? previous.MTU : 1500) << c.name;
    EXPECT_EQ(s->MSCPS1Index, c.keepsPrevious ? previous.MSCPS1Index : 2) << c.name;
  }
}

TEST(ParseSettingsFile, RefusesUnreadableFiles) {
  struct Case {
    const char* name;
    std::string text;
    bool readable;
  } cases[] = {
      {"empty", "", false},
      {"ends after line 1", "ConnectionType,0\r\n", false},
      {"manual ends after line 5", kRestoreFile.substr(0, kRestoreFile.find("SKA")), false},
      {"manual ends inside a line", kRestoreFile.substr(0, kRestoreFile.size() - 4), false},
      {"type too large for 16 bits", "C,32768\r\nO,0\r\n", false},
      {"type below its list", "C,-1\r\nO,0\r\n", false},
      {"type above its list", "C,4\r\nO,0\r\n", false},
      {"mode above its list", "C,0\r\nO,4\r\n", false},
      {"not a number", "C,zero\r\nO,0\r\n", false},
      {"empty number", "C,\r\nO,0\r\n", false},
      {"plus sign", "C,+1\r\nO,0\r\n", false},
      {"fraction", "C,1.5\r\nO,0\r\n", false},
      {"MTU largest", ManualWith(2, "MTU,#TRUE#,2147483647"), true},
      {"MTU smallest", ManualWith(2, "MTU,#TRUE#,-2147483648"), true},
      {"MTU overflows 32 bits", ManualWith(2, "MTU,#TRUE#,2147483648"), false},
      {"MTU below 32 bits", ManualWith(2, "MTU,#TRUE#,-2147483649"), false},
      {"RWIN index overflows 16 bits", ManualWith(3, "RWIN,#TRUE#,65542,8192"), false},
      {"RWIN last item", ManualWith(3, "RWIN,#TRUE#,6,8192"), true},
      {"RWIN past its list", ManualWith(3, "RWIN,#TRUE#,7,8192"), false},
      {"SKA last item", ManualWith(5, "SKA,#TRUE#,59,60000"), true},
      {"SKA past its list", ManualWith(5, "SKA,#TRUE#,60,60000"), false},
      {"NDI below none", ManualWith(6, "NDI,#TRUE#,-2,0"), false},
      {"MSCPS0 last item", ManualWith(9, "MSCPS0,58,60"), true},
      {"MSCPS0 past its list", ManualWith(9, "MSCPS0,59,60"), false},
      {"MSCPS1 none", ManualWith(10, "MSCPS1,-1,0"), true},
      {"MSCPS1 past its list", ManualWith(10, "MSCPS1,59,60"), false},
      {"lower-case boolean", ManualWith(7, "PMTU,#true#"), false},
      {"word boolean", ManualWith(7, "PMTU,True"), false},
      {"digit boolean", ManualWith(8, "BlackHole,1"), false},
      {"number where a boolean belongs", ManualWith(2, "MTU,1500"), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseSettingsFile(c.text, ConnectionSettings{}).has_value(), c.readable) << c.name;
  }
}

class SettingsFileApp : public testing::Test {
 protected:
  SettingsFileApp() { fake.environment.programDirectory = "C:\\Kestrel"; }
  // Loading and saving never speak to the user.
  void TearDown() override { EXPECT_TRUE(fake.messages.shown.empty()); }

  const std::string path = "C:\\Kestrel\\Kestrel.cfg";
  doubles::FakeKestrel fake;
  MemoryRegistry& registry = fake.registry;
  MemoryFileSystem& files = fake.files;
  KestrelApp& app = fake.app;
};

TEST_F(SettingsFileApp, LoadFallsBackToTheWindowsDefaults) {
  struct Case {
    const char* name;
    std::optional<std::string> file;
    platform::FileAttributes attributes;
  } cases[] = {
      {"missing", std::nullopt, {}},
      {"damaged", "ConnectionType,1\r\nOptiMode,3\r\nMTU,#TRUE#", {}},
      {"type outside its list", "ConnectionType,9\r\nOptiMode,0\r\n", {}},
      {"hidden", "ConnectionType,1\r\nOptiMode,0\r\n", {false, true, false}},
  };
  for (const Case& c : cases) {
    files = MemoryFileSystem();
    if (c.file) files.Put(path, *c.file, c.attributes);
    app.CurrentSettings = Custom();
    LoadSettingsFile(app);
    EXPECT_EQ(app.CurrentSettings, app.presets.WindowsDefaults) << c.name;
  }
}

TEST_F(SettingsFileApp, LoadReadsTheFileOverTheCurrentRecord) {
  EXPECT_EQ(SettingsFilePath(app), path);
  files.Put(path, FormatSettingsFile(Custom()));
  LoadSettingsFile(app);
  EXPECT_EQ(app.CurrentSettings, Custom());

  files.Put(path, "ConnectionType,2\r\nOptiMode,1\r\n");
  LoadSettingsFile(app);
  ConnectionSettings expected = Custom();
  expected.ConnectionType = 2;
  expected.OptiMode = 1;
  EXPECT_EQ(app.CurrentSettings, expected);
}

TEST_F(SettingsFileApp, SaveWritesTheFileThenTheRegistry) {
  files.Put(path, "old");
  app.CurrentSettings = app.presets.ForAutomaticMode(2, 1);
  app.OSCode = 6;
  EXPECT_EQ(SaveAndApplySettings(app), SaveResult::Saved);
  EXPECT_EQ(files.Contents(path), "ConnectionType,1\r\nOptiMode,2\r\n");
  for (const auto& left : files.Paths()) {  // no temporary file left
    EXPECT_EQ(left.find(".new"), std::string::npos) << left;
  }
  EXPECT_FALSE(registry.Writes().empty());

  registry.FailSetValue("SYSTEM\\ControlSet001\\Services\\tcpip\\parameters", "DefaultTTL",
                        platform::reg::kAccessDenied);
  app.CurrentSettings = app.presets.WindowsDefaults;
  EXPECT_EQ(SaveAndApplySettings(app), SaveResult::RegistryNotWritten);
  EXPECT_EQ(files.Contents(path), kRestoreFile);
}

TEST_F(SettingsFileApp, AFileThatCannotBeWrittenLeavesTheOldFileAndTheRegistry) {
  struct Case {
    const char* name;
    MemoryFileSystem::WriteFailure write;
    bool move;
  } cases[] = {
      {"read-only folder", MemoryFileSystem::WriteFailure::Refused, false},
      {"disk full", MemoryFileSystem::WriteFailure::DiskFull, false},
      {"move refused", MemoryFileSystem::WriteFailure::None, true},
  };
  app.OSCode = 6;
  app.CurrentSettings = app.presets.WindowsDefaults;
  for (const Case& c : cases) {
    files = MemoryFileSystem();
    files.Put(path, "ConnectionType,1\r\nOptiMode,0\r\n");
    files.FailWrites(c.write);
    files.FailMoves(c.move);
    EXPECT_EQ(SaveAndApplySettings(app), SaveResult::FileNotWritten) << c.name;
    EXPECT_EQ(files.Contents(path), "ConnectionType,1\r\nOptiMode,0\r\n") << c.name;
    EXPECT_EQ(files.Paths().size(), 1u) << c.name;
    EXPECT_TRUE(registry.Calls().empty()) << c.name;
  }
}

}  // namespace
}  // namespace kestrel
