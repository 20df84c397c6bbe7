#include <gtest/gtest.h>

#include "common/numbers.h"
#include "kestrel/startup.h"
#include "tests/doubles/fake_platform.h"

namespace {

using kestrel::StartupAction;

TEST(CommandLineArgumentsTest, StripsTheProgramName) {
  const struct {
    const char* line;
    const char* arguments;
  } cases[] = {
      {"\"C:\\Program Files\\Kestrel\\Kestrel.exe\" 1", "1"},
      {"\"C:\\Program Files\\Kestrel\\Kestrel.exe\"", ""},
      {"C:\\Kestrel\\Kestrel.exe   0  ", "0  "},
      {"Kestrel.exe", ""},
      {"  \"Kestrel.exe\"abc def", "def"},
      {"\"C:\\unterminated", ""},
      {"Kestrel.exe \"quoted arg\"", "\"quoted arg\""},
  };
  for (const auto& c : cases) EXPECT_EQ(kestrel::CommandLineArguments(c.line), c.arguments) << c.line;
}

TEST(ReadWholeNumberTest, NumbersAreRoundedAndEverythingElseRefused) {
  const struct {
    const char* text;
    std::optional<long long> number;
  } cases[] = {
      {"0", 0},      {"1", 1},        {"-1", -1},      {" 2 ", 2},    {"\t7", 7},
      {"+3", 3},     {"1.4", 1},      {"1.6", 2},      {"0.4", 0},    {"-0.4", 0},
      // Halves go to the even neighbour.
      {"0.5", 0},    {"1.5", 2},      {"2.5", 2},      {"1e2", 100},  {".5", 0},
      // Too small for a double, but still a number: it rounds to 0.
      {"1e-400", 0}, {"-1e-310", 0},  {"1e15", 1000000000000000},
      {"abc", {}},   {"1abc", {}},    {"1 2", {}},     {"--1", {}},   {"0x10", {}},
      {"1e", {}},    {".", {}},       {"-", {}},       {"inf", {}},   {"nan", {}},
      {"1e400", {}}, {"1,5", {}},     {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(common::ReadWholeNumber(c.text), c.number) << c.text;
}

TEST(ReadDigitsTest, OnlyDigitsAndAnythingPastTheLimitReadsAsOneMore) {
  const struct {
    const char* text;
    std::optional<unsigned> number;
  } cases[] = {
      {"0", 0},     {" 255\t", 255}, {"256", 256}, {"99999999999999999999", 256},
      {"", {}},     {" ", {}},       {"+1", {}},   {"-1", {}},
      {"1.0", {}},  {"1 2", {}},     {"1e2", {}},  {"0x1", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(common::ReadDigits(c.text, 255), c.number) << c.text;
}

class RunStartupTest : public testing::Test {
 protected:
  void WithArguments(const std::string& arguments) {
    fake.environment.commandLine = "\"C:\\Program Files\\Kestrel\\Kestrel.exe\" " + arguments;
  }
  void InstallTidewatch() { fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ"); }

  doubles::FakeKestrel fake;
};

TEST_F(RunStartupTest, SecondInstanceEndsSilentlyBeforeReadingAnything) {
  fake.instance.another = true;
  InstallTidewatch();
  WithArguments("abc");
  EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::Exit);
  EXPECT_TRUE(fake.messages.shown.empty());
  EXPECT_TRUE(fake.programs.started.empty());
}

TEST_F(RunStartupTest, EmptyOrZeroOpensTheWindow) {
  InstallTidewatch();
  for (const char* arguments : {"", "   "}) {
    WithArguments(arguments);
    EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::OpenMainWindow) << arguments;
  }
  for (const char* arguments : {"0", " 0 ", "0.2", "-0"}) {
    WithArguments(arguments);
    EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::OpenMainWindowNormal) << arguments;
  }
  EXPECT_TRUE(fake.programs.started.empty());
}

TEST_F(RunStartupTest, NonZeroStartsOnlyTheMonitorHidden) {
  InstallTidewatch();
  for (const char* arguments : {"1", "2", "-1", "0.6"}) {
    WithArguments(arguments);
    EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::Exit) << arguments;
  }
  ASSERT_EQ(fake.programs.started.size(), 4u);
  EXPECT_EQ(fake.programs.started[0].first, "\"C:\\Program Files\\Kestrel\\Tidewatch.exe\"");
  EXPECT_EQ(fake.programs.started[0].second, platform::ShowCode::Hidden);
}

TEST_F(RunStartupTest, AMissingOrHiddenMonitorIsNotStarted) {
  WithArguments("1");
  EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::Exit);
  fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ", {false, true, false});
  EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::Exit);
  EXPECT_TRUE(fake.programs.started.empty());
  EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RunStartupTest, TextThatIsNoNumberIsNamedAndNothingIsTouched) {
  InstallTidewatch();
  WithArguments("/minimized");
  EXPECT_EQ(kestrel::RunStartup(fake.app), StartupAction::Exit);
  ASSERT_EQ(fake.messages.shown.size(), 1u);
  const auto& box = fake.messages.shown[0];
  EXPECT_EQ(box.caption, "Kestrel");
  EXPECT_EQ(box.icon, platform::MessageIcon::Information);
  EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
  EXPECT_NE(box.text.find("\"/minimized\""), std::string::npos);
  EXPECT_NE(box.text.find("no argument, or a number"), std::string::npos);
  EXPECT_TRUE(fake.programs.started.empty());
  EXPECT_TRUE(fake.registry.Calls().empty());
}

}  // namespace
