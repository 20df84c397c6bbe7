#include "tidewatch/form_timer.h"

namespace tidewatch {

void FormTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Apply(false);
}

void FormTimer::SetInterval(std::uint32_t intervalMs) {
  interval_ = intervalMs;
  Apply(true);
}

void FormTimer::Create() {
  if (destroyed_) return;
  created_ = true;
  Apply(true);
}

void FormTimer::Destroy() {
  if (running_) timers_.Stop(id_);
  running_ = false;
  destroyed_ = true;
}

void FormTimer::Apply(bool restart) {
  if (!created_ || destroyed_) return;
  const bool wanted = enabled_ && interval_ > 0;
  if (wanted && (restart || !running_)) {
    // A timer the system cannot give does not tick; the next change of the
    // control asks again.
    running_ = timers_.Start(id_, interval_);
  } else if (!wanted && running_) {
    timers_.Stop(id_);
    running_ = false;
  }
}

}  // namespace tidewatch
