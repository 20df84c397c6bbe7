#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/timers.h"

namespace doubles {

// Timers on a clock that moves only when a test lets time pass. Ticks run
// in time order (timers due at the same moment by id) through onTick; a tick
// may let more time pass itself, as an event loop nested in a handler does.
class FakeTimers : public platform::Timers {
 public:
  struct Running {
    std::uint32_t interval;
    std::uint64_t due;
  };
  std::map<std::uint32_t, Running> running;
  std::uint64_t now = 0;
  bool startResult = true;  // false: the system has no timer left
  int starts = 0;
  std::function<void(std::uint32_t id)> onTick;

  bool Start(std::uint32_t id, std::uint32_t intervalMs) override {
    ++starts;
    if (!startResult) return false;
    running[id] = {intervalMs, now + intervalMs};
    return true;
  }
  void Stop(std::uint32_t id) override { running.erase(id); }

  bool Runs(std::uint32_t id) const { return running.count(id) != 0; }
  std::uint32_t Interval(std::uint32_t id) const {
    const auto found = running.find(id);
    return found == running.end() ? 0 : found->second.interval;
  }

  void Advance(std::uint64_t ms) {
    const std::uint64_t end = now + ms;
    for (;;) {
      auto next = running.end();
      for (auto it = running.begin(); it != running.end(); ++it) {
        if (it->second.due <= end && (next == running.end() || it->second.due < next->second.due)) {
          next = it;
        }
      }
      if (next == running.end()) break;
      if (next->second.due > now) now = next->second.due;
      next->second.due += next->second.interval;
      if (onTick) onTick(next->first);
    }
    if (now < end) now = end;
  }
};

}  // namespace doubles
