// How Kestrel starts: one copy at a time, and its command line.
#include <gtest/gtest.h>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"

namespace {

using e2e::App;
using e2e::KestrelTest;
using e2e::MessageIcon;
using e2e::Window;
using kestrel::ids::kMainWindowClass;

class Startup : public KestrelTest {};

TEST_F(Startup, SecondCopyEndsAtOnceAndLeavesTheFirstAsItIs) {
  App& first = StartKestrel();
  const Window main = WaitForMainWindow(first);
  const RECT before = main.Rect();

  App& second = StartKestrel();
  EXPECT_EQ(second.WaitForExitWithoutWindow(), 0u);

  EXPECT_TRUE(first.Running());
  EXPECT_EQ(e2e::CountTopLevelWindows(kMainWindowClass), 1);
  EXPECT_TRUE(main.Visible());
  const RECT after = main.Rect();
  EXPECT_TRUE(EqualRect(&before, &after)) << "the first copy's window moved";
}

// Anything that is not a number is reported, and the program ends.
class NotANumber : public KestrelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NotANumber, IsReportedAndNoWindowOpens) {
  App& app = StartKestrel(GetParam());
  const e2e::MessageBoxWindow box = app.WaitForMessageBox(e2e::kStartTimeout);
  Screenshot(box, "box");
  EXPECT_EQ(box.Caption(), "Kestrel");
  EXPECT_NE(box.Message().find(GetParam()), std::string::npos) << box.Describe();
  EXPECT_EQ(box.Icon(), MessageIcon::kInformation);
  EXPECT_EQ(e2e::CountTopLevelWindows(kMainWindowClass, app.Id()), 0);

  box.AnswerAndWait(IDOK);
  app.WaitForExitWithoutWindow();
}

INSTANTIATE_TEST_SUITE_P(CommandLines, NotANumber, ::testing::Values("abc", "1 2", "- 1", "0x"));

// A number other than 0, rounded, only starts the tray monitor, which is
// not installed here: the program ends without a window.
class NonZeroNumber : public KestrelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NonZeroNumber, EndsAtOnceWithoutWindow) {
  App& app = StartKestrel(GetParam());
  EXPECT_EQ(app.WaitForExitWithoutWindow(e2e::kStartTimeout), 0u);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, NonZeroNumber,
                         ::testing::Values("1", "-1", "2", " 1 ", "0.6", "-0.6", "1e3"));

// No command line, or one that reads as 0, opens the main window in the
// normal state.
class OpensMainWindow : public KestrelTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(OpensMainWindow, InTheNormalState) {
  App& app = StartKestrel(GetParam());
  const Window main = WaitForMainWindow(app);
  EXPECT_EQ(main.Text(), "Kestrel");
  EXPECT_FALSE(IsIconic(main.Handle()));
  EXPECT_FALSE(IsZoomed(main.Handle()));
  EXPECT_FALSE(app.FindMessageBox().has_value()) << app.DescribeState();
}

INSTANTIATE_TEST_SUITE_P(CommandLines, OpensMainWindow,
                         ::testing::Values("", "0", " 0 ", "0.4", "-0", "00"));

}  // namespace
