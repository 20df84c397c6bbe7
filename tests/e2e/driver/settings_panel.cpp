#include "tests/e2e/driver/settings_panel.h"

#include <vector>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/wait.h"

namespace e2e {
namespace {

namespace ids = kestrel::ids;

std::string Error() {
  return "error " + std::to_string(GetLastError());
}

}  // namespace

void SettingsPanel::Click(int id) const {
  Control(id).Click();
  Settle();
}

void SettingsPanel::Choose(int id, int index) const {
  Control(id).ComboSelect(index);
  Settle();
}

void SettingsPanel::Choose(int id, std::string_view item) const {
  Control(id).ComboSelect(item);
  Settle();
}

void SettingsPanel::SetText(int id, std::string_view text) const {
  // Sent, not posted, so it would overtake earlier posted clicks.
  Settle();
  Control(id).SetText(text);
}

void SettingsPanel::PressApply() const {
  Control(ids::cmdApply).Click();
}

std::string SettingsPanel::Describe() const {
  struct Group {
    const char* name;
    int frame, default_option, custom_option, input;
    bool text;
  };
  static constexpr Group kGroups[] = {
      {"MTU", ids::Frame2, ids::optMTU1, ids::optMTU2, ids::txtMTU, true},
      {"RWIN", ids::Frame3, ids::optRWIN1, ids::optRWIN2, ids::cmbRWIN, false},
      {"TTL", ids::Frame4, ids::optTTL1, ids::optTTL2, ids::txtTTL, true},
      {"SKA", ids::Frame5, ids::optSKA1, ids::optSKA2, ids::cmbSKA, false},
      {"NDI", ids::Frame6, ids::optNDI1, ids::optNDI2, ids::cmbNDI, false},
  };
  std::string out = "type=" + std::to_string(Control(ids::cmbNetType).ComboSelection()) +
                    " optimize=" + std::to_string(Control(ids::cmbOptimize).ComboSelection()) +
                    " [" + Control(ids::StatusBar1).StatusText(1) + "]";
  int enabled = 0, disabled = 0;
  const auto count = [&](const Window& control) { control.Enabled() ? ++enabled : ++disabled; };
  for (const Group& g : kGroups) {
    const Window use_default = Control(g.default_option);
    const Window custom = Control(g.custom_option);
    const Window input = Control(g.input);
    out += std::string(" ") + g.name + "=";
    if (use_default.Checked() && !custom.Checked()) {
      out += "default";
    } else if (custom.Checked() && !use_default.Checked()) {
      out += "custom";
    } else {
      out += use_default.Checked() ? "both" : "none";
    }
    const std::string value = g.text ? input.Text() : input.ComboSelectedText();
    if (!value.empty()) out += ":" + value;
    if (input.Enabled()) out += "*";
    count(use_default);
    count(custom);
    count(Control(g.frame));
  }
  const Window pmtu = Control(ids::chkPMTU);
  const Window black_hole = Control(ids::chkBlackHole);
  const Window mscps0 = Control(ids::cmbMSCPS0);
  const Window mscps1 = Control(ids::cmbMSCPS1);
  out += " PMTU=" + std::to_string(pmtu.CheckState()) +
         " BlackHole=" + std::to_string(black_hole.CheckState()) +
         " MSCPS0=" + mscps0.ComboSelectedText() + " MSCPS1=" + mscps1.ComboSelectedText();
  for (const Window& control : {pmtu, black_hole, mscps0, mscps1, Control(ids::Frame7),
                                Control(ids::Label3), Control(ids::Label4)}) {
    count(control);
  }
  out += std::string(" panel=") + (disabled == 0 ? "on" : enabled == 0 ? "off" : "mixed");
  return out;
}

void SettingsPanel::Settle() const {
  // The connection-type list is filled once.
  SettleThread(Control(ids::cmbNetType), main_);
}

void PrintTo(const RegistryValue& value, std::ostream* out) {
  static constexpr char kHex[] = "0123456789abcdef";
  *out << value.Describe() << " [";
  for (std::size_t i = 0; i < value.data.size(); ++i) {
    if (i) *out << ' ';
    *out << kHex[value.data[i] >> 4] << kHex[value.data[i] & 15];
  }
  *out << "]";
}

void CreateVolatileRegistryKey(std::string_view key) {
  const std::size_t slash = key.find('\\');
  const std::string root = std::string(key.substr(0, slash));
  if (root != "HKLM" && root != "HKEY_LOCAL_MACHINE") {
    throw Failure("volatile keys are made below HKLM only, not " + std::string(key));
  }
  const std::string subkey(key.substr(slash + 1));
  HKEY handle = nullptr;
  DWORD disposition = 0;
  const LONG result =
      RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &handle, &disposition);
  if (result != ERROR_SUCCESS) {
    throw Failure("cannot create the volatile key " + std::string(key) + ": error " +
                  std::to_string(result));
  }
  RegCloseKey(handle);
  if (disposition != REG_CREATED_NEW_KEY) {
    throw Failure(std::string(key) + " existed already, so it is not volatile");
  }
}

HeldFile::HeldFile(const std::string& path) {
  handle_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) throw Failure("cannot hold " + path + " open: " + Error());
}

HeldFile::~HeldFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

}  // namespace e2e

namespace e2e {
namespace {

// Values the program writes, in the keys it shares with the system.
constexpr const char* kMstcpValues[] = {"DefaultRcvWindow", "DefaultTTL", "SessionKeepAlive",
                                        "PMTUDiscovery", "PMTUBlackHoleDetect"};
constexpr const char* kTcpipValues[] = {
    "GlobalMaxTcpWindowSize", "TcpWindowSize",       "DefaultTTL",
    "KeepAliveTime",          "EnablePMTUDiscovery", "EnablePMTUBHDetect"};
constexpr const char* kInternetValues[] = {"MaxConnectionsPer1_0Server", "MaxConnectionsPerServer"};

// The per-interface keys below Services that earlier cases created.
void DeleteInterfaceKeys(const std::string& services) {
  const std::string interfaces = services + keys::kInterfacesSuffix;
  for (const std::string& name : RegistrySubkeys(interfaces)) {
    DeleteRegistryKey(services + "\\" + name);
  }
  DeleteRegistryKey(interfaces);
}

}  // namespace

void SettingsScenario::SetUp() {
  KestrelTest::SetUp();
  for (const char* name : kMstcpValues) DeleteRegistryValue(keys::kMstcp, name);
  for (const char* services : {keys::kServicesCurrent, keys::kServices001}) {
    const std::string tcpip = std::string(services) + keys::kTcpipSuffix;
    for (const char* name : kTcpipValues) DeleteRegistryValue(tcpip, name);
    DeleteInterfaceKeys(services);
  }
  for (const char* name : kInternetValues) DeleteRegistryValue(keys::kInternetSettings, name);
  DeleteRegistryKey(keys::kNetTrans);
  DeleteRegistryKey(keys::kNwLink);
}

std::vector<NamedValue> NtTunedValues(std::string_view interface_name) {
  const std::string name(interface_name);
  std::vector<NamedValue> values;
  for (const char* services : {keys::kServicesCurrent, keys::kServices001}) {
    const std::string tcpip = std::string(services) + keys::kTcpipSuffix;
    for (const char* value : kTcpipValues) values.push_back({tcpip, value});
    values.push_back({std::string(services) + keys::kInterfacesSuffix + "\\" + name, "MTU"});
    values.push_back({std::string(services) + "\\" + name + keys::kInterfaceTcpipSuffix, "MTU"});
  }
  for (const char* value : kInternetValues) values.push_back({keys::kInternetSettings, value});
  values.push_back({keys::kNdiCacheSize, ""});
  return values;
}

ValuesSnapshot ReadValues(const std::vector<NamedValue>& values) {
  ValuesSnapshot snapshot;
  for (const NamedValue& v : values) snapshot.push_back(ReadRegistryValue(v.key, v.name));
  return snapshot;
}

void ExpectValues(const std::vector<NamedValue>& values, const ValuesSnapshot& expected,
                  std::string_view when) {
  const ValuesSnapshot now = ReadValues(values);
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(now[i], expected[i]) << when << ": " << values[i].key << " \"" << values[i].name
                                   << "\"";
  }
}

std::string CustomValuesFile(int connection_type, int mode) {
  return "ConnectionType," + std::to_string(connection_type) + "\r\nOptiMode," +
         std::to_string(mode) +
         "\r\nMTU,#TRUE#,1400\r\nRWIN,#TRUE#,2,11200\r\nTTL,#TRUE#,64\r\n"
         "SKA,#TRUE#,4,300000\r\nNDI,#TRUE#,4,16\r\nPMTU,#FALSE#\r\nBlackHole,#TRUE#\r\n"
         "MSCPS0,8,10\r\nMSCPS1,4,6\r\n";
}

std::string WindowsDefaultsFile(int connection_type) {
  return "ConnectionType," + std::to_string(connection_type) +
         "\r\nOptiMode,3\r\nMTU,#FALSE#,1500\r\nRWIN,#FALSE#,-1,8192\r\nTTL,#FALSE#,32\r\n"
         "SKA,#FALSE#,-1,3600000\r\nNDI,#FALSE#,-1,0\r\nPMTU,#TRUE#\r\nBlackHole,#FALSE#\r\n"
         "MSCPS0,0,2\r\nMSCPS1,2,4\r\n";
}

App& SettingsScenario::StartOn(std::string_view version) {
  SetKestrelVersion(version);
  return StartKestrel();
}

void SettingsScenario::ChooseAutomaticMode(const SettingsPanel& panel, int mode) const {
  panel.Choose(ids::cmbOptimize, mode);
  const Window status = panel.Control(ids::StatusBar1);
  const std::string expected = "Mode: Automatic #" + std::to_string(mode + 1);
  EXPECT_EQ(Eventually([&] { return status.StatusText(1); }, expected), expected);
}

Window SettingsScenario::WaitForModeInformation(const App& app) const {
  return app.WaitForWindow(ids::kDisplayWindowClass, ids::DisplayLabel2);
}

void SettingsScenario::CloseModeInformation(const Window& dialog) const {
  dialog.Child(ids::cmdOK).Click();
  WaitUntil([&] { return !dialog.Exists() || !dialog.Visible(); },
            "the mode information dialog to close");
}

void SettingsScenario::ExpectBoxAndAnswer(const App& app, std::string_view message,
                                          std::vector<int> buttons, int answer,
                                          std::string_view screenshot_tag) {
  const MessageBoxWindow box = app.WaitForMessageBox();
  if (!screenshot_tag.empty()) Screenshot(box, screenshot_tag);
  EXPECT_EQ(box.Caption(), "Kestrel");
  EXPECT_EQ(box.Message(), message);
  EXPECT_EQ(box.Buttons(), buttons) << box.Describe();
  EXPECT_EQ(box.Icon(), MessageIcon::kInformation) << ToString(box.Icon());
  box.AnswerAndWait(answer);
}

void SettingsScenario::ExpectAppliedAndDeclineRestart(const App& app) {
  ExpectBoxAndAnswer(app, kAppliedMessage, {IDOK}, IDOK);
  ExpectBoxAndAnswer(app, kRestartQuestion, {IDYES, IDNO}, IDNO);
  ExpectBoxAndAnswer(app, kRestartReminder, {IDOK}, IDOK);
  ExpectNoBox(app);
}

void SettingsScenario::ExpectNoBox(const App& app) const {
  Pause(Millis{300});
  const auto box = app.FindMessageBox();
  EXPECT_FALSE(box.has_value()) << box->Describe();
}

void SettingsPanel::SetCustomValues() const {
  namespace ids = kestrel::ids;
  Click(ids::optMTU2);
  SetText(ids::txtMTU, "1400");
  Click(ids::optRWIN2);
  Choose(ids::cmbRWIN, "x8");
  Click(ids::optTTL2);
  SetText(ids::txtTTL, "64");
  Click(ids::optSKA2);
  Choose(ids::cmbSKA, "5 min.");
  Click(ids::optNDI2);
  Choose(ids::cmbNDI, "16");
  Click(ids::chkPMTU);
  Click(ids::chkBlackHole);
  Choose(ids::cmbMSCPS0, "10");
  Choose(ids::cmbMSCPS1, "6");
}

}  // namespace e2e
