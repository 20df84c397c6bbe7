#include "kestrel/user_messages.h"

#include "kestrel/restart.h"
#include "kestrel/undo_record.h"

namespace kestrel {

platform::MessageAnswer Tell(KestrelApp& app, const std::string& text,
                             platform::MessageButtons buttons) {
  return app.platform.messages.Show(text, kProgramTitle, buttons,
                                    platform::MessageIcon::Information);
}

void OfferRestart(KestrelApp& app, const std::string& question, const std::string& reminder) {
  if (Tell(app, question, platform::MessageButtons::YesNo) == platform::MessageAnswer::Yes) {
    RestartWindows(app.platform.restart);
  } else {
    Tell(app, reminder);
  }
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
    case SaveResult::UndoRecordDamaged:
      Tell(app, "Nothing was changed: Kestrel's undo record, the file\r\n\r\n" +
                    UndoRecordPath(app.ProgramDirectory()) +
                    "\r\n\r\nis damaged and could not be read. It must hold the values that "
                    "your Windows had before Kestrel changed them, so Kestrel does not replace "
                    "it. Repair the file, or delete it (Undo then no longer knows the earlier "
                    "values), and apply the settings again.");
      return true;
    case SaveResult::UndoRecordNotSaved:
      Tell(app,
           "Some settings were not written: Kestrel could not save its undo record to the "
           "file " +
               UndoRecordPath(app.ProgramDirectory()) +
               ".\r\n\r\nKestrel changes no registry value before it has noted the value's "
               "earlier state there. Make sure that the file can be written, then apply the "
               "settings again.");
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
