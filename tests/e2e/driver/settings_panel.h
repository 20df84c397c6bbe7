#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/windows_shim.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/window.h"

namespace e2e {

// Kestrel's settings panel, worked the way a user works it. A posted click
// or choice takes effect some time later, and a message sent meanwhile
// overtakes it; each of these returns only after the main window has handled
// everything posted to it so far, so that the next step sees the new state.
class SettingsPanel {
 public:
  explicit SettingsPanel(Window main) : main_(main) {}

  const Window& Main() const { return main_; }
  Window Control(int id) const { return main_.Child(id); }

  void Click(int id) const;
  // index -1 removes the selection, which a mouse cannot do but the
  // program's own code does.
  void Choose(int id, int index) const;
  void Choose(int id, std::string_view item) const;
  // Replaces an edit's text at once, as a paste does.
  void SetText(int id, std::string_view text) const;
  // Clicks Apply without waiting: Apply answers with modal windows.
  void PressApply() const;

  // A Manual panel with every group on a value of its own: MTU 1400, RWIN
  // x8, TTL 64, SKA "5 min.", NDI "16", PMTU and black-hole detection
  // flipped from their defaults, MSCPS "10" and "6".
  void SetCustomValues() const;

  // The panel in one line, the way a user sees it, for comparing whole
  // states: "type=1 optimize=3 [Mode: Manual] MTU=custom:1400* RWIN=default
  // ... PMTU=1 BlackHole=0 MSCPS0=2 MSCPS1=4 panel=on". A group reads
  // "default", "custom" or "none" (neither option), then the text or the
  // chosen item of its input after a colon, then "*" when its input is
  // enabled; "panel" is on, off or mixed for the enabled state of the rest.
  std::string Describe() const;

  // Waits until the thread of the main window has handled every message
  // posted to it before this call. Works while a modal window of that thread
  // is open, since its loop dispatches them too.
  void Settle() const;

 private:
  Window main_;
};

// Registry values in failure messages: type and bytes.
void PrintTo(const RegistryValue& value, std::ostream* out);

// A key created volatile: Windows refuses to create a lasting key below it,
// which makes any write of a program below that key fail.
void CreateVolatileRegistryKey(std::string_view key);

// A file held open with no sharing at all, as another program holding it
// would; closed when the object goes.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path);
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  ~HeldFile();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The messages of Apply, exactly as the program shows them.
inline constexpr const char* kAppliedMessage =
    "Changes Applied Successfully.\r\nYou need to restart the Machine to make chages affect.";
inline constexpr const char* kRestartQuestion =
    "System changes were successfully done.\r\n\r\nIn order to enjoy all the benefits of "
    "Kestrel, it is highly recommended to restart computer.\r\n\r\nWould you like to restart "
    "your computer now?";
inline constexpr const char* kRestartReminder =
    "Keep in mind that you must restart your computer\r\nbefore the new settings become "
    "effective.";

// The registry keys the program tunes, below HKLM.
namespace keys {
inline constexpr const char* kMstcp = "HKLM\\System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline constexpr const char* kNetTrans =
    "HKLM\\System\\CurrentControlSet\\Services\\Class\\NetTrans";
inline constexpr const char* kNwLink = "HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink";
inline constexpr const char* kNdiCacheSize =
    "HKLM\\System\\CurrentControlSet\\Services\\VxD\\NWLink\\Ndi\\params\\cachesize";
inline constexpr const char* kInternetSettings =
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr const char* kServicesCurrent = "HKLM\\SYSTEM\\CurrentControlSet\\Services";
inline constexpr const char* kServices001 = "HKLM\\SYSTEM\\ControlSet001\\Services";
inline constexpr const char* kTcpipSuffix = "\\Tcpip\\Parameters";
// Below Services\<interface>: the interface's own key.
inline constexpr const char* kInterfaceTcpipSuffix = "\\Parameters\\Tcpip";
inline constexpr const char* kInterfacesSuffix = "\\Tcpip\\Parameters\\Interfaces";
}  // namespace keys

// Named registry values read together, so that a scenario can compare the
// registry before and after.
struct NamedValue {
  std::string key;
  std::string name;
};
using ValuesSnapshot = std::vector<std::optional<RegistryValue>>;
// Every value Apply writes on the NT family, for the one interface named.
std::vector<NamedValue> NtTunedValues(std::string_view interface_name);
ValuesSnapshot ReadValues(const std::vector<NamedValue>& values);
// One failure for each value that differs from what was expected, with when.
void ExpectValues(const std::vector<NamedValue>& values, const ValuesSnapshot& expected,
                  std::string_view when);

// Kestrel.cfg with the values that SetCustomValues enters, as Apply saves
// them in mode Manual.
std::string CustomValuesFile(int connection_type, int mode = 3);
// Kestrel.cfg with every group on "Windows Default", as Restore saves it.
std::string WindowsDefaultsFile(int connection_type);

// A scenario of the settings: its registry keys are cleared first, since
// the cases of one parameterised scenario share their prefix.
class SettingsScenario : public KestrelTest {
 protected:
  void SetUp() override;

  // Starts Kestrel on the Windows version.
  App& StartOn(std::string_view version);
  std::optional<std::string> SettingsFile() { return Dir().ReadFile("Kestrel.cfg"); }

  // Chooses an automatic mode (0 to 2), which shows no dialog.
  void ChooseAutomaticMode(const SettingsPanel& panel, int mode) const;

  // The mode information dialog, once it shows its controls.
  Window WaitForModeInformation(const App& app) const;
  void CloseModeInformation(const Window& dialog) const;

  // Expects the next box to be the one given, with the information icon and
  // the buttons named, saves a screenshot when a tag is given, and answers it.
  void ExpectBoxAndAnswer(const App& app, std::string_view message, std::vector<int> buttons,
                          int answer, std::string_view screenshot_tag = {});
  // The boxes of an Apply that saved and wrote everything, with the restart declined.
  void ExpectAppliedAndDeclineRestart(const App& app);
  // No box shows up within a moment.
  void ExpectNoBox(const App& app) const;
};

}  // namespace e2e
