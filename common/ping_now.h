#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/ping_settings.h"

namespace common {

// Lets the window events that are waiting run, without waiting for more.
using PumpEvents = std::function<void()>;
// One keep-alive echo to the host with the timeout; true when it came back.
using KeepAliveFunction = std::function<bool(const std::string& host, std::int32_t timeoutMs)>;

// "Ping Now": one echo to the configured host at once, then the ping sound
// when it is switched on, whatever the echo's outcome. The user sees nothing
// else. The echo blocks the thread, so the window events waiting are let run
// before and after it.
void PingNow(const PingContext& context, const KeepAliveFunction& keepAlivePing,
             const PumpEvents& pumpEvents);

// Plays the program directory's Ping.wav in the background when the file is
// there; silent otherwise.
void PlayPingSound(const PingContext& context);

}  // namespace common
