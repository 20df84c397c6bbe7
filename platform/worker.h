#pragma once

#include <functional>

namespace platform {

// Runs slow work off the window's thread, so that the window keeps answering
// while a name lookup or an echo waits on the network.
class Worker {
 public:
  virtual ~Worker() = default;
  // Runs job on the worker's own thread, one job after another in the order
  // they were given. When job has returned, done runs on the window's thread,
  // from its message loop. A job still queued or running when the worker ends
  // is abandoned, and its done never runs.
  virtual void Run(std::function<void()> job, std::function<void()> done) = 0;
};

}  // namespace platform
