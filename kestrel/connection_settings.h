#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

// The tuning record: everything Apply writes. Plain value, copied whole.
// -1 in MTU or RWIN (only the automatic presets hold it) means "leave the
// system's value alone", which the registry writer turns into a deletion.
struct ConnectionSettings {
  std::int16_t ConnectionType = 0;
  std::int16_t OptiMode = 0;
  std::int32_t MTU = 0;
  bool MTUCustom = false;
  std::int32_t RWIN = 0;
  bool RWINCustom = false;
  std::int16_t RWINIndex = -1;
  std::int32_t TTL = 0;
  bool TTLCustom = false;
  std::int32_t SKA = 0;
  bool SKACustom = false;
  std::int16_t SKAIndex = -1;
  std::int32_t NDI = 0;
  bool NDICustom = false;
  std::int16_t NDIIndex = -1;
  bool PMTU = false;
  bool BlackHole = false;
  std::int32_t MSCPS0 = 0;
  std::int16_t MSCPS0Index = -1;
  std::int32_t MSCPS1 = 0;
  std::int16_t MSCPS1Index = -1;

  bool operator==(const ConnectionSettings&) const = default;
};

inline constexpr std::int16_t kManualMode = 3;

// The four fixed records the current settings are copied from.
struct Presets {
  ConnectionSettings AutoPreset1;
  ConnectionSettings AutoPreset2;
  ConnectionSettings AutoPreset3;
  ConnectionSettings WindowsDefaults;

  // The preset of an automatic mode 0 to 2, with the given connection type.
  ConnectionSettings ForAutomaticMode(std::int16_t mode, std::int16_t connectionType) const;
};

Presets InitPresets();

// The items of the seven selection lists, in order.
namespace lists {
const std::vector<std::string>& NetType();
const std::vector<std::string>& Optimize();
const std::vector<std::string>& RWIN();
const std::vector<std::string>& SKA();
const std::vector<std::string>& NDI();
const std::vector<std::string>& MSCPS();  // the same items for HTTP 1.0 and 1.1

// The RWIN multiplier of an item: its text without the leading "x".
std::int32_t RWINMultiplier(int index);
}  // namespace lists

inline bool CheckToBool(int state) { return state == 1; }
inline int BoolToCheck(bool value) { return value ? 1 : 0; }

}  // namespace kestrel
