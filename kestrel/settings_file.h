#pragma once

#include <optional>
#include <string>

#include "kestrel/connection_settings.h"
#include "kestrel/kestrel_app.h"

namespace kestrel {

// Kestrel.cfg as written: one line per group, each ending with CRLF; only the
// connection type and the mode for the automatic modes, every field for Manual.
std::string FormatSettingsFile(const ConnectionSettings& settings);

// Reads Kestrel.cfg. Fields end at a comma or a line end; the key that begins
// each line is skipped without being compared, so the lines must come in the
// written order. The automatic modes read only the two first lines and keep
// every other field of previous. Nothing when the text cannot be read: a
// field that is not what its place needs, a number too large for its field, a
// text that ends too early, or a type, mode or list index outside its list.
std::optional<ConnectionSettings> ParseSettingsFile(const std::string& text,
                                                    const ConnectionSettings& previous);

// The full path of Kestrel.cfg in the program directory.
std::string SettingsFilePath(KestrelApp& app);

// Fills CurrentSettings from Kestrel.cfg, or with the Windows defaults when the
// file is missing or cannot be read.
void LoadSettingsFile(KestrelApp& app);

enum class SaveResult {
  Saved,               // the file and every registry value were written
  FileNotWritten,      // the old file, if any, is untouched; the registry was not written
  RegistryNotWritten,  // the file was written, but at least one registry write failed
  UndoRecordDamaged,   // the undo record cannot be read; neither file nor registry was written
  UndoRecordNotSaved,  // the undo record could not be saved, so values were left unchanged
};

// Saves CurrentSettings to Kestrel.cfg, then writes them to the registry. The
// file is written first and replaced whole, so that the registry never holds
// settings the file does not. Every registry value's previous state goes into
// the undo record before its first change; with a record that cannot be read
// nothing is written at all, since later notes would replace the damaged ones.
// With everyValueToDefault (Restore), every value goes back to the running
// Windows's own default instead of the record's numbers.
SaveResult SaveAndApplySettings(KestrelApp& app, bool everyValueToDefault = false);

// The registry writes of SaveAndApplySettings, through the given registry:
// the one call that Apply and its preview share, so that they cannot differ.
bool WriteAppSettings(KestrelApp& app, platform::Registry& registry, bool everyValueToDefault);

}  // namespace kestrel
