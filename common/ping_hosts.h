#pragma once

namespace common {

// The host the keep-alive pings when the user has not chosen one: a public
// server that answers ICMP echo. Provisional here; it moves to the ICMP echo
// module when that arrives.
inline constexpr const char* DefaultPingHost = "one.one.one.one";

}  // namespace common
