// The driver against windows whose contents the test knows: this program
// started again in one of its target modes.
#include <gtest/gtest.h>

#include <deque>

#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/program_directory.h"
#include "tests/e2e/driver/screenshot.h"
#include "tests/e2e/driver_tests/target_program.h"

namespace {

using e2e::App;
using e2e::Failure;
using e2e::MessageIcon;
using e2e::Millis;
using e2e::Window;

// The failure's message, or "" when there was none.
template <typename Action>
std::string FailureOf(Action&& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.what();
  }
  return "";
}

class Target : public ::testing::Test {
 protected:
  App& Serve(const char* mode) {
    return apps_.emplace_back(
        e2e::Process::Start(target::SelfPath(), std::string(target::kServeFlag) + " " + mode));
  }
  Window MainWindow(const char* mode = "window") {
    return Serve(mode).WaitForWindow(target::kWindowClass, target::kStatus);
  }
  void TearDown() override {
    for (const App& app : apps_) app.Terminate();
  }

  std::deque<App> apps_;
};

TEST_F(Target, StatusBarPanels) {
  const Window status = MainWindow().Child(target::kStatus);
  ASSERT_EQ(status.StatusPanelCount(), 3);
  EXPECT_EQ(status.StatusText(0), "one");
  EXPECT_EQ(status.StatusText(1), "");
  EXPECT_EQ(status.StatusText(2), target::kLongPanelText);
  EXPECT_NE(FailureOf([&] { status.StatusText(3); }).find("has no panel 3 (it has 3)"),
            std::string::npos);
  EXPECT_NE(FailureOf([&] { status.StatusText(-1); }), "");
}

TEST_F(Target, ComboItemsSelectionAndNotification) {
  const Window main = MainWindow();
  const Window combo = main.Child(target::kCombo);
  EXPECT_EQ(combo.ComboItems(), (std::vector<std::string>{"Alpha", "Beta \xE9t\xE9"}));
  EXPECT_EQ(combo.ComboSelection(), CB_ERR);
  EXPECT_EQ(combo.ComboSelectedText(), "");
  EXPECT_TRUE(main.Child(target::kEmptyCombo).ComboItems().empty());
  EXPECT_NE(FailureOf([&] { combo.ComboItem(2); }).find("has no item 2 (it has 2)"),
            std::string::npos);

  combo.ComboSelect("Beta \xE9t\xE9");
  EXPECT_EQ(combo.ComboSelectedText(), "Beta \xE9t\xE9");
  const Window status = main.Child(target::kStatus);
  EXPECT_EQ(e2e::Eventually([&] { return status.StatusText(1); }, std::string("selected 1")),
            "selected 1");
  combo.ComboSelect(0);
  EXPECT_EQ(e2e::Eventually([&] { return status.StatusText(1); }, std::string("selected 0")),
            "selected 0");
  EXPECT_NE(FailureOf([&] { combo.ComboSelect("Gamma"); }).find("\"Alpha\", \"Beta"),
            std::string::npos);
  EXPECT_NE(FailureOf([&] { combo.ComboSelect(5); }), "");
}

TEST_F(Target, EditsButtonsAndNestedControls) {
  const Window main = MainWindow();
  const Window edit = main.Child(target::kEdit);
  EXPECT_EQ(edit.Text(), "12");
  edit.Type("3x");
  EXPECT_EQ(edit.Text(), "123x");
  edit.SetText("");
  EXPECT_EQ(edit.Text(), "");
  edit.Type("");
  EXPECT_EQ(edit.Text(), "");

  const Window check = main.Child(target::kCheck);
  EXPECT_TRUE(check.Checked());
  check.Click();
  EXPECT_TRUE(e2e::PollUntil([&] { return !check.Checked(); }));

  EXPECT_FALSE(main.Child(target::kDisabled).Enabled());
  EXPECT_NE(FailureOf([&] { main.Child(target::kDisabled).Click(); }).find("disabled"),
            std::string::npos);
  // Found inside its frame.
  EXPECT_EQ(main.Child(target::kNested).Text(), "Inner");
  EXPECT_NE(FailureOf([&] { main.Child(999); }).find("no control with id 999"), std::string::npos);
}

TEST_F(Target, MessageBoxesAreReadAndAnswered) {
  struct Case {
    UINT style;
    MessageIcon icon;
    std::vector<int> buttons;
    int answer;
  };
  const Case cases[] = {
      {MB_OK | MB_ICONINFORMATION, MessageIcon::kInformation, {IDOK}, IDOK},
      {MB_YESNO | MB_ICONWARNING, MessageIcon::kWarning, {IDYES, IDNO}, IDNO},
      {MB_OKCANCEL | MB_ICONERROR, MessageIcon::kError, {IDOK, IDCANCEL}, IDCANCEL},
      {MB_YESNOCANCEL | MB_ICONQUESTION, MessageIcon::kQuestion, {IDYES, IDNO, IDCANCEL}, IDYES},
      {MB_OK, MessageIcon::kNone, {IDOK}, IDOK},
  };
  App& app = Serve("window");
  const Window main = app.WaitForWindow(target::kWindowClass, target::kStatus);
  const Window status = main.Child(target::kStatus);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    main.Post(target::kSetBoxStyle, c.style);
    main.Child(target::kShowBox).Click();
    const e2e::MessageBoxWindow box = app.WaitForMessageBox();
    EXPECT_EQ(box.Caption(), "Target");
    EXPECT_EQ(box.Message(), "Are the settings right?");
    EXPECT_EQ(box.Icon(), c.icon);
    EXPECT_EQ(box.Buttons(), c.buttons);
    if (c.buttons.size() < 3) {
      EXPECT_NE(FailureOf([&] { box.Answer(IDRETRY); }).find("no button with id 4"),
                std::string::npos);
    }
    box.AnswerAndWait(c.answer);
    const std::string answered = "answer " + std::to_string(c.answer);
    EXPECT_EQ(e2e::Eventually([&] { return status.StatusText(0); }, answered), answered);
  }
}

TEST_F(Target, WaitsEndEarlyWhenTheProgramEnds) {
  App& app = Serve("exit3");
  const ULONGLONG started = GetTickCount64();
  const std::string failure =
      FailureOf([&] { app.WaitForWindow(target::kWindowClass, 0, Millis(8000)); });
  EXPECT_NE(failure.find("ended with exit code 3"), std::string::npos) << failure;
  EXPECT_LT(GetTickCount64() - started, 4000u);
  EXPECT_NE(FailureOf([&] { app.WaitForMessageBox(Millis(8000)); }).find("exit code 3"),
            std::string::npos);
  EXPECT_EQ(app.WaitForExit(), 3u);
}

TEST_F(Target, WaitsTimeOutWithWhatWasMissing) {
  App& app = Serve("window");
  const Window main = app.WaitForWindow(target::kWindowClass, target::kStatus);
  const ULONGLONG started = GetTickCount64();
  std::string failure = FailureOf([&] { app.WaitForMessageBox(Millis(300)); });
  EXPECT_NE(failure.find("timed out after 300 ms waiting for a message box"), std::string::npos)
      << failure;
  EXPECT_NE(failure.find("runs and shows E2eDriverTarget"), std::string::npos) << failure;
  failure = FailureOf([&] { app.WaitForExit(Millis(300)); });
  EXPECT_NE(failure.find("to end"), std::string::npos) << failure;
  failure = FailureOf([&] { main.WaitForChild(4242, Millis(300)); });
  EXPECT_NE(failure.find("id 4242"), std::string::npos) << failure;
  EXPECT_LT(GetTickCount64() - started, 3000u);
}

TEST_F(Target, WaitForWindowWaitsForTheControl) {
  App& app = Serve("late");
  // The window shows at once; the status bar comes 300 ms later.
  const Window shown = app.WaitForWindow(target::kWindowClass);
  const Window complete = app.WaitForWindow(target::kWindowClass, target::kStatus);
  EXPECT_EQ(shown, complete);
  EXPECT_TRUE(complete.FindChild(target::kStatus).has_value());
}

TEST_F(Target, AWindowShownBeforeTheEndIsCaught) {
  App& app = Serve("flash");
  const std::string failure = FailureOf([&] { app.WaitForExitWithoutWindow(); });
  EXPECT_NE(failure.find("showed a window where it should show none: E2eDriverTarget"),
            std::string::npos)
      << failure;
  EXPECT_EQ(app.WaitForExit(), 0u);
  EXPECT_EQ(Serve("exit3").WaitForExitWithoutWindow(), 3u);
}

TEST_F(Target, ProgramsOfTheDirectoryAreEnded) {
  const e2e::ProgramDirectory dir("C:\\e2e-driver-test\\Programs");
  const std::string copy = dir.Install(target::SelfPath(), "Copy.exe");
  const App& inside =
      apps_.emplace_back(e2e::Process::Start(copy, std::string(target::kServeFlag) + " window"));
  const App& outside = Serve("window");
  inside.WaitForWindow(target::kWindowClass);
  outside.WaitForWindow(target::kWindowClass);
  // A directory whose name only begins like the program's does not count.
  EXPECT_EQ(e2e::TerminateProcessesIn("C:\\e2e-driver-test\\Prog"), 0);
  EXPECT_EQ(e2e::TerminateProcessesIn("c:\\E2E-DRIVER-TEST\\programs"), 1);
  EXPECT_FALSE(inside.Running());
  EXPECT_TRUE(outside.Running());
}

TEST_F(Target, ScreenshotShowsThePaintedWindow) {
  const Window main = MainWindow();
  const RECT rect = main.Rect();
  const e2e::Image image = e2e::CaptureWindow(main);
  ASSERT_EQ(image.width, rect.right - rect.left);
  ASSERT_EQ(image.height, rect.bottom - rect.top);
  POINT square{target::kSquareLeft + target::kSquareSize / 2,
               target::kSquareTop + target::kSquareSize / 2};
  ClientToScreen(main.Handle(), &square);
  EXPECT_EQ(image.At(square.x - rect.left, square.y - rect.top), 0xFF0000u);

  const std::string path = e2e::SaveScreenshot(main, "driver target/window");
  EXPECT_TRUE(path.ends_with("\\driver_target_window.png")) << path;
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  unsigned char head[24] = {};
  DWORD got = 0;
  ReadFile(file, head, sizeof head, &got, nullptr);
  CloseHandle(file);
  ASSERT_EQ(got, sizeof head);
  EXPECT_EQ(head[1], 'P');
  const auto be32 = [&](int at) {
    return static_cast<LONG>(head[at] << 24 | head[at + 1] << 16 | head[at + 2] << 8 |
                             head[at + 3]);
  };
  EXPECT_EQ(be32(16), rect.right - rect.left);
  EXPECT_EQ(be32(20), rect.bottom - rect.top);
}

}  // namespace
