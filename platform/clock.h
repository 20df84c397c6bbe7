#pragma once

#include <cstdint>

namespace platform {

// A moment of the local wall clock, as the user reads it.
struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;

  bool operator==(const LocalTime&) const = default;
};

// The time of day, and a steady count for lengths of time.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
  // Milliseconds since some fixed moment; never goes back, whatever the
  // user does to the wall clock. Safe to read from any thread.
  virtual std::uint64_t Milliseconds() = 0;
};

}  // namespace platform
