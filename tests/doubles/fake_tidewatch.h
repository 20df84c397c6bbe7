#pragma once

#include <functional>
#include <string>

#include "tests/doubles/fake_network.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/fake_timers.h"
#include "tests/doubles/manual_worker.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_registry.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/doubles/recording_tray.h"
#include "tidewatch/hidden_form.h"
#include "tidewatch/tidewatch_app.h"

namespace doubles {

// The view of the hidden form: counts what the model asks of it.
class FakeHiddenFormHost : public tidewatch::HiddenFormHost {
 public:
  int popups = 0;
  int dialogs = 0;
  int unloads = 0;
  void ShowPopupMenu() override { ++popups; }
  void ShowPingDialog() override { ++dialogs; }
  void FormUnloaded() override { ++unloads; }
};

// Every double of the tray monitor, a fresh application over them and its
// hidden form, whose timers tick on the fake clock. Not loaded yet.
struct FakeTidewatch {
  static constexpr platform::WindowHandle kWindow = 0x7FFF00040000ull;
  // The icons of images 1 to 5.
  static constexpr tidewatch::HiddenFormModel::Pictures kPictures = {0x1001, 0x1002, 0x1003,
                                                                     0x1004, 0x1005};

  FakeSingleInstance instance;
  FakeEnvironment environment;
  RecordingMessageBoxes messages;
  MemoryFileSystem files;
  CountingSound sound;
  RecordingShell shell;
  FakeNetwork network;
  RecordingTray tray;
  ManualWorker worker;
  FakeProgramWindows windows;
  MemoryRegistry registry;
  FakeClock clock;
  FakeTimers timers;
  FakeHiddenFormHost host;
  tidewatch::TidewatchApp app{
      {instance, environment, messages, files, sound, shell, network, network, tray, worker,
       windows,  registry,    clock}};
  tidewatch::HiddenFormModel form{app, timers, host};

  FakeTidewatch() {
    timers.onTick = [this](std::uint32_t id) { form.TimerTick(id); };
  }
  void Load() { form.Form_Load(kWindow, kPictures); }
  std::string ProgramFile(const char* relative) const {
    return environment.programDirectory + relative;
  }
  // The picture numbers (1 to 5) the tray was given by add and modify calls.
  std::vector<int> PicturesShown() const {
    std::vector<int> shown;
    for (const auto& call : tray.calls) {
      if (call.what != "add" && call.what != "modify") continue;
      if (!(call.record.flags & platform::tray::kFlagIcon)) continue;
      for (int n = 1; n <= 5; ++n) {
        if (kPictures[n - 1] == call.record.icon) shown.push_back(n);
      }
    }
    return shown;
  }
};

}  // namespace doubles
