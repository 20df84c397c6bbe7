#include "kestrel/user_messages.h"

namespace kestrel {

platform::MessageAnswer Tell(KestrelApp& app, const std::string& text,
                             platform::MessageButtons buttons) {
  return app.platform.messages.Show(text, kProgramTitle, buttons,
                                    platform::MessageIcon::Information);
}

bool TellIfNotSaved(KestrelApp& app, SaveResult result) {
  switch (result) {
    case SaveResult::FileNotWritten:
      Tell(app, "The settings could not be saved to the file " + SettingsFilePath(app) +
                    ".\r\n\r\nNothing was changed. Make sure that the file can be written, then "
                    "apply the settings again.");
      return true;
    case SaveResult::RegistryNotWritten:
      Tell(app,
           "The settings could not be written to the registry.\r\n\r\n"
           "Kestrel must run as an administrator to change the settings of Windows. Start it "
           "as an administrator and apply the settings again.");
      return true;
    case SaveResult::Saved:
      break;
  }
  return false;
}

void TellNotStarted(KestrelApp& app, const std::string& commandLine) {
  Tell(app, "Windows could not start the command\r\n\r\n" + commandLine +
                "\r\n\r\nKestrel runs on; nothing was changed.");
}

}  // namespace kestrel
