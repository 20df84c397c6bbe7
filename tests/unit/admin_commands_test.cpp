#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "kestrel/admin_commands.h"
#include "kestrel/change_preview.h"
#include "kestrel/registry_script.h"
#include "kestrel/undo_record.h"
#include "tests/doubles/fake_platform.h"

namespace kestrel {
namespace {

using platform::RegistryRoot;
namespace reg = platform::reg;

constexpr RegistryRoot kLm = RegistryRoot::LocalMachine;
const std::string kTcpip = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";

// Manual, with the TTL at 100 and everything else on Windows Default.
std::string ManualFile(const std::string& ttlLine, const std::string& mscps1 = "2,4") {
  return "ConnectionType,0\r\nOptiMode,3\r\nMTU,#FALSE#,1500\r\nRWIN,#FALSE#,-1,8192\r\n" +
         ttlLine + "\r\nSKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\nPMTU,#TRUE#\r\n" +
         "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1," + mscps1 + "\r\n";
}

class AdminCommandTest : public ::testing::Test {
 protected:
  doubles::FakeKestrel fake;
  const std::string cfg = fake.ProgramFile("\\Kestrel.cfg");
  const std::string other = "D:\\Deploy Share\\office.cfg";

  std::optional<int> Run(const std::string& arguments) {
    fake.environment.commandLine = "\"C:\\Program Files\\Kestrel\\Kestrel.exe\" " + arguments;
    return RunAdminCommandLine(fake.app);
  }
  std::optional<std::int32_t> Ttl() {
    const auto value = fake.registry.Get(kLm, kTcpip, "DefaultTTL");
    return value ? value->Dword() : std::nullopt;
  }
};

// /apply: no window, no monitor, no restart, an exit code for the script that
// ran it, and the registry untouched whenever the file is refused.
TEST_F(AdminCommandTest, ApplyGivesItsExitCodeAndWritesOnlyAValidFile) {
  const struct {
    const char* name;
    std::string arguments;
    std::optional<std::string> cfgText, otherText;
    bool failWrites;
    std::optional<int> exitCode;
  } cases[] = {
      {"saved file", "/apply", ManualFile("TTL,#TRUE#,100"), std::nullopt, false, 0},
      {"switch in any case", "  /APPLY  ", ManualFile("TTL,#TRUE#,100"), std::nullopt, false, 0},
      {"other file in quotes", "/apply \"" + other + "\"", std::nullopt,
       ManualFile("TTL,#TRUE#,100"), false, 0},
      {"automatic mode", "/apply", std::string("ConnectionType,1\r\nOptiMode,0\r\n"),
       std::nullopt, false, 0},
      {"registry refuses", "/apply", ManualFile("TTL,#TRUE#,100"), std::nullopt, true, 1},
      {"missing", "/apply", std::nullopt, std::nullopt, false, 2},
      {"other file missing", "/apply " + other, ManualFile("TTL,#TRUE#,100"), std::nullopt,
       false, 2},
      {"garbage", "/apply", std::string("\x01\x02garbage"), std::nullopt, false, 2},
      {"mode out of range", "/apply", std::string("ConnectionType,0\r\nOptiMode,9\r\n"),
       std::nullopt, false, 2},
      {"damaged line", "/apply", ManualFile("TTL,maybe,100"), std::nullopt, false, 2},
      {"TTL Apply refuses", "/apply", ManualFile("TTL,#TRUE#,0"), std::nullopt, false, 3},
      // Numbers the text box could not take are refused, not cut down to others.
      {"TTL too long", "/apply", ManualFile("TTL,#TRUE#,1000"), std::nullopt, false, 3},
      {"TTL negative", "/apply", ManualFile("TTL,#TRUE#,-64"), std::nullopt, false, 3},
      {"no MSCPS chosen", "/apply", ManualFile("TTL,#TRUE#,100", "-1,4"), std::nullopt, false,
       3},
      {"not a switch", "/applyx", ManualFile("TTL,#TRUE#,100"), std::nullopt, false,
       std::nullopt},
      {"export needs a file", "/export", ManualFile("TTL,#TRUE#,100"), std::nullopt, false,
       std::nullopt},
  };
  fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ");
  fake.instance.another = true;
  for (const auto& c : cases) {
    fake.files.Remove(cfg);
    fake.files.Remove(other);
    fake.files.Remove(UndoRecordPath(fake.ProgramFile("")));
    fake.registry.Put(kLm, kTcpip, "DefaultTTL", {reg::kTypeDword, {7, 0, 0, 0}});
    if (c.cfgText) fake.files.Put(cfg, *c.cfgText);
    if (c.otherText) fake.files.Put(other, *c.otherText);
    if (c.failWrites) fake.registry.FailAllWrites(reg::kAccessDenied);
    EXPECT_EQ(Run(c.arguments), c.exitCode) << c.name;
    if (c.failWrites) fake.registry.ClearFailures();
    if (c.exitCode == 0 && c.cfgText != std::string("ConnectionType,1\r\nOptiMode,0\r\n")) {
      EXPECT_EQ(Ttl(), 100) << c.name;
    } else if (c.exitCode != 0 && c.exitCode != 1) {
      EXPECT_EQ(Ttl(), 7) << c.name;
      // A refused file leaves no undo record behind, and Kestrel.cfg as it was.
      EXPECT_FALSE(fake.files.Exists(UndoRecordPath(fake.ProgramFile("")))) << c.name;
      EXPECT_EQ(fake.files.Contents(cfg), c.cfgText) << c.name;
    }
    // What /undo needs to put the registry back.
    if (c.exitCode == 0) {
      EXPECT_TRUE(fake.files.Exists(UndoRecordPath(fake.ProgramFile("")))) << c.name;
    }
  }
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_TRUE(fake.programs.started.empty());
  EXPECT_TRUE(fake.restart.steps.empty());
}

PlannedChange Set(std::string key, std::string name, std::uint32_t type,
                  std::vector<std::uint8_t> data) {
  PlannedChange c;
  c.key = std::move(key);
  c.name = std::move(name);
  c.type = type;
  c.data = std::move(data);
  return c;
}
PlannedChange Removed(std::string key, std::string name) {
  PlannedChange c;
  c.key = std::move(key);
  c.name = std::move(name);
  c.remove = true;
  return c;
}

std::string Narrow(const std::string& utf16) {
  std::string out;
  for (std::size_t i = 2; i + 1 < utf16.size(); i += 2) {
    EXPECT_EQ(utf16[i + 1], '\0');
    out += utf16[i];
  }
  return out;
}

TEST(RegistryScript, BothFamiliesInTheEditorsOwnFormat) {
  const std::vector<PlannedChange> changes = {
      Set("K\\A", "DefaultTTL", reg::kTypeDword, {0x80, 0, 0, 0}),
      Set("K\\A", "Negative", reg::kTypeDword, {0xFF, 0xFF, 0xFF, 0xFF}),
      Removed("K\\A", "Tcp1323Opts"),
      Set("K\\B", "Path \"q\"", reg::kTypeSz, {'C', ':', '\\', 'x', '"', 0}),
      Set("K\\B", "", reg::kTypeSz, {'6', '4', 0}),
      Removed("K\\B", ""),
      // Back to a key seen before: a section of its own, in Apply's order.
      Set("K\\A", "Unterminated", reg::kTypeSz, {'a', 'b'}),
      Set("K\\A", "Bytes", reg::kTypeBinary, {0x00, 0xAB}),
  };
  const std::string body =
      "\r\n[HKEY_LOCAL_MACHINE\\K\\A]\r\n"
      "\"DefaultTTL\"=dword:00000080\r\n"
      "\"Negative\"=dword:ffffffff\r\n"
      "\"Tcp1323Opts\"=-\r\n"
      "\r\n[HKEY_LOCAL_MACHINE\\K\\B]\r\n"
      "\"Path \\\"q\\\"\"=\"C:\\\\x\\\"\"\r\n"
      "@=\"64\"\r\n"
      "@=-\r\n"
      "\r\n[HKEY_LOCAL_MACHINE\\K\\A]\r\n"
      "\"Unterminated\"=\"ab\"\r\n"
      "\"Bytes\"=hex(3):00,ab\r\n\r\n";

  const std::string ansi = FormatRegistryScript(changes, false);
  ASSERT_EQ(ansi.rfind("REGEDIT4\r\n;", 0), 0u);
  EXPECT_EQ(ansi.substr(ansi.find("\r\n\r\n[") + 2), body);
  EXPECT_NE(ansi.find("/apply"), std::string::npos);

  const std::string nt = FormatRegistryScript(changes, true);
  ASSERT_EQ(nt.rfind("\xFF\xFE", 0), 0u);
  ASSERT_EQ(nt.size() % 2, 0u);
  const std::string text = Narrow(nt);
  ASSERT_EQ(text.rfind("Windows Registry Editor Version 5.00\r\n;", 0), 0u);
  EXPECT_EQ(text.substr(text.find("\r\n\r\n[") + 2), body);
}

// /export writes what the preview of Apply lists, and changes nothing.
TEST_F(AdminCommandTest, ExportWritesTheScriptOfApplyAndChangesNothing) {
  fake.files.Put(cfg, ManualFile("TTL,#TRUE#,100"));
  fake.registry.Put(kLm, kTcpip, "DefaultTTL", {reg::kTypeDword, {7, 0, 0, 0}});
  const std::string script = "C:\\Admin\\kestrel changes.reg";
  EXPECT_EQ(Run("/EXPORT \"" + script + "\""), 0);
  const std::string text = Narrow(fake.files.Contents(script).value_or(""));
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\" + kTcpip + "]\r\n"), std::string::npos);
  EXPECT_NE(text.find("\"DefaultTTL\"=dword:00000064\r\n"), std::string::npos);
  EXPECT_EQ(Ttl(), 7);
  EXPECT_FALSE(fake.files.Exists(UndoRecordPath(fake.ProgramFile(""))));

  fake.files.FailMoves(true);
  EXPECT_EQ(Run("/export C:\\Admin\\locked.reg"), 1);
  fake.files.FailMoves(false);
  fake.files.Remove(cfg);
  EXPECT_EQ(Run("/export " + script), 2);
}

// The preview window's button: Cancel writes nothing; a refused write is told.
TEST_F(AdminCommandTest, ThePreviewExportsItsScriptWhereTheUserChooses) {
  const ChangePreview preview{"summary", {}, "REGEDIT4\r\n"};
  const struct {
    const char* answer;
    bool failMoves;
    bool written;
    std::size_t messages;
  } cases[] = {{"", false, false, 0}, {"C:\\a.reg", true, false, 1}, {"C:\\a.reg", false, true, 1}};
  for (const auto& c : cases) {
    fake.messages.shown.clear();
    fake.files.Remove("C:\\a.reg");
    fake.dialogs.answer = c.answer;
    fake.files.FailMoves(c.failMoves);
    ExportRegistryScript(fake.app, preview, 0);
    EXPECT_EQ(fake.files.Contents("C:\\a.reg"),
              c.written ? std::optional<std::string>("REGEDIT4\r\n") : std::nullopt);
    EXPECT_EQ(fake.messages.shown.size(), c.messages);
  }
  EXPECT_EQ(fake.dialogs.asked.back().defaultExtension, "reg");
}

}  // namespace
}  // namespace kestrel
