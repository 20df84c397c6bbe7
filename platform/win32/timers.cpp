#include "platform/win32/adapters.h"

namespace platform::win32 {

bool Win32WindowTimers::Start(std::uint32_t id, std::uint32_t intervalMs) {
  // The same id again replaces the running timer, whose count starts anew.
  return SetTimer(window_, id, intervalMs, nullptr) != 0;
}

void Win32WindowTimers::Stop(std::uint32_t id) { KillTimer(window_, id); }

}  // namespace platform::win32
