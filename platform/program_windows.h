#pragma once

#include <string>

#include "platform/shell.h"

namespace platform {

// The top-level windows of the desktop, found by their class, so that a
// program can bring forward a window of another one instead of starting it
// a second time.
class ProgramWindows {
 public:
  virtual ~ProgramWindows() = default;
  // A top-level window of the class, or 0 when none exists.
  virtual WindowHandle Find(const std::string& windowClass) = 0;
  // Restores the window when it is minimized and makes it the foreground window.
  virtual void BringToFront(WindowHandle window) = 0;
};

}  // namespace platform
