#pragma once

#include <functional>
#include <string>

#include "common/ping.h"
#include "common/ping_service.h"
#include "common/ping_settings.h"
#include "common/systray.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/icmp_echo.h"
#include "platform/message_box.h"
#include "platform/process_environment.h"
#include "platform/registry.h"
#include "platform/program_windows.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/sockets.h"
#include "platform/sound.h"
#include "platform/tray.h"
#include "platform/worker.h"

namespace tidewatch {

inline constexpr const char* kProgramTitle = "Tidewatch";

// The Windows services the tray monitor uses.
struct TidewatchPlatform {
  platform::SingleInstance& instance;
  platform::ProcessEnvironment& environment;
  platform::MessageBoxes& messages;
  platform::FileSystem& files;
  platform::Sound& sound;
  platform::Shell& shell;
  platform::SocketLibrary& sockets;
  platform::IcmpEcho& icmp;
  platform::Tray& tray;
  platform::Worker& worker;
  platform::ProgramWindows& windows;
  platform::Registry& registry;
  platform::Clock& clock;
};

// The process-wide state of one run of the tray monitor. WinMain makes one;
// tests make a fresh one each.
struct TidewatchApp {
  explicit TidewatchApp(TidewatchPlatform services)
      : platform(services),
        pingService(services.worker, services.clock, services.sockets, services.icmp,
                    services.messages, kProgramTitle),
        pingContext{PingSettings,
                    services.files,
                    services.messages,
                    services.shell,
                    services.sound,
                    services.environment.ProgramDirectory(),
                    kProgramTitle,
                    // Copies of the context (the dialog keeps one) reach the
                    // hidden form through this one hook, whenever it is set.
                    [this] {
                      if (pingSettingsLoaded) pingSettingsLoaded();
                    },
                    {}},
        systray(services.tray) {}
  TidewatchApp(const TidewatchApp&) = delete;
  TidewatchApp& operator=(const TidewatchApp&) = delete;

  TidewatchPlatform platform;

  // Read from Ping.cfg when the hidden form loads and whenever the ping
  // configuration dialog opens.
  common::PingSettings PingSettings;
  // The timers' pings and Ping Now, which wait on the network off the
  // window's thread.
  common::PingService pingService;
  common::PingContext pingContext;
  // Runs after every load of the ping settings; the hidden form restarts
  // its keep-alive timer here.
  std::function<void()> pingSettingsLoaded;

  // The one notification-area icon of the program.
  common::SysTray systray;

  const std::string& ProgramDirectory() const { return pingContext.programDirectory; }
};

}  // namespace tidewatch
