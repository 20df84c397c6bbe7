#include "tests/e2e/driver/wait.h"

#include "platform/win32/windows_shim.h"

namespace e2e {

bool PollUntil(const std::function<bool()>& probe, Millis timeout, Millis interval) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeout.count());
  for (;;) {
    if (probe()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(static_cast<DWORD>(interval.count()));
  }
}

void WaitUntil(const std::function<bool()>& probe, std::string_view what, Millis timeout,
               const std::function<std::string()>& detail) {
  if (PollUntil(probe, timeout)) return;
  std::string message =
      "timed out after " + std::to_string(timeout.count()) + " ms waiting for " + std::string(what);
  if (detail) {
    const std::string seen = detail();
    if (!seen.empty()) message += "; " + seen;
  }
  throw Failure(message);
}

void Pause(Millis duration) {
  Sleep(static_cast<DWORD>(duration.count()));
}

}  // namespace e2e
