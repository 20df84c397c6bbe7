#include "common/ping_settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/doubles/fake_platform.h"

namespace common {
namespace {

const std::string kManualFile =
    "PingAutomatic,#FALSE#\r\nPingHost,192.168.0.1\r\nPingInterval,10\r\nPingSound,#FALSE#\r\n";

PingSettings Settings(bool automatic, std::string host, std::string interval, bool sound) {
  return {automatic, std::move(host), std::move(interval), sound};
}

TEST(PingFile, WritesFourLinesByteForByte) {
  EXPECT_EQ(FormatPingFile(Settings(false, "192.168.0.1", "10", false)), kManualFile);
  EXPECT_EQ(FormatPingFile(DefaultPingSettings(true)),
            "PingAutomatic,#TRUE#\r\nPingHost,one.one.one.one\r\nPingInterval,5\r\n"
            "PingSound,#TRUE#\r\n");
}

TEST(PingFile, ReadsFieldsInOrder) {
  struct Case {
    const char* name;
    std::string text;
    PingSettings read;
  } cases[] = {
      {"as written", kManualFile, Settings(false, "192.168.0.1", "10", false)},
      {"keys not compared", "a,#TRUE#\r\nb,host\r\nc,60\r\nd,#TRUE#\r\n",
       Settings(true, "host", "60", true)},
      {"blanks, LF, blank line", "PingAutomatic , #FALSE# \n\nPingHost,  my host  \nPingInterval, 7\n"
       "PingSound,#TRUE#",
       Settings(false, "my host", "7", true)},
      {"quoted host keeps commas and blanks", "A,#FALSE#\r\nH,\" a,b \" tail\r\nI,1\r\nS,#FALSE#\r\n",
       Settings(false, " a,b ", "1", false)},
      {"lines after the fourth ignored", kManualFile + "Extra,#MAYBE#\r\nmore\r\n",
       Settings(false, "192.168.0.1", "10", false)},
      {"empty host", "A,#FALSE#\r\nH,\r\nI,3\r\nS,#FALSE#\r\n", Settings(false, "", "3", false)},
      // Whole numbers outside 1 to 60 are read; the dialog selects nothing for them.
      {"interval 0", "A,#FALSE#\r\nH,h\r\nI,0\r\nS,#FALSE#\r\n", Settings(false, "h", "0", false)},
      {"interval 61", "A,#FALSE#\r\nH,h\r\nI,61\r\nS,#FALSE#\r\n", Settings(false, "h", "61", false)},
      {"interval negative", "A,#FALSE#\r\nH,h\r\nI,-3\r\nS,#FALSE#\r\n",
       Settings(false, "h", "-3", false)},
      {"interval huge", "A,#FALSE#\r\nH,h\r\nI,99999999999999999999\r\nS,#FALSE#\r\n",
       Settings(false, "h", "99999999999999999999", false)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParsePingFile(c.text), c.read) << c.name;
  }
}

TEST(PingFile, RefusesWhatCannotBeRead) {
  const char* const cases[] = {
      "",
      "PingAutomatic,#FALSE#\r\nPingHost,192.168.0.1\r\nPingInterval,10\r\n",  // three lines
      "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,10\r\nPingSound\r\n",
      "PingAutomatic,#true#\r\nPingHost,h\r\nPingInterval,10\r\nPingSound,#FALSE#\r\n",
      "PingAutomatic,True\r\nPingHost,h\r\nPingInterval,10\r\nPingSound,#FALSE#\r\n",
      "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,10\r\nPingSound,1\r\n",
      "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,ten\r\nPingSound,#FALSE#\r\n",
      "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,\r\nPingSound,#FALSE#\r\n",
      "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,5.0\r\nPingSound,#FALSE#\r\n",
      "PingAutomatic,#FALSE#\r\nPingHost,h\r\nPingInterval,1 0\r\nPingSound,#FALSE#\r\n",
      // A comma in an unquoted host puts the later fields out of step.
      "PingAutomatic,#FALSE#\r\nPingHost,a,b\r\nPingInterval,10\r\nPingSound,#FALSE#\r\n",
  };
  for (const char* text : cases) EXPECT_EQ(ParsePingFile(text), std::nullopt) << text;
}

TEST(PingFile, IntervalPositionIsMinutesLessOneWithinTheList) {
  const std::pair<const char*, int> cases[] = {
      {"1", 0},   {"5", 4},    {"60", 59},  {"007", 6},  {"61", -1}, {"0", -1},
      {"00", -1}, {"-1", -1},  {"100", -1}, {"", -1},    {"x", -1},  {"99999999999999999999", -1},
  };
  for (const auto& [text, position] : cases) EXPECT_EQ(IntervalPosition(text), position) << text;
}

TEST(LoadPingSettings, FallsBackToTheDefaultsButKeepsTheSound) {
  struct Case {
    const char* name;
    std::optional<std::string> file;
    platform::FileAttributes attributes;
    bool failReads;
  } cases[] = {
      {"missing", std::nullopt, {}, false},
      {"three lines", kManualFile.substr(0, kManualFile.find("PingSound")), {}, false},
      {"malformed interval", "A,#FALSE#\r\nH,h\r\nI,x\r\nS,#FALSE#\r\n", {}, false},
      {"hidden", kManualFile, {false, true, false}, false},
      {"unreadable", kManualFile, {}, true},
  };
  for (const Case& c : cases) {
    for (bool sound : {false, true}) {
      doubles::FakePing ping;
      if (c.file) ping.files.Put(ping.path, *c.file, c.attributes);
      ping.files.FailReads(c.failReads);
      ping.settings = Settings(false, "old", "9", sound);
      LoadPingSettings(ping.context);
      EXPECT_EQ(ping.settings, DefaultPingSettings(sound)) << c.name << " sound " << sound;
      EXPECT_EQ(ping.loads, 1) << c.name;
      EXPECT_TRUE(ping.messages.shown.empty()) << c.name;
    }
  }
}

TEST(LoadPingSettings, ReadsTheFileAndRunsTheHookEachTime) {
  doubles::FakePing ping;
  ping.files.Put(ping.path, "A,#FALSE#\r\nH,10.0.0.1\r\nI,61\r\nS,#TRUE#\r\n");
  LoadPingSettings(ping.context);
  EXPECT_EQ(ping.settings, Settings(false, "10.0.0.1", "61", true));
  LoadPingSettings(ping.context);
  EXPECT_EQ(ping.loads, 2);
}

// The tray monitor saves as the user. Under Program Files the folder refuses
// the user's new files, while the installer lets users change Ping.cfg itself.
TEST(SavePingSettings, RewritesInPlaceOnlyWhereTheFolderRefusesNewFiles) {
  using Failure = doubles::MemoryFileSystem::WriteFailure;
  const std::string kOld = "old";
  struct Case {
    const char* name;
    std::optional<std::string> file;  // Ping.cfg before the save
    Failure failure;
    bool saved;
  } cases[] = {
      {"writable folder", kOld, Failure::None, true},
      {"writable folder, no file yet", std::nullopt, Failure::None, true},
      {"file granted, folder refuses", kOld, Failure::NewFilesRefused, true},
      {"empty file of the installer", "", Failure::NewFilesRefused, true},
      {"no file, folder refuses", std::nullopt, Failure::NewFilesRefused, false},
      {"nothing may be written", kOld, Failure::Refused, false},
      {"disk full", kOld, Failure::DiskFull, false},
  };
  for (const Case& c : cases) {
    doubles::FakePing ping;
    if (c.file) ping.files.Put(ping.path, *c.file);
    ping.files.FailWrites(c.failure);
    ping.settings = Settings(false, "10.0.0.1", "7", true);
    EXPECT_EQ(SavePingSettings(ping.context), c.saved) << c.name;
    EXPECT_EQ(ping.files.Contents(ping.path),
              c.saved ? std::optional(FormatPingFile(ping.settings)) : c.file)
        << c.name;
    EXPECT_EQ(ping.files.Paths().size(), c.file || c.saved ? 1u : 0u)
        << c.name << ": no temporary file is left";
  }
}

}  // namespace
}  // namespace common
