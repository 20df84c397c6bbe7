#pragma once

#include <string>
#include <vector>

#include "kestrel/change_preview.h"

namespace kestrel {

// The writes and removals as a script for the registry editor, in its own
// format for the Windows family: "REGEDIT4" in ANSI for the 95 family, and
// "Windows Registry Editor Version 5.00" in UTF-16LE with a byte-order mark
// for the NT family. Numbers go as dword:, texts quoted; other types as hex.
// Every change is kept, in its order, also one that writes what is there
// already, so that importing the script does what Apply does.
std::string FormatRegistryScript(const std::vector<PlannedChange>& changes, bool ntFamily);

}  // namespace kestrel
