#include "kestrel/connection_settings.h"

#include <stdexcept>

namespace kestrel {
namespace {

ConnectionSettings AutomaticPreset(std::int16_t mode, std::int32_t mtu, std::int32_t rwin) {
  ConnectionSettings s;
  s.ConnectionType = 0;
  s.OptiMode = mode;
  s.MTU = mtu;
  s.RWIN = rwin;
  s.TTL = 128;
  s.SKA = 600000;
  s.NDI = 0;
  s.PMTU = true;
  s.BlackHole = false;
  s.MSCPS0 = 16;
  s.MSCPS1 = 8;
  return s;
}

std::vector<std::string> Numbered(int first, int last, const std::string& prefix,
                                  const std::string& suffix) {
  std::vector<std::string> items;
  for (int i = first; i <= last; ++i) items.push_back(prefix + std::to_string(i) + suffix);
  return items;
}

}  // namespace

Presets InitPresets() {
  Presets p;
  p.AutoPreset1 = AutomaticPreset(0, 576, 4288);
  p.AutoPreset2 = AutomaticPreset(1, 576, -1);
  p.AutoPreset3 = AutomaticPreset(2, -1, -1);

  ConnectionSettings& d = p.WindowsDefaults;
  d.ConnectionType = 0;
  d.OptiMode = kManualMode;
  d.MTU = 1500;
  d.RWIN = 8192;
  d.TTL = 32;
  d.SKA = 3600000;
  d.NDI = 0;
  d.PMTU = true;
  d.BlackHole = false;
  d.MSCPS0 = 2;
  d.MSCPS0Index = 0;
  d.MSCPS1 = 4;
  d.MSCPS1Index = 2;
  return p;
}

ConnectionSettings Presets::ForAutomaticMode(std::int16_t mode, std::int16_t connectionType) const {
  ConnectionSettings s;
  switch (mode) {
    case 0: s = AutoPreset1; break;
    case 1: s = AutoPreset2; break;
    case 2: s = AutoPreset3; break;
    default: throw std::out_of_range("not an automatic mode");
  }
  s.ConnectionType = connectionType;
  return s;
}

namespace lists {

const std::vector<std::string>& NetType() {
  static const std::vector<std::string> items = {
      "Dial-up Networking (Modem)", "LAN, Cable Modem, xDSL, ISDN, T1, T2",
      "Cable/xDSL running PPPoE/PPTP", "DirectPc (Satellite)"};
  return items;
}

const std::vector<std::string>& Optimize() {
  static const std::vector<std::string> items = {"Automatic #1", "Automatic #2", "Automatic #3",
                                                 "Manual"};
  return items;
}

const std::vector<std::string>& RWIN() {
  static const std::vector<std::string> items = [] {
    std::vector<std::string> v;
    for (int i = 0; i < 7; ++i) v.push_back("x" + std::to_string(4 + 2 * i));
    return v;
  }();
  return items;
}

const std::vector<std::string>& SKA() {
  static const std::vector<std::string> items = Numbered(1, 60, "", " min.");
  return items;
}

const std::vector<std::string>& NDI() {
  static const std::vector<std::string> items = {"0", "2", "4", "8", "16", "32", "64"};
  return items;
}

const std::vector<std::string>& MSCPS() {
  static const std::vector<std::string> items = Numbered(2, 60, "", "");
  return items;
}

std::int32_t RWINMultiplier(int index) { return std::stoi(RWIN().at(index).substr(1)); }

}  // namespace lists
}  // namespace kestrel
