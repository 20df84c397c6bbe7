#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "kestrel/kestrel_app.h"
#include "platform/clock.h"
#include "platform/program_windows.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_registry.h"
#include "tests/doubles/recording_message_boxes.h"

namespace doubles {

class FixedVersion : public platform::VersionQuery {
 public:
  platform::OsVersionInfo info{2, 5, 1, 2600};
  platform::OsVersionInfo QueryVersion() override { return info; }
};

class FakeSingleInstance : public platform::SingleInstance {
 public:
  bool another = false;
  bool AnotherInstanceRunning() override { return another; }
};

class FakeEnvironment : public platform::ProcessEnvironment {
 public:
  std::string commandLine = "\"C:\\Program Files\\Kestrel\\Kestrel.exe\"";
  std::string programDirectory = "C:\\Program Files\\Kestrel";
  std::string CommandLine() override { return commandLine; }
  std::string applicationData = "C:\\Users\\Ann\\AppData\\Roaming";
  std::string ProgramDirectory() override { return programDirectory; }
  std::string ApplicationDataFolder() override { return applicationData; }
};

// Records every start. A start that waits runs whileRunning (what the
// program does, such as writing a file) and calls the caller's waiting step
// once, as a message arriving meanwhile would.
class RecordingProgramStarter : public platform::ProgramStarter {
 public:
  std::vector<std::pair<std::string, platform::ShowCode>> started;
  std::vector<std::string> waitedFor;  // the command lines started with StartAndWait
  unsigned long result = 0;
  std::function<void()> whileRunning;

  unsigned long Start(const std::string& commandLine, platform::ShowCode show) override {
    started.emplace_back(commandLine, show);
    return result;
  }
  unsigned long StartAndWait(const std::string& commandLine, platform::ShowCode show,
                             const std::function<void()>& whileWaiting) override {
    started.emplace_back(commandLine, show);
    waitedFor.push_back(commandLine);
    if (result != 0) return result;
    if (whileRunning) whileRunning();
    whileWaiting();
    return 0;
  }
};

// Hands out the draws of a script, then 0.
class ScriptedRandom : public platform::RandomSource {
 public:
  std::deque<double> draws;
  int seeds = 0;
  void SeedFromClock() override { ++seeds; }
  double Next() override {
    if (draws.empty()) return 0;
    const double draw = draws.front();
    draws.pop_front();
    return draw;
  }
};

// Records each request and answers with a scripted path (empty: cancelled).
class ScriptedFileDialogs : public platform::FileDialogs {
 public:
  std::vector<platform::SaveFileRequest> asked;
  std::string answer;
  std::string AskSaveFileName(const platform::SaveFileRequest& request) override {
    asked.push_back(request);
    return answer;
  }
};

// Records the restart steps in order.
class RecordingRestart : public platform::SystemRestart {
 public:
  std::vector<std::string> steps;
  bool privilegeResult = true;
  int restartResult = 1;
  bool EnableShutdownPrivilege() override {
    steps.push_back("privilege");
    return privilegeResult;
  }
  int EndSession(std::uint32_t flags, std::uint32_t reason) override {
    steps.push_back("restart " + std::to_string(flags) + " " + std::to_string(reason));
    return restartResult;
  }
};

class RecordingShell : public platform::Shell {
 public:
  struct Opened {
    platform::WindowHandle owner;
    std::string document;
    platform::ShowCode show;
  };
  std::vector<Opened> opened;
  std::intptr_t result = 42;
  std::intptr_t Open(platform::WindowHandle owner, const std::string& document,
                     platform::ShowCode show) override {
    opened.push_back({owner, document, show});
    return result;
  }
};

// The desktop as the tests arrange it: not elevated unless told, with a shell
// that takes every open while it runs. Records the opens and the posts.
class FakeDesktopShell : public platform::DesktopShell {
 public:
  bool elevated = false;
  bool shellRuns = true;
  std::vector<std::pair<std::string, platform::ShowCode>> opened;
  std::vector<std::string> posted;
  bool RunsElevated() override { return elevated; }
  bool OpenAsDesktop(const std::string& file, const std::string&, platform::ShowCode show) override {
    if (!shellRuns) return false;
    opened.emplace_back(file, show);
    return true;
  }
  void PostToAllWindows(const std::string& messageName) override { posted.push_back(messageName); }
};

// A clock the test sets: Advance moves both the wall clock and the count.
class FakeClock : public platform::Clock {
 public:
  platform::LocalTime now{2026, 12, 8, 14, 0, 0};
  std::uint64_t milliseconds = 1000000;
  platform::LocalTime Now() override { return now; }
  std::uint64_t Milliseconds() override { return milliseconds; }
  void Advance(std::uint64_t ms) {
    milliseconds += ms;
    const std::uint64_t seconds = static_cast<std::uint64_t>(now.hour) * 3600 + now.minute * 60 +
                                  now.second + ms / 1000;
    now.hour = static_cast<int>(seconds / 3600 % 24);
    now.minute = static_cast<int>(seconds / 60 % 60);
    now.second = static_cast<int>(seconds % 60);
  }
};

// Windows that exist by class; records what was brought to the front.
class FakeProgramWindows : public platform::ProgramWindows {
 public:
  std::map<std::string, platform::WindowHandle> existing;
  std::vector<platform::WindowHandle> broughtToFront;
  platform::WindowHandle Find(const std::string& windowClass) override {
    const auto found = existing.find(windowClass);
    return found == existing.end() ? 0 : found->second;
  }
  void BringToFront(platform::WindowHandle window) override { broughtToFront.push_back(window); }
};

class CountingSound : public platform::Sound {
 public:
  int beeps = 0;
  std::vector<std::string> played;
  void Beep() override { ++beeps; }
  void PlayFile(const std::string& path) override { played.push_back(path); }
};

// The ping settings of a program over doubles, in the program directory
// C:\Kestrel; afterLoad counts the loads.
struct FakePing {
  MemoryFileSystem files;
  RecordingMessageBoxes messages;
  RecordingShell shell;
  CountingSound sound;
  common::PingSettings settings;
  int loads = 0;
  common::PingContext context{settings, files,         messages,          shell,
                              sound,    "C:\\Kestrel", "Kestrel", [this] { ++loads; }, {}};
  const std::string path = "C:\\Kestrel\\Ping.cfg";
};

// Every double of the tuning program, and a fresh application over them.
struct FakeKestrel {
  FixedVersion version;
  FakeSingleInstance instance;
  FakeEnvironment environment;
  RecordingMessageBoxes messages;
  RecordingProgramStarter programs;
  MemoryRegistry registry;
  MemoryFileSystem files;
  RecordingRestart restart;
  CountingSound sound;
  RecordingShell shell;
  ScriptedRandom random;
  ScriptedFileDialogs dialogs;
  FakeDesktopShell desktop;
  kestrel::KestrelApp app{{version, instance, environment, messages, programs, registry, files,
                           restart, sound, shell, random, dialogs, desktop}};

  std::string ProgramFile(const char* relative) const {
    return environment.programDirectory + relative;
  }
};

}  // namespace doubles
