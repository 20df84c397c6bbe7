#include "kestrel/restart.h"

namespace kestrel {

int RestartWindows(platform::SystemRestart& restart) {
  // Systems without the privilege services fail this step; the request follows anyway.
  restart.EnableShutdownPrivilege();
  return restart.EndSession(kRestartFlags, kRestartReason);
}

}  // namespace kestrel
