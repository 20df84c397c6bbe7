#pragma once

#include <cstdint>

#include "platform/timers.h"

namespace tidewatch {

// A timer control of a form: it ticks while it is enabled and its interval
// is above 0. Setting the interval of a running timer starts its count
// again; enabling a running timer leaves its count alone, so that the next
// tick comes on time.
class FormTimer {
 public:
  FormTimer(platform::Timers& timers, std::uint32_t id, bool enabled, std::uint32_t intervalMs)
      : timers_(timers), id_(id), enabled_(enabled), interval_(intervalMs) {}
  FormTimer(const FormTimer&) = delete;
  FormTimer& operator=(const FormTimer&) = delete;

  std::uint32_t Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  std::uint32_t Interval() const { return interval_; }
  bool Running() const { return running_; }

  void SetEnabled(bool enabled);
  void SetInterval(std::uint32_t intervalMs);
  // Hands the design-time settings to the system: a timer enabled with an
  // interval starts ticking now.
  void Create();
  // The form unloads: the timer stops for good, whatever is set afterwards.
  void Destroy();

 private:
  void Apply(bool restart);

  platform::Timers& timers_;
  const std::uint32_t id_;
  bool enabled_;
  std::uint32_t interval_;
  bool created_ = false;
  bool destroyed_ = false;
  bool running_ = false;
};

}  // namespace tidewatch
