#pragma once

namespace platform {

// Detects another running copy of the same program. The adapter claims the
// program's instance name on first use and keeps it until the process ends.
class SingleInstance {
 public:
  virtual ~SingleInstance() = default;
  virtual bool AnotherInstanceRunning() = 0;
};

// How the system answered the claim of the instance name.
enum class InstanceClaim {
  Created,        // the name is ours
  AlreadyExists,  // a copy of the same rights holds it
  AccessDenied,   // a copy at a higher integrity level (run as administrator) holds it
  Failed,         // any other error: no copy can be told apart, so run
};

// A copy that runs elevated holds a name this copy may not open: that is a
// running copy too, or a second monitor would start beside it.
inline bool AnotherInstanceHolds(InstanceClaim claim) {
  return claim == InstanceClaim::AlreadyExists || claim == InstanceClaim::AccessDenied;
}

}  // namespace platform
