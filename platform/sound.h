#pragma once

namespace platform {

class Sound {
 public:
  virtual ~Sound() = default;
  // The default system beep, for a refused key.
  virtual void Beep() = 0;
};

}  // namespace platform
