#include "kestrel/registry_writer.h"

#include <optional>
#include <span>
#include <vector>

#include "common/numbers.h"
#include "common/os_version.h"
#include "kestrel/registry_facts.h"

namespace kestrel {
namespace {

using platform::RegistryRoot;
namespace reg = platform::reg;

// The system's code for an argument it cannot use.
constexpr long kInvalidParameter = 87;

// Windows 95 family keys.
constexpr const char* kMstcp = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr const char* kInternetSettings95 =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kNetTrans = "System\\CurrentControlSet\\Services\\Class\\NetTrans";

// NT family keys. The Internet Settings path must not begin with a backslash:
// the NT registry refuses such a path, and the connection limits would never
// arrive.
constexpr const char* kTcpipControlSet001 = "SYSTEM\\ControlSet001\\Services\\tcpip\\parameters";
constexpr const char* kTcpipCurrent = "SYSTEM\\CurrentControlSet\\Services\\tcpip\\parameters";
constexpr const char* kInternetSettingsNt =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kServicesCurrent = "SYSTEM\\CurrentControlSet\\Services";
constexpr const char* kServicesControlSet001 = "SYSTEM\\ControlSet001\\Services";
constexpr const char* kInterfacesSuffix = "\\Tcpip\\Parameters\\Interfaces";

// Both families.
constexpr const char* kNdiCacheSize =
    "System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";

std::string AsText(const RegistryData& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  return std::to_string(std::get<std::int32_t>(value));
}

std::optional<std::int32_t> AsNumber(const RegistryData& value) {
  if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
  return common::ReadInteger<std::int32_t>(std::get<std::string>(value));
}

std::int32_t Flag(bool value) {
  return value ? 1 : 0;
}

// Writes the rows of one layout and remembers whether any of them failed.
class LayoutWriter {
 public:
  LayoutWriter(platform::Registry& registry, RegistryLayout layout, common::WindowsEra era)
      : registry_(registry), layout_(layout), era_(era) {}

  // A row that either writes the chosen number (or removes the value, when
  // removeChosen) or goes back to what the running Windows uses by itself.
  void Field(const std::string& key, const std::string& name, std::int32_t chosen,
             bool removeChosen, bool windowsDefault, bool asText = false) {
    if (windowsDefault) {
      const ValueFacts* facts = FindRegistryFacts(layout_, name);
      const auto value = facts ? facts->For(era_).defaultValue : std::nullopt;
      if (!value) return Number(key, name, 0, true);
      chosen = *value;
      removeChosen = false;
    }
    if (asText && !removeChosen) return Text(key, name, std::to_string(chosen));
    Number(key, name, chosen, removeChosen);
  }

  void Number(const std::string& key, const std::string& name, std::int32_t value,
              bool remove = false) {
    Record(SetRegistryValue(registry_, RegistryRoot::LocalMachine, key, name, reg::kTypeDword,
                            value, remove));
  }

  void Text(const std::string& key, const std::string& name, const std::string& value) {
    Record(SetRegistryValue(registry_, RegistryRoot::LocalMachine, key, name, reg::kTypeSz, value,
                            false));
  }

  // The names of the subkeys of parent, in the registry's order. They are all
  // read, and the parent closed, before anything is written below them. A
  // parent that does not exist has no subkeys; any other failure to list them
  // means some keys went unwritten, which counts as a failed write.
  std::vector<std::string> Subkeys(const std::string& parent) {
    std::vector<std::string> names;
    platform::ScopedRegistryKey key(registry_);
    const long opened = key.Open(RegistryRoot::LocalMachine, parent);
    if (opened != reg::kSuccess) {
      if (opened != reg::kFileNotFound) ok_ = false;
      return names;
    }
    for (std::uint32_t index = 0;; ++index) {
      std::string name;
      const long result = registry_.EnumKey(key.get(), index, name);
      if (result == reg::kNoMoreItems) break;
      // Anything but success would come back for every further index too.
      if (result != reg::kSuccess) {
        ok_ = false;
        break;
      }
      names.push_back(std::move(name));
    }
    return names;
  }

  bool ok() const { return ok_; }

 private:
  void Record(long result) {
    if (result != reg::kSuccess) ok_ = false;
  }

  platform::Registry& registry_;
  RegistryLayout layout_;
  common::WindowsEra era_;
  bool ok_ = true;
};

// Which groups go back to the Windows default: in Restore all of them, in a
// Manual record the five groups left on "Windows Default". The presets and
// custom values are written as they are.
struct DefaultGroups {
  bool mtu, rwin, ttl, ska, ndi, general;
};

DefaultGroups GroupsOnDefault(const ConnectionSettings& s, bool everyValue) {
  if (everyValue) return {true, true, true, true, true, true};
  const bool manual = s.OptiMode == kManualMode;
  return {manual && !s.MTUCustom, manual && !s.RWINCustom, manual && !s.TTLCustom,
          manual && !s.SKACustom, manual && !s.NDICustom, false};
}

void WriteWindows95Family(LayoutWriter& w, const ConnectionSettings& s, const DefaultGroups& d) {
  const bool deleteRwin = s.RWIN == -1;
  const bool deleteMtu = s.MTU == -1;
  w.Field(kMstcp, "DefaultRcvWindow", s.RWIN, deleteRwin, d.rwin);
  w.Field(kMstcp, "DefaultTTL", s.TTL, false, d.ttl, true);
  w.Field(kMstcp, "SessionKeepAlive", s.SKA, false, d.ska);
  w.Field(kMstcp, "PMTUDiscovery", Flag(s.PMTU), false, d.general);
  w.Field(kMstcp, "PMTUBlackHoleDetect", Flag(s.BlackHole), false, d.general);
  w.Field(kInternetSettings95, "MaxConnectionsPer1_0Server", s.MSCPS0, false, d.general);
  w.Field(kInternetSettings95, "MaxConnectionsPerServer", s.MSCPS1, false, d.general);
  // Wraps instead of overflowing for a nonsense MTU read from a damaged file.
  const auto mss = static_cast<std::int32_t>(static_cast<std::int64_t>(s.MTU) - 40);
  for (const std::string& n : w.Subkeys(kNetTrans)) {
    const std::string key = std::string(kNetTrans) + "\\" + n;
    w.Field(key, "MaxMTU", s.MTU, deleteMtu, d.mtu);
    w.Field(key, "MaxMSS", mss, deleteMtu, d.mtu);
  }
  w.Field(kNdiCacheSize, "", s.NDI, false, d.ndi);
}

void WriteInterfaceMtus(LayoutWriter& w, const ConnectionSettings& s, const DefaultGroups& d,
                        const char* services) {
  const bool deleteMtu = s.MTU == -1;
  const std::string interfaces = std::string(services) + kInterfacesSuffix;
  for (const std::string& n : w.Subkeys(interfaces)) {
    w.Field(interfaces + "\\" + n, "MTU", s.MTU, deleteMtu, d.mtu);
    w.Field(std::string(services) + "\\" + n + "\\Parameters\\Tcpip", "MTU", s.MTU, deleteMtu,
            d.mtu);
  }
}

void WriteNtFamily(LayoutWriter& w, const ConnectionSettings& s, const DefaultGroups& d) {
  const bool deleteRwin = s.RWIN == -1;
  for (const char* key : {kTcpipControlSet001, kTcpipCurrent}) {
    w.Field(key, "GlobalMaxTcpWindowSize", s.RWIN, deleteRwin, d.rwin);
    w.Field(key, "TcpWindowSize", s.RWIN, deleteRwin, d.rwin);
  }
  w.Field(kTcpipControlSet001, "DefaultTTL", s.TTL, false, d.ttl);
  w.Field(kTcpipCurrent, "DefaultTTL", s.TTL, false, d.ttl);
  w.Field(kTcpipControlSet001, "KeepAliveTime", s.SKA, false, d.ska);
  w.Field(kTcpipCurrent, "KeepAliveTime", s.SKA, false, d.ska);
  w.Field(kTcpipControlSet001, "EnablePMTUDiscovery", Flag(s.PMTU), false, d.general);
  w.Field(kTcpipCurrent, "EnablePMTUDiscovery", Flag(s.PMTU), false, d.general);
  w.Field(kTcpipControlSet001, "EnablePMTUBHDetect", Flag(s.BlackHole), false, d.general);
  w.Field(kTcpipCurrent, "EnablePMTUBHDetect", Flag(s.BlackHole), false, d.general);
  w.Field(kInternetSettingsNt, "MaxConnectionsPer1_0Server", s.MSCPS0, false, d.general);
  w.Field(kInternetSettingsNt, "MaxConnectionsPerServer", s.MSCPS1, false, d.general);
  WriteInterfaceMtus(w, s, d, kServicesCurrent);
  WriteInterfaceMtus(w, s, d, kServicesControlSet001);
  w.Field(kNdiCacheSize, "", s.NDI, false, d.ndi);
}

}  // namespace

long SetRegistryValue(platform::Registry& registry, platform::RegistryRoot root,
                      const std::string& subkey, const std::string& valueName,
                      std::uint32_t valueType, const RegistryData& value, bool remove) {
  platform::ScopedRegistryKey key(registry);
  const long opened = key.Create(root, subkey);
  if (opened != reg::kSuccess) return opened;

  long result = reg::kSuccess;
  if (valueType == reg::kTypeSz || valueType == reg::kTypeDword) {
    if (remove) {
      result = registry.DeleteValue(key.get(), valueName);
      // The value is gone either way, which is what was asked for.
      if (result == reg::kFileNotFound) result = reg::kSuccess;
    } else if (valueType == reg::kTypeSz) {
      const std::string text = AsText(value);
      std::vector<std::uint8_t> bytes(text.begin(), text.end());
      bytes.push_back(0);
      result = registry.SetValue(key.get(), valueName, valueType, bytes);
    } else if (const auto number = AsNumber(value)) {
      const auto bytes = reg::DwordBytes(static_cast<std::uint32_t>(*number));
      result = registry.SetValue(key.get(), valueName, valueType, bytes);
    } else {
      result = kInvalidParameter;
    }
  }
  return result;
}

bool WriteRegistrySettings(platform::Registry& registry, const ConnectionSettings& settings,
                           std::int16_t osCode, WindowsDefaultsTarget defaults) {
  const DefaultGroups groups = GroupsOnDefault(settings, defaults.everyValue);
  if (common::IsWindows95Family(osCode)) {
    LayoutWriter writer(registry, RegistryLayout::Windows95Family, defaults.era);
    WriteWindows95Family(writer, settings, groups);
    return writer.ok();
  }
  if (common::IsNtFamily(osCode)) {
    LayoutWriter writer(registry, RegistryLayout::NtFamily, defaults.era);
    WriteNtFamily(writer, settings, groups);
    return writer.ok();
  }
  return true;
}

}  // namespace kestrel
