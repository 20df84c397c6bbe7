#include "tests/e2e/driver/kestrel.h"

#include <cstdlib>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/paths.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/screenshot.h"

namespace e2e {
namespace {

constexpr const char* kAppDefaults = "HKCU\\Software\\Wine\\AppDefaults\\";

}  // namespace

std::string BuiltProgram(const char* variable) {
  const char* value = std::getenv(variable);
  if (!value || !*value) {
    throw Failure(std::string("environment variable ") + variable +
                  " is not set; CMake sets it for the tests it registers");
  }
  const std::string path = ToWindowsPath(value);
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    throw Failure(std::string(variable) + " names " + path + ", which does not exist");
  }
  return path;
}

void SetWindowsVersion(std::string_view program_file, std::string_view version) {
  const std::string key = kAppDefaults + std::string(program_file);
  if (version.empty()) {
    DeleteRegistryValue(key, "Version");
  } else {
    WriteRegistryValue(key, "Version", StringValue(version));
  }
}

void KestrelTest::SetUp() {
  dir_.emplace();
  dir_->Install(BuiltProgram("KESTREL_EXE"), kKestrelFile);
  WriteRegistryValue(kKestrelOptionsKey, kShowTipsAtStartup, StringValue("0"));
}

void KestrelTest::TearDown() {
  for (const App& app : apps_) app.Terminate();
  apps_.clear();
  // Programs the program under test started (the tray monitor) end too, so
  // that the next case in the same prefix starts from nothing.
  TerminateProcessesIn(Dir().Path());
  if (version_set_) SetWindowsVersion(kKestrelFile, {});
}

App& KestrelTest::StartKestrel(std::string_view arguments) {
  return Start(kKestrelFile, arguments);
}

App& KestrelTest::Start(std::string_view file, std::string_view arguments, int show_window) {
  return apps_.emplace_back(Process::Start(Dir().PathOf(file), arguments, show_window));
}

Window KestrelTest::WaitForMainWindow(const App& app, Millis timeout) const {
  return app.WaitForWindow(kestrel::ids::kMainWindowClass, kestrel::ids::StatusBar1, timeout);
}

void KestrelTest::SetKestrelVersion(std::string_view version) {
  SetWindowsVersion(kKestrelFile, version);
  version_set_ = true;
}

std::string KestrelTest::Screenshot(const Window& window, std::string_view tag) const {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test->test_suite_name()) + "." + test->name();
  if (!tag.empty()) name += "." + std::string(tag);
  return SaveScreenshot(window, name);
}

}  // namespace e2e
