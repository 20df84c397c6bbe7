#include "kestrel/restore_backup.h"

#include <optional>

#include "common/files.h"
#include "kestrel/settings_file.h"
#include "kestrel/user_messages.h"

namespace kestrel {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

constexpr const char* kRegeditUnicodeHeader = "Windows Registry Editor Version 5.00";
constexpr const char* kRegeditAnsiHeader = "REGEDIT4";

std::string Utf16WithBom(const std::string& ascii) {
  std::string bytes = "\xFF\xFE";
  for (char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

std::optional<std::uint64_t> LastWrite(KestrelApp& app, const std::string& path) {
  const auto attributes = app.platform.files.GetAttributes(path);
  if (!attributes) return std::nullopt;
  return attributes->lastWrite;
}

}  // namespace

void RestoreWindowsDefaults(KestrelApp& app, SettingsPanelModel& panel) {
  const MessageAnswer answer = app.platform.messages.Show(
      "This Program will restore all Windows settings.\r\nWould you like to Continue?",
      "Restore Default Settings", MessageButtons::YesNoDefaultNo, MessageIcon::Information);
  if (answer != MessageAnswer::Yes) return;

  // A Restore that does not complete leaves the window, the record and the
  // file as they were, so that the next Apply does not write the defaults
  // the user never saw succeed.
  const SettingsPanelModel::Snapshot before = panel.Take();
  const std::string file = SettingsFilePath(app);
  const bool hadFile = common::FileExists(app.platform.files, file);
  const auto oldFile = hadFile ? app.platform.files.ReadAll(file) : std::nullopt;
  panel.ShowRestoredDefaults();
  const SaveResult result = SaveAndApplySettings(app, true);
  if (TellIfNotSaved(app, result)) {
    panel.PutBack(before);
    if (result == SaveResult::RegistryNotWritten || result == SaveResult::UndoRecordNotSaved) {
      if (oldFile) {
        common::ReplaceFileContents(app.platform.files, file, *oldFile);
      } else if (!hadFile) {
        app.platform.files.Remove(file);
      }
    }
    return;
  }
  Tell(app, "Windows default settings were successfully restored.");
}

std::string AskBackupFileName(KestrelApp& app, platform::WindowHandle owner) {
  platform::SaveFileRequest request;
  request.owner = owner;
  request.title = "Registry Backup";
  request.types = {{"Text Document (*.txt)", "*.txt"}, {"Registration Entries (*.reg)", "*.reg"}};
  request.initialDirectory = app.ProgramDirectory();
  request.defaultExtension = "txt";
  return app.platform.dialogs.AskSaveFileName(request);
}

std::string BackupCommandLine(const std::string& path) {
  // Quoted: folder names with blanks are common.
  return "regedit /E \"" + path + "\"";
}

bool IsRegistryExport(const std::string& start) {
  const std::string unicode = Utf16WithBom(kRegeditUnicodeHeader);
  const std::string ansi = kRegeditAnsiHeader;
  return start.compare(0, unicode.size(), unicode) == 0 || start.compare(0, ansi.size(), ansi) == 0;
}

void BackupRegistry(KestrelApp& app, BackupWindow& window) {
  const std::string path = AskBackupFileName(app, window.MainWindowHandle());
  window.PumpMessages();
  if (path.empty()) return;

  window.PumpMessages();
  // A file the user chose to replace must really be written anew: the
  // editor leaves an old one as it was when it cannot write.
  const auto before = LastWrite(app, path);
  const std::string command = BackupCommandLine(path);
  window.SetBusy(true);
  const unsigned long started = app.platform.programs.StartAndWait(
      command, platform::ShowCode::Minimized, [&] { window.PumpMessages(); });
  window.SetBusy(false);
  window.PumpMessages();
  if (started != 0) {
    TellNotStarted(app, command);
    return;
  }

  const auto after = LastWrite(app, path);
  const auto start = common::FileExists(app.platform.files, path)
                         ? app.platform.files.ReadStart(path, 128)
                         : std::nullopt;
  if (start && IsRegistryExport(*start) && after != before) {
    Tell(app, "Registry Backup has been taken Successfully.");
  } else {
    Tell(app,
         "The Registry Backup could not be taken: the registry editor did not write the "
         "file\r\n\r\n" +
             path +
             "\r\n\r\nMake sure that the folder can be written and that no other program uses "
             "the file, then try again.");
  }
}

}  // namespace kestrel
