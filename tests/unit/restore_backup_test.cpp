#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "kestrel/main_window.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/recording_host.h"

namespace {

using platform::MessageAnswer;
namespace reg = platform::reg;

const char* const kRestoredFile =
    "ConnectionType,2\r\nOptiMode,3\r\nMTU,#FALSE#,1500\r\nRWIN,#FALSE#,-1,8192\r\n"
    "TTL,#FALSE#,32\r\nSKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\nPMTU,#TRUE#\r\n"
    "BlackHole,#FALSE#\r\nMSCPS0,0,2\r\nMSCPS1,2,4\r\n";
const char* const kQuestion =
    "This Program will restore all Windows settings.\r\nWould you like to Continue?";

class RestoreTest : public testing::Test {
 protected:
  RestoreTest() {
    fake.files.AddDirectory(fake.environment.programDirectory);
    window.Load();
    window.panel().cmbNetTypeChosen(2);
    window.panel().cmbOptimizeChosen(2);  // Automatic #3
    fake.messages.shown.clear();
    fake.registry.ClearCalls();
  }
  std::optional<std::string> SavedFile() {
    return fake.files.Contents(fake.ProgramFile("\\Kestrel.cfg"));
  }
  void Restore(MessageAnswer answer) {
    fake.messages.answers = {answer};
    window.Run(kestrel::Command::Restore);
  }

  doubles::FakeKestrel fake;
  doubles::RecordingHost host{fake.messages};
  kestrel::MainWindowModel window{fake.app, host};
};

TEST_F(RestoreTest, NoChangesNothing) {
  const auto settings = fake.app.CurrentSettings;
  const auto panel = window.panel().controls();
  Restore(MessageAnswer::No);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  EXPECT_EQ(fake.messages.shown[0].text, kQuestion);
  EXPECT_EQ(fake.messages.shown[0].caption, "Restore Default Settings");
  EXPECT_EQ(fake.messages.shown[0].buttons, platform::MessageButtons::YesNoDefaultNo);
  EXPECT_EQ(fake.messages.shown[0].icon, platform::MessageIcon::Information);
  EXPECT_EQ(fake.app.CurrentSettings, settings);
  EXPECT_EQ(window.panel().controls(), panel);
  EXPECT_FALSE(SavedFile());
  EXPECT_TRUE(fake.registry.Calls().empty());
}

// After Restore the window shows what the next Apply does: Manual with the
// Windows defaults, the connection type kept.
TEST_F(RestoreTest, YesWritesTheDefaultsInManualAndSaysSo) {
  Restore(MessageAnswer::Yes);
  EXPECT_EQ(fake.messages.Texts(),
            (std::vector<std::string>{kQuestion,
                                      "Windows default settings were successfully restored."}));
  EXPECT_EQ(SavedFile(), kRestoredFile);
  auto expected = fake.app.presets.WindowsDefaults;
  expected.ConnectionType = 2;
  EXPECT_EQ(fake.app.CurrentSettings, expected);
  EXPECT_EQ(window.panel().controls().cmbOptimize.SelectedText(), "Manual");
  EXPECT_EQ(window.StatusPanels()[1], "Mode: Manual");
  EXPECT_TRUE(window.panel().controls().optMTU1.enabled);
  EXPECT_FALSE(fake.registry.Writes().empty());

  // The panel is the one Manual gives, and Apply now runs as Manual.
  fake.messages.shown.clear();
  window.Run(kestrel::Command::Apply);
  EXPECT_EQ(fake.messages.Texts().front().find("Changes Applied Successfully."), 0u);
}

TEST_F(RestoreTest, FailuresAreToldInsteadOfSuccess) {
  const struct {
    bool fileRefused;
    const char* says;
    bool registryTried;
  } cases[] = {
      {true, "could not be saved to the file C:\\Program Files\\Kestrel\\Kestrel.cfg", false},
      {false, "could not be written to the registry", true},
  };
  for (const auto& c : cases) {
    fake.messages.shown.clear();
    fake.registry.ClearCalls();
    if (c.fileRefused) {
      fake.files.FailWrites(doubles::MemoryFileSystem::WriteFailure::Refused);
    } else {
      fake.files.FailWrites(doubles::MemoryFileSystem::WriteFailure::None);
      fake.registry.FailAllWrites(reg::kAccessDenied);
    }
    const auto settingsBefore = fake.app.CurrentSettings;
    const auto fileBefore = SavedFile();
    Restore(MessageAnswer::Yes);
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_NE(fake.messages.shown[1].text.find(c.says), std::string::npos)
        << fake.messages.shown[1].text;
    EXPECT_EQ(fake.registry.Calls().empty(), !c.registryTried) << c.says;
    // Everything as before, so that the next Apply does not write defaults.
    EXPECT_EQ(fake.app.CurrentSettings, settingsBefore) << c.says;
    EXPECT_EQ(window.panel().controls().cmbOptimize.SelectedText(), "Automatic #3") << c.says;
    EXPECT_FALSE(window.panel().controls().optMTU1.enabled) << c.says;
    EXPECT_EQ(window.StatusPanels()[1], "Mode: Automatic #3") << c.says;
    fake.files.FailWrites(doubles::MemoryFileSystem::WriteFailure::None);
    EXPECT_EQ(SavedFile(), fileBefore) << c.says;
  }
}

// The backup, with the registry editor played by the program starter.
class BackupTest : public RestoreTest {
 protected:
  const std::string kPath = "C:\\My Backups\\registry backup.reg";

  void Backup() {
    host.calls.clear();
    fake.messages.shown.clear();
    window.Run(kestrel::Command::Backup);
  }
};

const std::string kUnicodeExport = std::string(
    "\xFF\xFEW\0i\0n\0d\0o\0w\0s\0 \0R\0e\0g\0i\0s\0t\0r\0y\0 \0E\0d\0i\0t\0o\0r\0 \0"
    "V\0e\0r\0s\0i\0o\0n\0 \0005\0.\0000\0000\0\r\0\n\0",
    80);

TEST_F(BackupTest, CancellingStartsNothing) {
  Backup();
  ASSERT_EQ(fake.dialogs.asked.size(), 1u);
  const auto& asked = fake.dialogs.asked[0];
  EXPECT_EQ(asked.title, "Registry Backup");
  EXPECT_EQ(asked.owner, host.owner);
  EXPECT_EQ(asked.initialDirectory, "C:\\Program Files\\Kestrel");
  EXPECT_EQ(asked.fileName, "");
  ASSERT_EQ(asked.types.size(), 2u);
  EXPECT_EQ(asked.types[0].description + asked.types[0].pattern, "Text Document (*.txt)*.txt");
  EXPECT_EQ(asked.types[1].description + asked.types[1].pattern,
            "Registration Entries (*.reg)*.reg");
  EXPECT_TRUE(fake.programs.started.empty());
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_EQ(host.calls, std::vector<std::string>{"pump"});
}

TEST_F(BackupTest, WaitsForTheEditorThenChecksWhatItWrote) {
  const struct {
    const char* name;
    std::optional<std::string> before;   // the file as it was
    std::optional<std::string> written;  // what the editor writes; nothing: it writes nothing
    unsigned long startResult;
    const char* says;
  } cases[] = {
      {"Unicode export", std::nullopt, kUnicodeExport, 0,
       "Registry Backup has been taken Successfully."},
      {"older 8-bit export", std::nullopt, std::string("REGEDIT4\r\n\r\n[HKEY_"), 0,
       "Registry Backup has been taken Successfully."},
      {"an old backup replaced", kUnicodeExport, kUnicodeExport, 0,
       "Registry Backup has been taken Successfully."},
      {"nothing written", std::nullopt, std::nullopt, 0, "The Registry Backup could not be taken"},
      {"an old backup left as it was", kUnicodeExport, std::nullopt, 0,
       "The Registry Backup could not be taken"},
      {"not an export", std::nullopt, std::string("Unable to open the file"), 0,
       "The Registry Backup could not be taken"},
      {"a cut-off header", std::nullopt, kUnicodeExport.substr(0, 20), 0,
       "The Registry Backup could not be taken"},
      {"no editor", std::nullopt, std::nullopt, 2, "Windows could not start the command"},
  };
  fake.dialogs.answer = kPath;
  for (const auto& c : cases) {
    fake.files.Remove(kPath);
    if (c.before) fake.files.Put(kPath, *c.before);
    fake.programs.started.clear();
    fake.programs.waitedFor.clear();
    fake.programs.result = c.startResult;
    fake.programs.whileRunning = [&] {
      EXPECT_EQ(host.calls.back(), "busy") << c.name;
      if (c.written) fake.files.Put(kPath, *c.written);
    };
    Backup();

    const std::string command = "regedit /E \"" + kPath + "\"";
    EXPECT_EQ(fake.programs.started, (std::vector<std::pair<std::string, platform::ShowCode>>{
                                         {command, platform::ShowCode::Minimized}}))
        << c.name;
    EXPECT_EQ(fake.programs.waitedFor, std::vector<std::string>{command}) << c.name;
    const std::vector<std::string> calls =
        c.startResult ? std::vector<std::string>{"pump", "pump", "busy", "idle", "pump"}
                      : std::vector<std::string>{"pump", "pump", "busy", "pump", "idle", "pump"};
    EXPECT_EQ(host.calls, calls) << c.name;
    ASSERT_EQ(fake.messages.shown.size(), 1u) << c.name;
    const std::string& text = fake.messages.shown[0].text;
    EXPECT_EQ(text.find(c.says), 0u) << c.name << ": " << text;
    if (std::string(c.says) != "Registry Backup has been taken Successfully.") {
      EXPECT_NE(text.find(c.startResult ? command : kPath), std::string::npos) << c.name;
    }
    EXPECT_FALSE(window.Busy());
  }
}

// Closing while the editor exports: the user is told once, and the window
// closes after the backup's own message when they said Yes.
TEST_F(BackupTest, ClosingWhileTheEditorExportsClosesWhenItEnds) {
  for (const auto answer : {MessageAnswer::Yes, MessageAnswer::No}) {
    doubles::FakeKestrel f;
    doubles::RecordingHost h{f.messages};
    kestrel::MainWindowModel w{f.app, h};
    f.files.AddDirectory(f.environment.programDirectory);
    w.Load();
    f.dialogs.answer = kPath;
    f.messages.shown.clear();
    f.messages.answers = {answer, MessageAnswer::Ok};
    f.programs.whileRunning = [&] {
      EXPECT_FALSE(w.CloseRequested());
      // Once agreed, a second close asks nothing more.
      if (answer == MessageAnswer::Yes) {
        EXPECT_FALSE(w.CloseRequested());
      }
      f.files.Put(kPath, kUnicodeExport);
    };
    h.calls.clear();
    w.Run(kestrel::Command::Backup);
    ASSERT_EQ(f.messages.shown.size(), 2u);
    EXPECT_EQ(f.messages.shown[0].text.find("The registry backup is still running"), 0u);
    EXPECT_EQ(f.messages.shown[0].buttons, platform::MessageButtons::YesNo);
    EXPECT_EQ(f.messages.shown[1].text, "Registry Backup has been taken Successfully.");
    EXPECT_EQ(h.Count("close"), answer == MessageAnswer::Yes ? 1 : 0);
    EXPECT_TRUE(w.CloseRequested());
  }
}

}  // namespace
