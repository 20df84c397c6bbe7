#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "kestrel/control_ids.h"
#include "kestrel/main_window.h"
#include "kestrel/settings_file.h"
#include "kestrel/startup.h"
#include "kestrel/undo.h"
#include "kestrel/undo_record.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/recording_host.h"

namespace kestrel {
namespace {

using doubles::MemoryRegistry;
using platform::MessageAnswer;
using platform::RegistryRoot;
namespace reg = platform::reg;

constexpr RegistryRoot kLm = RegistryRoot::LocalMachine;
const std::string kK1 = "SYSTEM\\ControlSet001\\Services\\tcpip\\parameters";
const std::string kK2 = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
const std::string kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
const std::string kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";
const std::string kIfCcs = "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
const std::string kIfCs1 = "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\Interfaces";

PreviousValue Was(std::string key, std::string name, std::uint32_t type,
                  std::vector<std::uint8_t> data, RegistryRoot root = kLm) {
  return {root, std::move(key), std::move(name), true, type, std::move(data)};
}
PreviousValue Absent(std::string key, std::string name) {
  return {kLm, std::move(key), std::move(name), false, 0, {}};
}

TEST(UndoRecordFile, EveryStateReadsBackExactly) {
  const std::vector<PreviousValue> values = {
      Absent(kK1, "TcpWindowSize"),
      Was(kMstcp, "DefaultTTL", reg::kTypeSz, {'6', '4', 0}),
      Was(kK1, "DefaultTTL", reg::kTypeDword, {0xFF, 0xFF, 0xFF, 0xFF}),
      // Separators, escapes, line breaks, blanks at the ends, bytes beyond ASCII.
      Was("Software\\A|B 100%", " x|y ", reg::kTypeSz,
          {' ', 'a', '|', '%', '4', '1', '\r', '\n', '\t', 0xE9, ';', ' ', 0}),
      Was("K", "", reg::kTypeSz, {0}),
      // Data that is no plain text or no 4-byte number goes as bytes.
      Was("K", "no end", reg::kTypeSz, {'a', 'b'}),
      Was("K", "inner zero", reg::kTypeSz, {'a', 0, 'b', 0}),
      Was("K", "short", reg::kTypeDword, {1, 2}),
      Was("K", "binary", reg::kTypeBinary, {0x00, 0xAB, 0x10}),
      Was("K", "empty", reg::kTypeBinary, {}),
      Was("K", "expand", reg::kTypeExpandSz, {'%', 'x', '%', 0}),
      Was("Software\\Kestrel", "user", 0xFFFFFFFF, {7}, RegistryRoot::CurrentUser),
  };
  UndoRecord record{values};
  const std::string text = FormatUndoRecord(record);
  EXPECT_EQ(ParseUndoRecord(text), record);
  // One line per value, readable where the data allows it.
  EXPECT_NE(text.find("\r\nHKLM\\" + kK1 + "|TcpWindowSize|absent\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nHKLM\\" + kMstcp + "|DefaultTTL|REG_SZ:64\r\n"), std::string::npos);
  EXPECT_NE(text.find("|DefaultTTL|REG_DWORD:4294967295\r\n"), std::string::npos);
  EXPECT_NE(text.find("|binary|hex(3):00,AB,10\r\n"), std::string::npos);
  EXPECT_EQ(text[0], ';');
}

TEST(UndoRecordFile, ToleratesWhatEditorsDo) {
  const std::string text =
      "\xEF\xBB\xBF; a comment\n\nHKLM\\K|A|REG_DWORD:5   \r\n \r\n"
      "hkey_current_user\\K|B|hex(3):0a,Ff\t\nHKLM\\K|C|REG_SZ:%7c%20";
  const auto record = ParseUndoRecord(text);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->values, (std::vector<PreviousValue>{
                                Was("K", "A", reg::kTypeDword, {5, 0, 0, 0}),
                                Was("K", "B", reg::kTypeBinary, {0x0A, 0xFF},
                                    RegistryRoot::CurrentUser),
                                Was("K", "C", reg::kTypeSz, {'|', ' ', 0})}));
  EXPECT_EQ(ParseUndoRecord("")->values.size(), 0u);
}

TEST(UndoRecordFile, AnyUnreadableLineDamagesTheWholeRecord) {
  const char* const lines[] = {
      "HKLM\\K|A",                  "HKLM\\K|A|absent|more", "HKCR\\K|A|absent",
      "HKLM|A|absent",              "HKLM\\|A|absent",       "HKLM\\K|A%4|absent",
      "HKLM\\K|A%G1|absent",        "HKLM\\K|A|gone",        "HKLM\\K|A|REG_DWORD:",
      "HKLM\\K|A|REG_DWORD:-1",     "HKLM\\K|A|REG_DWORD:4294967296",
      "HKLM\\K|A|REG_DWORD: 5",     "HKLM\\K|A|REG_SZ:%",    "HKLM\\K|A|hex(3):0",
      "HKLM\\K|A|hex(3):00,",       "HKLM\\K|A|hex(3):001",  "HKLM\\K|A|hex(x):00",
      "HKLM\\K|A|hex(3)00",         "HKLM\\K|A|hex():00",
  };
  for (const char* line : lines) {
    EXPECT_FALSE(ParseUndoRecord(std::string("HKLM\\K|OK|absent\r\n") + line + "\r\n")) << line;
  }
}

// Seeds a machine with a few values of its own and the keys that both
// layouts enumerate; everything else the layouts write is absent.
void Seed(MemoryRegistry& r) {
  r.AddKey(kLm, kNetTrans + "\\0000");
  r.AddKey(kLm, kNetTrans + "\\0001");
  r.AddKey(kLm, kIfCcs + "\\{A}");
  r.AddKey(kLm, kIfCs1 + "\\{B}");
  r.Put(kLm, kMstcp, "DefaultTTL", {reg::kTypeSz, {'6', '4', 0}});
  r.Put(kLm, kNetTrans + "\\0001", "MaxMTU", {reg::kTypeDword, {0x78, 0x05, 0, 0}});
  r.Put(kLm, kK1, "DefaultTTL", {reg::kTypeBinary, {1, 2, 3}});
  r.Put(kLm, kK2, "TcpWindowSize", {reg::kTypeDword, {0, 0x40, 0, 0}});
  r.Put(kLm, kIfCcs + "\\{A}", "MTU", {reg::kTypeDword, {0xDC, 0x05, 0, 0}});
}

class UndoTest : public testing::Test {
 protected:
  UndoTest() {
    fake.files.AddDirectory(fake.environment.programDirectory);
    Seed(fake.registry);
    Seed(pristine);
  }
  SaveResult ApplyMode(std::int16_t osCode, std::int16_t mode) {
    fake.app.OSCode = osCode;
    fake.app.CurrentSettings = mode == kManualMode ? fake.app.presets.WindowsDefaults
                                                   : fake.app.presets.ForAutomaticMode(mode, 1);
    return SaveAndApplySettings(fake.app);
  }
  UndoResult Undo() { return UndoChanges(fake.registry, fake.files, recordPath); }
  std::optional<std::string> Record() { return fake.files.Contents(recordPath); }
  // Every value the program wrote or deleted holds what it held at the start.
  void ExpectAsSeeded() {
    std::set<std::string> seen;
    for (std::string write : fake.registry.Writes()) {
      if (write[0] == '-') write.erase(0, 1);
      const std::string key = write.substr(0, write.find('|'));
      const std::string name = write.substr(write.find('|') + 1);
      const auto now = fake.registry.Get(kLm, key, name);
      const auto before = pristine.Get(kLm, key, name);
      EXPECT_EQ(now.has_value(), before.has_value()) << write;
      if (now && before) {
        EXPECT_EQ(now->type, before->type) << write;
        EXPECT_EQ(now->data, before->data) << write;
      }
      seen.insert(write);
    }
    EXPECT_GT(seen.size(), 10u);
  }

  doubles::FakeKestrel fake;
  MemoryRegistry pristine;
  const std::string recordPath = fake.ProgramFile("\\Undo.txt");
};

// Each family's layout, applied three times over (written, rewritten,
// deleted), comes back as it was, with the values that were absent deleted.
TEST_F(UndoTest, TheFirstStateOfEveryValueComesBackOnBothFamilies) {
  for (const std::int16_t osCode : {std::int16_t{3}, std::int16_t{6}}) {
    SCOPED_TRACE(osCode);
    fake.registry.ClearCalls();
    ASSERT_EQ(ApplyMode(osCode, 0), SaveResult::Saved);
    const auto first = Record();
    ASSERT_TRUE(first);
    const auto record = ParseUndoRecord(*first);
    ASSERT_TRUE(record);
    // One note per value written, each made before the value's first change.
    std::set<std::string> written;
    for (const auto& w : fake.registry.Writes()) written.insert(w);
    EXPECT_EQ(record->values.size(), written.size());

    ASSERT_EQ(ApplyMode(osCode, kManualMode), SaveResult::Saved);
    ASSERT_EQ(ApplyMode(osCode, 2), SaveResult::Saved);
    EXPECT_EQ(Record(), first) << "a later change replaced a note";

    EXPECT_EQ(Undo(), UndoResult::Undone);
    ExpectAsSeeded();
    EXPECT_FALSE(fake.files.Exists(recordPath));
    EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
    EXPECT_EQ(Undo(), UndoResult::NothingToUndo);
  }
}

// A value reached under two names (a control set and its alias) is noted
// twice, the second time with the program's own value; going back latest
// first ends with the value as it was.
TEST_F(UndoTest, TheLatestNoteGoesBackFirst) {
  fake.files.Put(recordPath, "HKLM\\K|V|absent\r\nHKLM\\k|v|REG_DWORD:9\r\n");
  fake.registry.Put(kLm, "K", "V", {reg::kTypeDword, {9, 0, 0, 0}});
  EXPECT_EQ(Undo(), UndoResult::Undone);
  EXPECT_FALSE(fake.registry.Get(kLm, "K", "V"));
}

TEST_F(UndoTest, NothingRecordedOrADamagedRecordChangesNothing) {
  const struct {
    const char* name;
    std::optional<std::string> record;
    bool unreadable;
    UndoResult result;
  } cases[] = {
      {"no record", std::nullopt, false, UndoResult::NothingToUndo},
      {"only comments", "; nothing yet\r\n\r\n", false, UndoResult::NothingToUndo},
      {"damaged", "HKLM\\K|V|absent\r\nsomething else\r\n", false, UndoResult::RecordDamaged},
      {"unreadable", "HKLM\\K|V|absent\r\n", true, UndoResult::RecordDamaged},
  };
  for (const auto& c : cases) {
    fake.files.Remove(recordPath);
    if (c.record) fake.files.Put(recordPath, *c.record);
    fake.files.FailReads(c.unreadable);
    fake.registry.ClearCalls();
    EXPECT_EQ(Undo(), c.result) << c.name;
    EXPECT_TRUE(fake.registry.Writes().empty()) << c.name;
    EXPECT_EQ(Record(), c.record) << c.name;
  }
}

// A value that cannot be written keeps the record for another try; the
// others come back all the same.
TEST_F(UndoTest, AFailedWriteKeepsTheRecordUntilUndoSucceeds) {
  ASSERT_EQ(ApplyMode(6, 0), SaveResult::Saved);
  fake.registry.FailSetValue(kK2, "TcpWindowSize", reg::kAccessDenied);
  EXPECT_EQ(Undo(), UndoResult::RegistryNotWritten);
  EXPECT_TRUE(Record());
  EXPECT_FALSE(fake.registry.Get(kLm, kK1, "TcpWindowSize"));
  EXPECT_EQ(fake.registry.Get(kLm, kK2, "TcpWindowSize")->Dword(), 4288);

  fake.registry.ClearFailures();
  EXPECT_EQ(Undo(), UndoResult::Undone);
  ExpectAsSeeded();
}

// Nothing changes that could not be undone: a value whose previous state
// cannot be read or noted is left alone, and the user is told.
TEST_F(UndoTest, AValueThatCannotBeNotedIsNotChanged) {
  fake.registry.FailQueryValue(kK1, "DefaultTTL", reg::kAccessDenied);
  EXPECT_EQ(ApplyMode(6, 0), SaveResult::RegistryNotWritten);
  EXPECT_EQ(fake.registry.Get(kLm, kK1, "DefaultTTL")->type, reg::kTypeBinary);
  EXPECT_EQ(fake.registry.Get(kLm, kK2, "DefaultTTL")->Dword(), 128);

  fake.registry.ClearFailures();
  fake.files.FailWritesTo(recordPath + ".new");
  EXPECT_EQ(ApplyMode(6, 2), SaveResult::UndoRecordNotSaved);
  // Values noted before are changed; the one never noted is still as it was.
  EXPECT_FALSE(fake.registry.Get(kLm, kK2, "TcpWindowSize"));
  EXPECT_EQ(fake.registry.Get(kLm, kK1, "DefaultTTL")->type, reg::kTypeBinary);
}

TEST_F(UndoTest, ADamagedRecordStopsApplyBeforeAnythingIsWritten) {
  fake.files.Put(recordPath, "damaged");
  fake.registry.ClearCalls();
  EXPECT_EQ(ApplyMode(6, 0), SaveResult::UndoRecordDamaged);
  EXPECT_TRUE(fake.registry.Calls().empty());
  EXPECT_FALSE(fake.files.Exists(fake.ProgramFile("\\Kestrel.cfg")));
  EXPECT_EQ(Record(), "damaged");
}

// The menu command: its question, then what happened, then the restart.
TEST_F(UndoTest, TheMenuCommandAsksTellsAndOffersTheRestart) {
  const char* const kQuestion =
      "This will put back every registry value that Kestrel has changed";
  const struct {
    const char* name;
    std::optional<std::string> record;
    std::vector<MessageAnswer> answers;
    std::vector<std::string> boxes;  // the first words of each box
    bool restarts;
  } cases[] = {
      {"declined", "HKLM\\K|V|absent\r\n", {MessageAnswer::No}, {kQuestion}, false},
      {"nothing", std::nullopt, {MessageAnswer::Yes}, {kQuestion, "There is nothing"}, false},
      {"damaged", "x", {MessageAnswer::Yes}, {kQuestion, "Nothing was undone"}, false},
      {"refused", "HKLM\\Locked|V|absent\r\n", {MessageAnswer::Yes},
       {kQuestion, "Not every change could be undone"}, false},
      {"restart later", "HKLM\\K|V|absent\r\n", {MessageAnswer::Yes, MessageAnswer::No},
       {kQuestion, "All changes by Kestrel were undone.", "Windows uses your earlier",
        "Keep in mind"},
       false},
      {"restart now", "HKLM\\K|V|absent\r\n", {MessageAnswer::Yes, MessageAnswer::Yes},
       {kQuestion, "All changes by Kestrel were undone.", "Windows uses your earlier"}, true},
  };
  doubles::RecordingHost host{fake.messages};
  MainWindowModel window{fake.app, host};
  fake.registry.Put(kLm, "Locked", "V", {reg::kTypeDword, {1, 0, 0, 0}});
  fake.registry.FailSetValue("Locked", "V", reg::kAccessDenied);
  for (const auto& c : cases) {
    fake.files.Remove(recordPath);
    if (c.record) fake.files.Put(recordPath, *c.record);
    fake.messages.shown.clear();
    fake.messages.answers = {c.answers.begin(), c.answers.end()};
    fake.restart.steps.clear();
    EXPECT_TRUE(window.MenuItemClicked(ids::mnuUndo));
    ASSERT_EQ(fake.messages.shown.size(), c.boxes.size()) << c.name;
    for (std::size_t i = 0; i < c.boxes.size(); ++i) {
      EXPECT_EQ(fake.messages.shown[i].text.find(c.boxes[i]), 0u)
          << c.name << ": " << fake.messages.shown[i].text;
    }
    EXPECT_EQ(fake.messages.shown[0].caption, "Undo All Changes by Kestrel");
    EXPECT_EQ(fake.messages.shown[0].buttons, platform::MessageButtons::YesNoDefaultNo);
    EXPECT_EQ(fake.restart.steps.size(), c.restarts ? 2u : 0u) << c.name;
    // The record goes only when everything is back.
    const bool undone = c.boxes.size() > 2;
    EXPECT_EQ(fake.files.Exists(recordPath), c.record && !undone) << c.name;
  }
}

// Kestrel.exe /undo: no window, no question, no monitor, and an exit code
// for the uninstaller; it runs whether or not another copy is open.
TEST_F(UndoTest, TheCommandLineUndoesSilentlyWithAnExitCode) {
  fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ");
  fake.instance.another = true;
  const struct {
    const char* arguments;
    std::optional<std::string> record;
    std::optional<int> exitCode;
  } cases[] = {
      {"/undo", "HKLM\\K|V|absent\r\n", 0},
      {" /UnDo ", std::nullopt, 0},
      {"/undo", "HKLM\\K|V|REG_DWORD:x\r\n", 2},
      {"/undo", "HKLM\\Locked|V|absent\r\n", 1},
      {"/undo now", "HKLM\\K|V|absent\r\n", std::nullopt},
      {"undo", "HKLM\\K|V|absent\r\n", std::nullopt},
      {"1", "HKLM\\K|V|absent\r\n", std::nullopt},
  };
  fake.registry.Put(kLm, "Locked", "V", {reg::kTypeDword, {1, 0, 0, 0}});
  fake.registry.FailSetValue("Locked", "V", reg::kAccessDenied);
  for (const auto& c : cases) {
    fake.files.Remove(recordPath);
    if (c.record) fake.files.Put(recordPath, *c.record);
    fake.registry.Put(kLm, "K", "V", {reg::kTypeDword, {1, 0, 0, 0}});
    fake.environment.commandLine = "\"C:\\Program Files\\Kestrel\\Kestrel.exe\" " +
                                   std::string(c.arguments);
    EXPECT_EQ(RunUndoCommandLine(fake.app), c.exitCode) << c.arguments;
    const bool undone = c.exitCode == 0 && c.record;
    EXPECT_EQ(fake.registry.Get(kLm, "K", "V").has_value(), !undone) << c.arguments;
    EXPECT_EQ(fake.files.Exists(recordPath), c.record && !undone) << c.arguments;
  }
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_TRUE(fake.programs.started.empty());
}

}  // namespace
}  // namespace kestrel
