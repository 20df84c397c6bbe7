#pragma once

// The public servers that the programs ping. Each is a well-known server that
// answers ICMP echo.
//
// The test sandbox (tests/wine/sandbox.sh) reads this file and gives every host
// named here a loopback address in its own hosts file, so that the tests ping
// these very names without leaving the machine. Keep each constant on one line
// in the form `inline constexpr char Name[] = "host";`.

namespace common {

// The host that a ping configuration in "Automatic" mode pings.
inline constexpr char DefaultPingHost[] = "one.one.one.one";

// The host whose echo tells the tray monitor that the Internet connection is up.
inline constexpr char ConnectionTestHost[] = "dns.google";

}  // namespace common
