#pragma once

#include <string>

namespace e2e {

// The Start menu's programs folder that every user sees.
std::string CommonProgramsFolder();

// The file that a shell link (.lnk) points at. Throws a Failure when the link
// cannot be read.
std::string ShortcutTarget(const std::string& link);

}  // namespace e2e
