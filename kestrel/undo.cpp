#include "kestrel/undo.h"

#include "common/files.h"
#include "kestrel/undo_record.h"
#include "kestrel/user_messages.h"

namespace kestrel {
namespace {

namespace reg = platform::reg;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

long PutBack(platform::Registry& registry, const PreviousValue& v) {
  platform::ScopedRegistryKey key(registry);
  if (v.existed) {
    const long created = key.Create(v.root, v.key);
    if (created != reg::kSuccess) return created;
    return registry.SetValue(key.get(), v.name, v.type, v.data);
  }
  {
    // A key that is gone holds no value to delete, and need not come back.
    platform::ScopedRegistryKey existing(registry);
    const long opened = existing.Open(v.root, v.key);
    if (opened == reg::kFileNotFound) return reg::kSuccess;
  }
  const long created = key.Create(v.root, v.key);
  if (created != reg::kSuccess) return created;
  const long deleted = registry.DeleteValue(key.get(), v.name);
  return deleted == reg::kFileNotFound ? reg::kSuccess : deleted;
}

}  // namespace

UndoResult UndoChanges(platform::Registry& registry, platform::FileSystem& files,
                       const std::string& recordPath) {
  const LoadedUndoRecord loaded = LoadUndoRecord(files, recordPath);
  switch (loaded.status) {
    case LoadedUndoRecord::Status::Missing:
      return UndoResult::NothingToUndo;
    case LoadedUndoRecord::Status::Damaged:
      return UndoResult::RecordDamaged;
    case LoadedUndoRecord::Status::Read:
      break;
  }
  const auto& values = loaded.record.values;
  if (values.empty()) return UndoResult::NothingToUndo;

  bool allBack = true;
  for (auto v = values.rbegin(); v != values.rend(); ++v) {
    // One value that cannot be written does not keep the others from coming back.
    if (PutBack(registry, *v) != reg::kSuccess) allBack = false;
  }
  if (!allBack) return UndoResult::RegistryNotWritten;
  // A record that stays behind does no harm: it holds the values that are
  // back now, and a later undo would write them once more.
  files.Remove(recordPath);
  return UndoResult::Undone;
}

void UndoAllChangesByKestrel(KestrelApp& app) {
  const MessageAnswer answer = app.platform.messages.Show(
      "This will put back every registry value that Kestrel has changed, as it was before "
      "Kestrel first changed it, and delete the values that did not exist then.\r\n"
      "Would you like to Continue?",
      "Undo All Changes by Kestrel", MessageButtons::YesNoDefaultNo, MessageIcon::Information);
  if (answer != MessageAnswer::Yes) return;

  const std::string path = UndoRecordPath(app.ProgramDirectory());
  switch (UndoChanges(app.platform.registry, app.platform.files, path)) {
    case UndoResult::NothingToUndo:
      Tell(app,
           "There is nothing to undo: Kestrel has changed no registry value since it was "
           "installed or last undone.");
      return;
    case UndoResult::RecordDamaged:
      Tell(app, "Nothing was undone: Kestrel's undo record, the file\r\n\r\n" + path +
                    "\r\n\r\nis damaged and could not be read. Kestrel keeps the file as it is; "
                    "it lists the earlier values, which can also be put back by hand.");
      return;
    case UndoResult::RegistryNotWritten:
      Tell(app,
           "Not every change could be undone: a registry value could not be written.\r\n\r\n"
           "Kestrel must run as an administrator to change the settings of Windows. Start it "
           "as an administrator and undo the changes again; the undo record is kept until "
           "then.");
      return;
    case UndoResult::Undone:
      break;
  }
  Tell(app,
       "All changes by Kestrel were undone.\r\nThe registry holds your earlier settings "
       "again.");
  OfferRestart(app,
               "Windows uses your earlier settings again after a restart.\r\n\r\n"
               "Would you like to restart your computer now?",
               "Keep in mind that you must restart your computer\r\nbefore your earlier "
               "settings become effective.");
}

int UndoExitCode(UndoResult result) {
  switch (result) {
    case UndoResult::Undone:
    case UndoResult::NothingToUndo:
      return 0;
    case UndoResult::RegistryNotWritten:
      return 1;
    case UndoResult::RecordDamaged:
      return 2;
  }
  return 2;
}

}  // namespace kestrel
