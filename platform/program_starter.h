#pragma once

#include <functional>
#include <string>

namespace platform {

// Show-window codes passed to a started program.
enum class ShowCode : int { Hidden = 0, Normal = 1, Minimized = 2, Show = 5 };

// Starts programs by command line.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts without waiting. Returns 0 when the program started, else the
  // system's error code.
  virtual unsigned long Start(const std::string& commandLine, ShowCode show) = 0;
  // Starts and waits until the program has ended. Whenever window messages
  // arrive meanwhile, whileWaiting runs, so that the caller's windows stay
  // responsive. Returns 0 when the program started (and has ended), else the
  // system's error code of the start.
  virtual unsigned long StartAndWait(const std::string& commandLine, ShowCode show,
                                     const std::function<void()>& whileWaiting) = 0;
};

}  // namespace platform
