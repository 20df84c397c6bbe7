#pragma once

#include <cstdint>
#include <string>

#include "platform/program_starter.h"

namespace platform {

// A window of the program, passed through the portable code untouched. Wide
// enough for a handle of either architecture.
using WindowHandle = std::uintptr_t;

// The shell's "open" verb: a document (a file, a web address, a mailto:
// address) opens in the program the user has chosen for it.
class Shell {
 public:
  virtual ~Shell() = default;
  // Opens the document with the owner window and the show code, without
  // parameters or working folder. Returns the shell's result: above 32 on
  // success.
  virtual std::intptr_t Open(WindowHandle owner, const std::string& document, ShowCode show) = 0;
};

}  // namespace platform
