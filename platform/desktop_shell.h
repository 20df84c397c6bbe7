#pragma once

#include <string>

#include "platform/program_starter.h"

namespace platform {

// The user's desktop as another program sees it: whether this program runs
// with more rights than the desktop, the desktop shell's own process, and the
// messages that reach every program's windows.
class DesktopShell {
 public:
  virtual ~DesktopShell() = default;
  // True when this process runs elevated by the user's consent, with rights
  // that the programs of the desktop do not have.
  virtual bool RunsElevated() = 0;
  // Has the desktop shell's own process open file (a program, a document or
  // an address) with its parameters, so that what starts runs with the
  // desktop's rights. False when no desktop shell can be reached.
  virtual bool OpenAsDesktop(const std::string& file, const std::string& parameters,
                             ShowCode show) = 0;
  // Posts the message registered under name to every top-level window.
  virtual void PostToAllWindows(const std::string& messageName) = 0;
};

}  // namespace platform
