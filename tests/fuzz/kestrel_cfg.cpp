// Kestrel.cfg: any bytes that a damaged disk, another editor or another
// program can leave in the file.
//
// An accepted file must survive the round trip through the writer unchanged,
// and its list indexes must lead the main window to list items and to the
// values those items stand for.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>

#include "kestrel/connection_settings.h"
#include "kestrel/main_window.h"
#include "kestrel/settings_file.h"
#include "tests/doubles/fake_platform.h"
#include "tests/doubles/recording_host.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/input_mixer.h"

namespace {

using kestrel::ConnectionSettings;
using kestrel::kManualMode;

// The record that LoadSettingsFile reads over. The automatic modes keep all
// of it but type and mode, and Manual must overwrite every field, so it is
// varied with the input.
template <typename Integer>
Integer Number(InputMixer& m) {
  // The edges of the field and of the lists come up often.
  static constexpr std::int64_t kEdges[] = {-1, 0, 1, 2, 6, 58, 59, 60, 32767, -32768};
  const std::uint64_t n = m.Next();
  if (n % 4 == 0) return static_cast<Integer>(kEdges[(n >> 8) % std::size(kEdges)]);
  return static_cast<Integer>(n >> 16);
}

ConnectionSettings PreviousRecord(const std::string& bytes) {
  InputMixer m(bytes);
  ConnectionSettings s;
  for (std::int16_t* n : {&s.ConnectionType, &s.OptiMode, &s.RWINIndex, &s.SKAIndex, &s.NDIIndex,
                          &s.MSCPS0Index, &s.MSCPS1Index}) {
    *n = Number<std::int16_t>(m);
  }
  for (std::int32_t* n : {&s.MTU, &s.RWIN, &s.TTL, &s.SKA, &s.NDI, &s.MSCPS0, &s.MSCPS1}) {
    *n = Number<std::int32_t>(m);
  }
  for (bool* b : {&s.MTUCustom, &s.RWINCustom, &s.TTLCustom, &s.SKACustom, &s.NDICustom, &s.PMTU,
                  &s.BlackHole}) {
    *b = m.Bool();
  }
  return s;
}

bool Inside(int index, std::size_t size, bool noneAllowed) {
  return index >= (noneAllowed ? -1 : 0) && index < static_cast<int>(size);
}

// The values the lists stand for, as the main window's lists show them.
std::int64_t RWINMultiplier(int index) { return 4 + 2 * index; }
std::int32_t SKAMilliseconds(int index) { return (index + 1) * 60000; }
std::int32_t NDIEntries(int index) { return index <= 0 ? 0 : 1 << index; }
std::int32_t MSCPSConnections(int index) { return index < 0 ? 0 : index + 2; }

// A list group of the shown record: "Windows Default" gives the default
// value and no item; "Custom" keeps the file's item, and a chosen item gives
// the value it stands for.
void CheckListGroup(bool fileCustom, std::int16_t fileIndex, bool custom, std::int16_t index,
                    std::int64_t value, int selected, std::int64_t defaultValue,
                    std::int64_t itemValue) {
  FUZZ_CHECK(custom == fileCustom);
  FUZZ_CHECK(selected == index);
  if (!custom) {
    FUZZ_CHECK(index == -1 && value == defaultValue);
    return;
  }
  FUZZ_CHECK(index == fileIndex);
  if (index >= 0) FUZZ_CHECK(value == itemValue);
}

// The main window loading the file: what the user sees and what Apply would write.
void CheckShown(const std::string& bytes, const ConnectionSettings& previous,
                const ConnectionSettings& file) {
  doubles::FakeKestrel fake;
  fake.files.Put(fake.ProgramFile("\\Kestrel.cfg"), bytes);
  fake.app.CurrentSettings = previous;
  doubles::RecordingHost host(fake.messages);
  kestrel::MainWindowModel window(fake.app, host);
  window.Load();

  const ConnectionSettings& s = fake.app.CurrentSettings;
  const kestrel::SettingsPanel& panel = window.panel().controls();
  const ConnectionSettings& defaults = fake.app.presets.WindowsDefaults;
  // Neither a message nor the mode dialog, which the host logs among the messages.
  FUZZ_CHECK(fake.messages.shown.empty());
  FUZZ_CHECK(panel.cmbNetType.selected == file.ConnectionType);
  FUZZ_CHECK(panel.cmbOptimize.selected == file.OptiMode);
  FUZZ_CHECK(window.StatusPanels()[1] == "Mode: " + kestrel::lists::Optimize()[file.OptiMode]);

  if (file.OptiMode != kManualMode) {
    FUZZ_CHECK(s == fake.app.presets.ForAutomaticMode(file.OptiMode, file.ConnectionType));
    return;
  }
  FUZZ_CHECK(s.ConnectionType == file.ConnectionType && s.OptiMode == kManualMode);
  CheckListGroup(file.RWINCustom, file.RWINIndex, s.RWINCustom, s.RWINIndex, s.RWIN,
                 panel.cmbRWIN.selected, defaults.RWIN,
                 static_cast<std::int64_t>(s.MTU) * RWINMultiplier(s.RWINIndex));
  CheckListGroup(file.SKACustom, file.SKAIndex, s.SKACustom, s.SKAIndex, s.SKA,
                 panel.cmbSKA.selected, defaults.SKA, SKAMilliseconds(s.SKAIndex));
  CheckListGroup(file.NDICustom, file.NDIIndex, s.NDICustom, s.NDIIndex, s.NDI,
                 panel.cmbNDI.selected, defaults.NDI, NDIEntries(s.NDIIndex));
  FUZZ_CHECK(s.MSCPS0Index == file.MSCPS0Index && panel.cmbMSCPS0.selected == s.MSCPS0Index);
  FUZZ_CHECK(s.MSCPS1Index == file.MSCPS1Index && panel.cmbMSCPS1.selected == s.MSCPS1Index);
  FUZZ_CHECK(s.MSCPS0 == MSCPSConnections(s.MSCPS0Index));
  FUZZ_CHECK(s.MSCPS1 == MSCPSConnections(s.MSCPS1Index));
  FUZZ_CHECK(s.PMTU == file.PMTU && s.BlackHole == file.BlackHole);
  FUZZ_CHECK(s.MTUCustom == file.MTUCustom && s.TTLCustom == file.TTLCustom);
  if (!s.MTUCustom) FUZZ_CHECK(s.MTU == defaults.MTU);
  if (!s.TTLCustom) FUZZ_CHECK(s.TTL == defaults.TTL);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const ConnectionSettings previous = PreviousRecord(bytes);
  const auto read = kestrel::ParseSettingsFile(bytes, previous);
  if (!read) return 0;
  const ConnectionSettings& s = *read;

  FUZZ_CHECK(Inside(s.ConnectionType, kestrel::lists::NetType().size(), false));
  FUZZ_CHECK(Inside(s.OptiMode, kestrel::lists::Optimize().size(), false));
  if (s.OptiMode == kManualMode) {
    FUZZ_CHECK(Inside(s.RWINIndex, kestrel::lists::RWIN().size(), true));
    FUZZ_CHECK(Inside(s.SKAIndex, kestrel::lists::SKA().size(), true));
    FUZZ_CHECK(Inside(s.NDIIndex, kestrel::lists::NDI().size(), true));
    FUZZ_CHECK(Inside(s.MSCPS0Index, kestrel::lists::MSCPS().size(), true));
    FUZZ_CHECK(Inside(s.MSCPS1Index, kestrel::lists::MSCPS().size(), true));
  } else {
    ConnectionSettings kept = previous;
    kept.ConnectionType = s.ConnectionType;
    kept.OptiMode = s.OptiMode;
    FUZZ_CHECK(s == kept);
  }

  // What the writer makes of it reads back as the same record and the same bytes.
  const std::string written = kestrel::FormatSettingsFile(s);
  const auto reread = kestrel::ParseSettingsFile(written, previous);
  FUZZ_CHECK(reread.has_value() && *reread == s);
  FUZZ_CHECK(kestrel::FormatSettingsFile(*reread) == written);

  CheckShown(bytes, previous, s);
  return 0;
}
