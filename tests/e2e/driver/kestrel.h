#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "tests/e2e/driver/app.h"
#include "tests/e2e/driver/program_directory.h"

namespace e2e {

// Starting a program in a fresh prefix takes longer than anything later.
inline constexpr Millis kStartTimeout{10000};

inline constexpr const char* kKestrelFile = "Kestrel.exe";

// Where Kestrel keeps, per user, whether the tip window opens at start-up.
inline constexpr const char* kKestrelOptionsKey = "HKCU\\Software\\Kestrel\\Options";
inline constexpr const char* kShowTipsAtStartup = "Show Tips at Startup";

// A program the build made, named by an environment variable that CMake
// sets for the test (KESTREL_EXE), in Windows form; throws a Failure when
// the variable is unset or the file is missing.
std::string BuiltProgram(const char* variable);

// The Windows version Wine reports to the program file (win98, winxp,
// win10, ...), kept under HKCU\Software\Wine\AppDefaults; an empty version
// removes the setting. Takes effect for processes started afterwards.
void SetWindowsVersion(std::string_view program_file, std::string_view version);

// The base of the scenarios: a fresh program directory with Kestrel.exe in
// it; programs started through it end with the test, and the Windows
// version set through it is taken away again. The tip window is switched
// off, so that Kestrel opens its main window at once; the scenarios of the
// tip window switch it on again.
class KestrelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ProgramDirectory& Dir() { return *dir_; }

  // Starts the installed Kestrel.exe with the command line after its name.
  App& StartKestrel(std::string_view arguments = {});
  // Starts another program of the program directory.
  App& Start(std::string_view file, std::string_view arguments = {},
             int show_window = SW_SHOWNORMAL);

  // The main window, visible and with its status bar.
  Window WaitForMainWindow(const App& app, Millis timeout = kStartTimeout) const;

  void SetKestrelVersion(std::string_view version);

  // Saves a screenshot named after the test and the tag.
  std::string Screenshot(const Window& window, std::string_view tag) const;

 private:
  std::optional<ProgramDirectory> dir_;
  std::deque<App> apps_;  // a deque keeps references valid as it grows
  bool version_set_ = false;
};

}  // namespace e2e
