#include "kestrel/registry_facts.h"

#include "common/numbers.h"

namespace kestrel {
namespace {

using L = RegistryLayout;
constexpr std::optional<std::int32_t> kRemoved = std::nullopt;

EraFacts Yes(std::string reason, std::optional<std::int32_t> value) {
  return {ReadBy::Yes, std::move(reason), value};
}
// A value an era never reads is best absent there.
EraFacts No(std::string reason) { return {ReadBy::No, std::move(reason), kRemoved}; }
EraFacts Unsure(std::string reason) {
  return {ReadBy::Undocumented, std::move(reason), kRemoved};
}

// What every version we cannot place gets: nothing is claimed, and a default
// is restored by removing the value.
EraFacts UnknownEra() { return Unsure("unknown Windows version"); }

// A value only the Windows 95 family reads; the NT family never looks under
// VxD or Class\NetTrans.
ValueFacts Only95(std::string name, std::string where, std::string meaning,
                  std::optional<std::int32_t> value95) {
  const EraFacts nt = No("the 95 family's key");
  return {L::Windows95Family, std::move(name), std::move(where), std::move(meaning),
          {UnknownEra(), Yes("read at start-up", value95), nt, nt, nt}};
}

// A value of the NT layout that every NT version reads.
ValueFacts AllNt(std::string name, std::string where, std::string meaning, EraFacts upToXp,
                 EraFacts server2003, EraFacts vista) {
  return {L::NtFamily, std::move(name), std::move(where), std::move(meaning),
          {UnknownEra(), No("the NT family's key"), std::move(upToXp), std::move(server2003),
           std::move(vista)}};
}

std::vector<ValueFacts> MakeFacts() {
  const char* mstcp = "VxD\\MSTCP";
  const char* tcpip = "Tcpip\\Parameters";
  const char* inet = "Internet Settings";

  // The WinINet limits: read by Internet Explorer and the programs built on
  // it, never by other browsers. Internet Explorer 8 raised the defaults, and
  // which one an NT system runs is not known here, so there the value is
  // removed and WinINet picks its own.
  // Source: "How to configure Internet Explorer to have more than two
  // download sessions" (KB 282402; title as remembered, not checked).
  const EraFacts wininetNt = Yes("WinINet programs only", kRemoved);
  const auto wininet = [&](L layout, const char* name, const char* meaning,
                           std::int32_t before8) {
    const EraFacts before = Yes("WinINet programs only", before8);
    if (layout == L::Windows95Family) {
      const EraFacts nt = No("the NT layout's key");
      return ValueFacts{layout, name, inet, meaning, {UnknownEra(), before, nt, nt, nt}};
    }
    return ValueFacts{layout, name, inet, meaning,
                      {UnknownEra(), No("the 95 layout's key"), wininetNt, wininetNt, wininetNt}};
  };

  // The per-interface MTU can only lower the MTU the adapter reports, and is
  // documented for NT 4.0 to XP only. From Vista on, Microsoft documents
  // "netsh interface ipv4 set subinterface ... mtu=" instead and says nothing
  // of the value. Source: "TCP/IP and NBT configuration parameters for
  // Windows XP" (KB 314053).
  const auto mtu = [](std::string where) {
    return AllNt("MTU", std::move(where), "Largest packet the interface sends",
                 Yes("can only lower the MTU", kRemoved), Yes("can only lower the MTU", kRemoved),
                 Unsure("no source; netsh sets it"));
  };

  // The receive window: read up to Server 2003; from Vista on, receive-window
  // auto-tuning sets the window and the value is ignored. Sources:
  // "TcpWindowSize" (Windows Server 2003 TCP/IP registry entries: no value by
  // default, the window follows the MSS) and "Performance tuning network
  // adapters" (deprecated TCP parameters).
  const auto window = [](std::string name, std::string meaning) {
    return AllNt(std::move(name), "Tcpip\\Parameters", std::move(meaning),
                 Yes("sets the receive window", kRemoved),
                 Yes("sets the receive window", kRemoved),
                 No("ignored: auto-tuning sets the window"));
  };

  return {
      // Windows 95 family. Source: "Windows TCP/IP Registry Entries"
      // (KB 158474; title as remembered, not checked). These are the numbers
      // Kestrel has always written there, except the NetBIOS keep-alive,
      // which that article gives in seconds.
      Only95("DefaultRcvWindow", mstcp, "TCP receive window in bytes", 8192),
      Only95("DefaultTTL", mstcp, "Hops a packet may travel (time to live)", 32),
      // The NetBIOS session keep-alive, in seconds, not milliseconds.
      Only95("SessionKeepAlive", mstcp, "NetBIOS session keep-alive interval in seconds", 3600),
      Only95("PMTUDiscovery", mstcp, "Path MTU discovery on (1) or off (0)", 1),
      Only95("PMTUBlackHoleDetect", mstcp, "Black-hole router detection on (1) or off (0)", 0),
      wininet(L::Windows95Family, "MaxConnectionsPer1_0Server",
              "Connections per HTTP 1.0 server (WinINet)", 4),
      wininet(L::Windows95Family, "MaxConnectionsPerServer",
              "Connections per HTTP 1.1 server (WinINet)", 2),
      // The adapter's own MTU applies while these are absent; no single
      // number is published for every adapter.
      Only95("MaxMTU", "Class\\NetTrans", "Largest packet the adapter sends", kRemoved),
      Only95("MaxMSS", "Class\\NetTrans", "Largest TCP segment (MTU minus 40)", kRemoved),
      Only95("", "VxD\\NWLink cachesize", "IPX/SPX (NWLink) cache size", kRemoved),

      // NT family.
      window("GlobalMaxTcpWindowSize", "Upper limit of the TCP receive window"),
      window("TcpWindowSize", "TCP receive window in bytes"),
      // Source: "KeepAliveTime" and "DefaultTTL" in Microsoft's TCP/IP
      // registry reference for Windows 2000 and Windows Server 2003 (checked:
      // KeepAliveTime 7,200,000 ms, added to the registry by no version),
      // and "Performance tuning network adapters" for the later versions.
      AllNt("DefaultTTL", tcpip, "Hops a packet may travel (time to live)",
            Yes("read at start-up", 128), Yes("read at start-up", 128),
            Yes("read at start-up", 128)),
      AllNt("KeepAliveTime", tcpip, "Idle time before TCP keep-alive probes, in ms",
            Yes("read at start-up", 7200000), Yes("read at start-up", 7200000),
            Yes("read at start-up", 7200000)),
      AllNt("EnablePMTUDiscovery", tcpip, "Path MTU discovery on (1) or off (0)",
            Yes("read at start-up", 1), Yes("read at start-up", 1), Yes("read at start-up", 1)),
      // Off up to XP, on from Vista (KB 925280). Server 2003 changed it with a
      // service pack, so no single default is honest there.
      AllNt("EnablePMTUBHDetect", tcpip, "Black-hole router detection on (1) or off (0)",
            Yes("read at start-up", 0), Yes("default depends on service pack", kRemoved),
            Yes("read at start-up", 1)),
      wininet(L::NtFamily, "MaxConnectionsPer1_0Server",
              "Connections per HTTP 1.0 server (WinINet)", 4),
      wininet(L::NtFamily, "MaxConnectionsPerServer",
              "Connections per HTTP 1.1 server (WinINet)", 2),
      mtu("Tcpip\\Parameters\\Interfaces and Services\\<adapter>\\Parameters\\Tcpip"),
      {L::NtFamily,
       "",
       "VxD\\NWLink cachesize",
       "IPX/SPX (NWLink) cache size",
       {UnknownEra(), No("the NT layout's key"), No("a 95-family key"), No("a 95-family key"),
        No("a 95-family key")}},
  };
}

}  // namespace

const std::vector<ValueFacts>& RegistryFacts() {
  static const std::vector<ValueFacts> facts = MakeFacts();
  return facts;
}

const ValueFacts* FindRegistryFacts(RegistryLayout layout, const std::string& name) {
  for (const ValueFacts& facts : RegistryFacts()) {
    if (facts.layout == layout && common::SameTextIgnoringCase(facts.name, name)) return &facts;
  }
  return nullptr;
}

std::string EraName(common::WindowsEra era) {
  switch (era) {
    case common::WindowsEra::Windows95Family: return "Windows 95, 98 and ME";
    case common::WindowsEra::Nt4ToXp: return "Windows NT 4.0 to XP";
    case common::WindowsEra::Server2003: return "Windows Server 2003";
    case common::WindowsEra::VistaAndLater: return "Windows Vista to 11";
    case common::WindowsEra::Unknown: break;
  }
  return "an unknown Windows";
}

}  // namespace kestrel
