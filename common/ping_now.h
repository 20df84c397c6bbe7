#pragma once

#include <functional>

#include "common/ping.h"
#include "common/ping_settings.h"

namespace common {

// Lets the window events that are waiting run, without waiting for more.
using PumpEvents = std::function<void()>;

// "Ping Now": one keep-alive echo to the configured host at once (timeout
// 1000 ms), then the ping sound when it is switched on, whatever the echo's
// outcome. The user sees nothing else, apart from the socket library's own
// messages. The echo blocks the thread, so the window events waiting are let
// run twice before it and once after it; all the while the services count a
// ping as running.
void PingNow(const PingContext& context, PingServices& services, const PumpEvents& pumpEvents);

// Plays the program directory's Ping.wav in the background when the file is
// there; silent otherwise.
void PlayPingSound(const PingContext& context);

}  // namespace common
