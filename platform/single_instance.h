#pragma once

namespace platform {

// Detects another running copy of the same program. The adapter claims the
// program's instance name on first use and keeps it until the process ends.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  virtual bool AnotherInstanceRunning() = 0;
};

}  // namespace platform
