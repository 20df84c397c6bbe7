#include "common/ping_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/ping_now.h"
#include "tests/doubles/fake_network.h"
#include "tests/doubles/fake_platform.h"

namespace common {
namespace {

using doubles::MemoryFileSystem;

const std::string kManualFile =
    "PingAutomatic,#FALSE#\r\nPingHost,192.168.0.1\r\nPingInterval,10\r\nPingSound,#FALSE#\r\n";
constexpr const char* kAutomaticFile =
    "PingAutomatic,#TRUE#\r\nPingHost,one.one.one.one\r\nPingInterval,5\r\nPingSound,#FALSE#\r\n";

class PingDialogTest : public testing::Test {
 protected:
  // Opens the dialog over the file, or without one.
  void Open(std::optional<std::string> file = std::nullopt) {
    if (file) ping.files.Put(ping.path, *file);
    dialog.Load();
  }
  const PingDialog& c() const { return dialog.controls(); }
  std::optional<std::string> File() const { return ping.files.Contents(ping.path); }
  bool Wrote() const {
    for (const auto& call : ping.files.Calls()) {
      if (call.op == MemoryFileSystem::Op::WriteAll) return true;
    }
    return false;
  }

  doubles::FakePing ping;
  PingDialogModel dialog{ping.context};
};

TEST_F(PingDialogTest, OpensWithoutAFileInAutomaticMode) {
  ping.settings.PingHost = "stale";
  Open();
  EXPECT_EQ(c().Label1, kPingDialogExplanation);
  ASSERT_EQ(c().cmbPingInterval.items.size(), 60u);
  EXPECT_EQ(c().cmbPingInterval.items.front(), "1 min.");
  EXPECT_EQ(c().cmbPingInterval.items[4], "5 min.");
  EXPECT_EQ(c().cmbPingInterval.items.back(), "60 min.");
  EXPECT_TRUE(c().Option1.selected);
  EXPECT_FALSE(c().Option2.selected);
  EXPECT_EQ(c().txtPingHost, (TextControl{false, "Automatic", 0, TextAlignment::Centre}));
  EXPECT_FALSE(c().cmbPingInterval.enabled);
  EXPECT_EQ(c().cmbPingInterval.selected, 4);
  EXPECT_EQ(c().chkSound.state, 0);
  EXPECT_EQ(ping.settings, DefaultPingSettings(false));
  EXPECT_EQ(ping.loads, 1);
}

TEST_F(PingDialogTest, ShowsTheFileAndRereadsItAtEveryOpening) {
  Open("A,#FALSE#\r\nH,  host.example  \r\nI,10\r\nS,#TRUE#\r\n");
  EXPECT_TRUE(c().Option2.selected);
  EXPECT_EQ(c().txtPingHost, (TextControl{true, "host.example", 0, TextAlignment::Left}));
  EXPECT_TRUE(c().cmbPingInterval.enabled);
  EXPECT_EQ(c().cmbPingInterval.selected, 9);
  EXPECT_EQ(c().chkSound.state, 1);

  // Automatic mode shows the file's interval too, greyed.
  Open("A,#TRUE#\r\nH,x\r\nI,10\r\nS,#FALSE#\r\n");
  EXPECT_EQ(c().txtPingHost.text, "Automatic");
  EXPECT_EQ(c().cmbPingInterval.selected, 9);
  EXPECT_EQ(ping.loads, 2);

  for (const char* interval : {"0", "61", "-3", "99999999999999999999"}) {
    Open(std::string("A,#FALSE#\r\nH,h\r\nI,") + interval + "\r\nS,#FALSE#\r\n");
    EXPECT_EQ(c().cmbPingInterval.selected, -1) << interval;
    EXPECT_TRUE(c().Option2.selected) << interval;
  }
}

TEST_F(PingDialogTest, OptionsAndDefaultSetHostAndInterval) {
  Open(kManualFile);
  dialog.chkSoundClicked(1);
  dialog.Option1Clicked();
  EXPECT_EQ(c().txtPingHost, (TextControl{false, "Automatic", 0, TextAlignment::Centre}));
  EXPECT_EQ(c().cmbPingInterval.selected, 4);
  EXPECT_FALSE(c().cmbPingInterval.enabled);
  EXPECT_EQ(c().chkSound.state, 1);

  dialog.Option2Clicked();
  EXPECT_TRUE(c().Option2.selected && !c().Option1.selected);
  EXPECT_EQ(c().txtPingHost, (TextControl{true, "", 0, TextAlignment::Left}));
  EXPECT_TRUE(c().cmbPingInterval.enabled);
  EXPECT_EQ(c().cmbPingInterval.selected, -1);

  dialog.cmdDefaultClicked();
  EXPECT_TRUE(c().Option1.selected && !c().Option2.selected);
  EXPECT_EQ(c().txtPingHost.text, "Automatic");
  EXPECT_EQ(c().cmbPingInterval.selected, 4);
  EXPECT_EQ(c().chkSound.state, 0);
  // Default saves nothing; closing now (Cancel) leaves file and settings.
  EXPECT_FALSE(Wrote());
  EXPECT_EQ(File(), kManualFile);
  EXPECT_FALSE(ping.settings.PingAutomatic);
}

TEST_F(PingDialogTest, OkRefusesManualInputThatCannotBeUsedOrReadBack) {
  struct Case {
    const char* host;
    int interval;
    bool valid;
  } cases[] = {
      {"", 9, false},           {"192.168.0.1", -1, false}, {"a,b", 9, false},
      {"a\"b", 9, false},       {"a\r\nb", 9, false},       {"   ", 9, true},
      {"host.example", 0, true}, {"host.example", 59, true},
  };
  for (const Case& cs : cases) {
    doubles::FakePing fresh;
    fresh.files.Put(fresh.path, kAutomaticFile);
    PingDialogModel d(fresh.context);
    d.Load();
    d.Option2Clicked();
    d.txtPingHostChanged(cs.host);
    d.cmbPingIntervalChosen(cs.interval);
    EXPECT_EQ(d.cmdOKClicked(), cs.valid) << cs.host;
    if (cs.valid) {
      EXPECT_TRUE(fresh.messages.shown.empty()) << cs.host;
      EXPECT_EQ(fresh.settings.PingHost, cs.host);  // as typed, blanks and all
      EXPECT_EQ(fresh.settings.PingInterval, std::to_string(cs.interval + 1));
      EXPECT_EQ(ParsePingFile(*fresh.files.Contents(fresh.path)).has_value(), true) << cs.host;
      continue;
    }
    ASSERT_EQ(fresh.messages.shown.size(), 1u) << cs.host;
    EXPECT_EQ(fresh.messages.shown[0].text, "Enter Values Properly.");
    EXPECT_EQ(fresh.messages.shown[0].caption, "Kestrel");
    EXPECT_EQ(fresh.messages.shown[0].icon, platform::MessageIcon::Information);
    EXPECT_EQ(fresh.settings, DefaultPingSettings(false)) << cs.host;
    EXPECT_EQ(fresh.files.Contents(fresh.path), kAutomaticFile) << cs.host;
  }
}

TEST_F(PingDialogTest, OkSavesManualAndAutomaticSettings) {
  Open(kAutomaticFile);
  dialog.Option2Clicked();
  dialog.txtPingHostChanged("192.168.0.1");
  dialog.cmbPingIntervalChosen(9);
  ASSERT_TRUE(dialog.cmdOKClicked());
  EXPECT_EQ(File(), kManualFile);
  EXPECT_EQ(ping.files.Paths().size(), 1u);  // no temporary file left

  // Automatic saves the built-in host and 5, whatever the file held.
  Open("A,#FALSE#\r\nH,other\r\nI,42\r\nS,#FALSE#\r\n");
  dialog.Option1Clicked();
  dialog.chkSoundClicked(1);
  ASSERT_TRUE(dialog.cmdOKClicked());
  EXPECT_EQ(ping.settings, DefaultPingSettings(true));
  EXPECT_EQ(File(), FormatPingFile(DefaultPingSettings(true)));
  EXPECT_TRUE(ping.messages.shown.empty());
}

TEST_F(PingDialogTest, AFileThatCannotBeWrittenIsToldButTheSettingsAreTaken) {
  for (const auto failure :
       {MemoryFileSystem::WriteFailure::Refused, MemoryFileSystem::WriteFailure::DiskFull}) {
    ping.messages.shown.clear();
    Open(kAutomaticFile);
    ping.files.FailWrites(failure);
    dialog.Option2Clicked();
    dialog.txtPingHostChanged("10.1.1.1");
    dialog.cmbPingIntervalChosen(0);
    EXPECT_TRUE(dialog.cmdOKClicked()) << "the dialog closes";
    EXPECT_EQ(ping.settings, (PingSettings{false, "10.1.1.1", "1", false}));
    EXPECT_EQ(File(), kAutomaticFile);
    ping.files.FailWrites(MemoryFileSystem::WriteFailure::None);
    ASSERT_EQ(ping.messages.shown.size(), 1u);
    EXPECT_EQ(ping.messages.shown[0].text,
              "The ping settings were not saved: the file C:\\Kestrel\\Ping.cfg could not be "
              "written.\r\n\r\nMake sure that the file can be written, then save the settings "
              "again.");
    EXPECT_EQ(ping.messages.shown[0].icon, platform::MessageIcon::Information);
  }
}

TEST_F(PingDialogTest, HelpOpensTheGuideOwnedByTheDialog) {
  Open();
  dialog.cmdHelpClicked(0x1234);
  ASSERT_EQ(ping.shell.opened.size(), 1u);
  EXPECT_EQ(ping.shell.opened[0].owner, 0x1234u);
  EXPECT_EQ(ping.shell.opened[0].document, "C:\\Kestrel\\Help\\help.htm");
}

TEST(PingNow, PingsThenPlaysTheSoundWhenOnAndPresent) {
  constexpr const char* kEcho = "pump; pump; start 257; echo 10.0.0.1 1000; cleanup; pump";
  struct Case {
    const char* host;
    bool sound, wav, answers;
    const char* calls;
    bool played;
  } cases[] = {
      {"10.0.0.1", true, true, true, kEcho, true},
      {"10.0.0.1", true, true, false, kEcho, true},  // the sound follows a failed echo too
      {"   ", true, true, true, "pump; pump; pump", true},  // nothing to ping: false at once
      {"10.0.0.1", true, false, true, kEcho, false},
      {"10.0.0.1", false, true, true, kEcho, false},
  };
  for (const Case& c : cases) {
    doubles::FakePing ping;
    doubles::FakeNetwork net;
    PingServices services{net, net, ping.messages, "Tidewatch"};
    if (!c.answers) net.echoStatus[{10, 0, 0, 1}] = 11010;  // timed out
    if (c.wav) ping.files.Put("C:\\Kestrel\\Ping.wav", "RIFF");
    ping.settings = {false, c.host, "5", c.sound};
    PingNow(ping.context, services, [&] { net.calls.push_back("pump"); });
    std::string calls;
    for (const auto& call : net.calls) calls += (calls.empty() ? "" : "; ") + call;
    EXPECT_EQ(calls, c.calls) << c.host;
    EXPECT_EQ(ping.sound.played, c.played ? std::vector<std::string>{"C:\\Kestrel\\Ping.wav"}
                                          : std::vector<std::string>{});
    EXPECT_TRUE(ping.messages.shown.empty());
  }
}

TEST(PingNow, AHiddenSoundFileCountsAsMissing) {
  doubles::FakePing ping;
  ping.files.Put("C:\\Kestrel\\Ping.wav", "RIFF", {false, true, false});
  PlayPingSound(ping.context);
  EXPECT_TRUE(ping.sound.played.empty());
}

}  // namespace
}  // namespace common
