#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "common/ping_hosts.h"
#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace common {

// The keep-alive ping's settings, one set per program. Ping.cfg in the program
// directory is the only link between the two programs' sets.
struct PingSettings {
  bool PingAutomatic = true;               // the built-in host, every 5 minutes
  std::string PingHost = DefaultPingHost;  // dotted address or host name, as typed
  std::string PingInterval = "5";          // whole minutes, 1 to 60, in decimal digits
  bool PingSound = false;                  // play Ping.wav after "Ping Now"

  bool operator==(const PingSettings&) const = default;
};

// The settings without a usable file; the sound setting is not part of them
// and stays as it was.
PingSettings DefaultPingSettings(bool pingSound);

// Ping.cfg as written: four lines "Key,value", each ending with CRLF.
std::string FormatPingFile(const PingSettings& settings);

// Reads Ping.cfg by the order of its fields (the keys are skipped, never
// compared); lines after the fourth are ignored. Nothing when the text is
// short, a Boolean is not "#TRUE#" or "#FALSE#", or the interval is not a
// whole number. An interval outside 1 to 60 is read; the dialog shows no
// interval for it.
std::optional<PingSettings> ParsePingFile(std::string_view text);

// The position of the interval in the dialog's list (minutes less one), or -1
// when the text is not a whole number from 1 to 60.
int IntervalPosition(std::string_view interval);

std::string PingFilePath(const std::string& programDirectory);

// What the ping settings, their dialog and "Ping Now" need of the program that
// carries them.
struct PingContext {
  PingSettings& settings;
  platform::FileSystem& files;
  platform::MessageBoxes& messages;
  platform::Shell& shell;
  platform::Sound& sound;
  std::string programDirectory;
  std::string programTitle;  // the caption of the messages
  // Runs after every load of the settings, whatever its outcome: at the
  // program's start and at each opening of the dialog. The tray monitor
  // restarts its keep-alive timer here.
  std::function<void()> afterLoad;
  // Runs after the dialog has saved the settings to Ping.cfg. The tuning
  // program tells the running tray monitor here.
  std::function<void()> afterSave;
};

// The message, registered under this name, that the tuning program posts to
// every top-level window after it has saved Ping.cfg, so that a running tray
// monitor reads the file again.
inline constexpr const char* kPingSettingsSavedMessage = "Kestrel.PingSettingsSaved";

// Fills the settings from Ping.cfg, or with the defaults when the file is
// missing or cannot be read (the sound setting then keeps its value), then
// runs afterLoad. Says nothing.
void LoadPingSettings(const PingContext& context);

// Replaces Ping.cfg with the settings, atomically: the old file stays whole
// when the new one cannot be written. Where the folder refuses new files but
// the file itself may be written, it is rewritten in place. False on failure.
bool SavePingSettings(const PingContext& context);

}  // namespace common
