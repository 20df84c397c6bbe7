#pragma once

#include <string>

#include "kestrel/kestrel_app.h"
#include "platform/file_system.h"
#include "platform/registry.h"

namespace kestrel {

enum class UndoResult {
  Undone,              // every recorded value is back; the record is removed
  NothingToUndo,       // no record, or one without values
  RecordDamaged,       // the record could not be read; nothing was changed
  RegistryNotWritten,  // at least one value could not be put back; the record is kept
};

// Puts every value of the record file back as it was before Kestrel first
// changed it, deleting those that did not exist. The latest note goes back
// first, so that a value reached under two names (a control set and its
// alias) ends with its oldest state. Writes through registry as it is,
// without recording.
UndoResult UndoChanges(platform::Registry& registry, platform::FileSystem& files,
                       const std::string& recordPath);

// "Undo All Changes by Kestrel": asks first, undoes, tells the user how that
// went and, after success, offers the restart.
void UndoAllChangesByKestrel(KestrelApp& app);

// The exit code of Kestrel.exe /undo: 0 when the registry holds the recorded
// values (or nothing was recorded), otherwise 1 for a value that could not be
// written and 2 for a damaged record.
int UndoExitCode(UndoResult result);

}  // namespace kestrel
