#pragma once

#include <cstdint>
#include <string>

#include "common/os_version.h"
#include "common/ping_settings.h"
#include "kestrel/connection_settings.h"
#include "platform/desktop_shell.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/process_environment.h"
#include "platform/program_starter.h"
#include "platform/random_source.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/single_instance.h"
#include "platform/sound.h"
#include "platform/system_restart.h"
#include "platform/version_query.h"

namespace kestrel {

inline constexpr const char* kProgramTitle = "Kestrel";

// The Windows services the tuning program uses.
struct KestrelPlatform {
  platform::VersionQuery& version;
  platform::SingleInstance& instance;
  platform::ProcessEnvironment& environment;
  platform::MessageBoxes& messages;
  platform::ProgramStarter& programs;
  platform::Registry& registry;
  platform::FileSystem& files;
  platform::SystemRestart& restart;
  platform::Sound& sound;
  platform::Shell& shell;
  platform::RandomSource& random;
  platform::FileDialogs& dialogs;
  // Starts the tray monitor and opens documents as the user, not elevated.
  platform::DesktopShell& desktop;
};

// The process-wide state of one run of the tuning program. main() makes one;
// tests make a fresh one each.
struct KestrelApp {
  explicit KestrelApp(KestrelPlatform services) : platform(services) {}

  KestrelPlatform platform;

  Presets presets = InitPresets();
  ConnectionSettings CurrentSettings;

  // Set once while the main window loads.
  std::string OSName;
  std::int16_t OSCode = 0;
  // The generation of the TCP/IP stack, which decides what each value means.
  common::WindowsEra OSEra = common::WindowsEra::Unknown;

  // Read from Ping.cfg while the main window loads and whenever the ping
  // configuration dialog opens.
  common::PingSettings PingSettings;

  std::string ProgramDirectory() { return platform.environment.ProgramDirectory(); }

  // What the ping settings and their dialog use of this program.
  common::PingContext MakePingContext() {
    return {PingSettings,
            platform.files,
            platform.messages,
            platform.shell,
            platform.sound,
            ProgramDirectory(),
            kProgramTitle,
            {},
            // A running tray monitor reads the file again from its next tick.
            [&desktop = platform.desktop] {
              desktop.PostToAllWindows(common::kPingSettingsSavedMessage);
            }};
  }
};

}  // namespace kestrel
