#include "platform/win32/adapters.h"

namespace platform::win32 {

void Win32RandomSource::SeedFromClock() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  engine_.seed(static_cast<std::uint32_t>(GetTickCount()) ^
               static_cast<std::uint32_t>(counter.QuadPart));
}

double Win32RandomSource::Next() {
  // 53 random bits over 2^53: exact in a double, and never 1 itself.
  const std::uint64_t high = engine_() >> 5;
  const std::uint64_t low = engine_() >> 6;
  return static_cast<double>((high << 26) | low) / 9007199254740992.0;
}

}  // namespace platform::win32
