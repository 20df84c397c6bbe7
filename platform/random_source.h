#pragma once

namespace platform {

// Random numbers for the choices a user should not be able to predict.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Starts a new sequence from the system clock.
  virtual void SeedFromClock() = 0;
  // The next number r of the sequence, 0 <= r < 1.
  virtual double Next() = 0;
};

}  // namespace platform
