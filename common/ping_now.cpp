#include "common/ping_now.h"

#include "common/files.h"

namespace common {
namespace {

constexpr std::int32_t kPingNowTimeoutMs = 1000;

}  // namespace

void PingNow(const PingContext& context, PingServices& services, const PumpEvents& pumpEvents) {
  // From the first yield point on: a timer tick handled there must not start
  // a ping of its own.
  const PingServices::Running running(services);
  pumpEvents();
  pumpEvents();
  KeepAlivePing(services, context.settings.PingHost, kPingNowTimeoutMs);
  pumpEvents();
  if (context.settings.PingSound) PlayPingSound(context);
}

void PlayPingSound(const PingContext& context) {
  const std::string path = ProgramFile(context.programDirectory, "\\Ping.wav");
  if (FileExists(context.files, path)) context.sound.PlayFile(path);
}

}  // namespace common
