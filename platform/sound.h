#pragma once

#include <string>

namespace platform {

class Sound {
 public:
  virtual ~Sound() = default;
  // The default system beep, for a refused key.
  virtual void Beep() = 0;
  // Starts playing a sound file and returns at once. A file that cannot be
  // played gives silence, never the system's default sound.
  virtual void PlayFile(const std::string& path) = 0;
};

}  // namespace platform
