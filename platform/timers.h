#pragma once

#include <cstdint>

namespace platform {

// Millisecond timers of one window, ticking on the user-interface thread.
// Each tick reaches the window's owner as an event that names the timer;
// ticks that fall due while the thread is busy arrive as one.
class Timers {
 public:
  virtual ~Timers() = default;
  // Starts the timer, or starts it again from now when it runs already: its
  // first tick comes intervalMs from now. False when the system has no timer
  // left to give.
  virtual bool Start(std::uint32_t id, std::uint32_t intervalMs) = 0;
  // Stops the timer; a timer that does not run stays stopped.
  virtual void Stop(std::uint32_t id) = 0;
};

}  // namespace platform
