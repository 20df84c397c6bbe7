#pragma once

#include <string>

namespace platform {

// Show-window codes passed to a started program.
enum class ShowCode : int { Hidden = 0, Normal = 1, Show = 5 };

// Starts a program by command line without waiting for it.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Returns 0 when the program started, else the system's error code.
  virtual unsigned long Start(const std::string& commandLine, ShowCode show) = 0;
};

}  // namespace platform
