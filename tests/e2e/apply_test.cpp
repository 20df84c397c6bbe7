// Apply: what the user is told, what lands in the registry and in Kestrel.cfg,
// for every mode on both families of Windows, and the restart it offers.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
namespace keys = e2e::keys;
using e2e::App;
using e2e::DwordValue;
using e2e::ReadRegistryValue;
using e2e::RegistryValue;
using e2e::SettingsPanel;
using e2e::StringValue;
using e2e::Window;
using e2e::WriteRegistryValue;
using Value = std::optional<RegistryValue>;

const char* const kConnectionTypes[] = {"Dial-up Networking (Modem)",
                                        "LAN, Cable Modem, xDSL, ISDN, T1, T2",
                                        "Cable/xDSL running PPPoE/PPTP", "DirectPc (Satellite)"};

// A stale value where the program must write or delete one.
constexpr DWORD kStale = 999;

// Interfaces, each with its own fate: the first has its Services key
// already, the others get theirs created by the program.
const char* const kInterfacesCurrent[] = {"{11111111-0000-0000-0000-000000000001}",
                                          "{22222222-0000-0000-0000-000000000002}"};
const char* const kInterfaces001[] = {"{33333333-0000-0000-0000-000000000003}"};

// What one mode writes; nothing stands for a deleted value.
struct Written {
  std::optional<DWORD> rwin;
  DWORD ttl;
  DWORD keep_alive;
  DWORD pmtu;
  DWORD black_hole;
  DWORD mscps0;
  DWORD mscps1;
  std::optional<DWORD> mtu;
  DWORD ndi;
};

struct ApplyCase {
  const char* name;
  const char* version;  // win98: the 95 family; winxp: the NT family
  bool nt;
  int connection_type;
  int mode;  // 0 to 2 automatic, 3 Manual with the custom panel below
  Written written;
  std::string file;
};

constexpr Written kAutomatic1{4288, 128, 600000, 1, 0, 16, 8, 576, 0};
constexpr Written kAutomatic2{std::nullopt, 128, 600000, 1, 0, 16, 8, 576, 0};
constexpr Written kAutomatic3{std::nullopt, 128, 600000, 1, 0, 16, 8, std::nullopt, 0};
// MTU 1400 custom, RWIN x8, TTL 64, 5 min., NDI 16, PMTU off, black-hole
// detection on, 10 and 6 connections.
constexpr Written kManualCustom{11200, 64, 300000, 0, 1, 10, 6, 1400, 16};

const std::string kManualCustomFile = e2e::CustomValuesFile(2);

void PrintTo(const ApplyCase& c, std::ostream* out) {
  *out << c.name;
}

std::optional<RegistryValue> Dword(std::optional<DWORD> value) {
  if (!value) return std::nullopt;
  return DwordValue(*value);
}

std::string Join(std::string_view a, std::string_view b) {
  return std::string(a) + "\\" + std::string(b);
}

void ExpectValue(const std::string& key, const char* name, const Value& expected) {
  EXPECT_EQ(ReadRegistryValue(key, name), expected) << key << " \"" << name << "\"";
}

// The values both layouts may touch, stale, and the keys they enumerate.
void SeedRegistry() {
  WriteRegistryValue(keys::kMstcp, "DefaultRcvWindow", DwordValue(kStale));
  for (const char* n : {"0000", "0001"}) {
    WriteRegistryValue(Join(keys::kNetTrans, n), "MaxMTU", DwordValue(kStale));
    WriteRegistryValue(Join(keys::kNetTrans, n), "MaxMSS", DwordValue(kStale - 40));
  }
  for (const char* services : {keys::kServicesCurrent, keys::kServices001}) {
    const std::string tcpip = std::string(services) + keys::kTcpipSuffix;
    WriteRegistryValue(tcpip, "GlobalMaxTcpWindowSize", DwordValue(kStale));
    WriteRegistryValue(tcpip, "TcpWindowSize", DwordValue(kStale));
  }
  const std::string current = std::string(keys::kServicesCurrent) + keys::kInterfacesSuffix;
  for (const char* n : kInterfacesCurrent) {
    WriteRegistryValue(Join(current, n), "MTU", DwordValue(kStale));
  }
  WriteRegistryValue(
      Join(keys::kServicesCurrent, kInterfacesCurrent[0]) + keys::kInterfaceTcpipSuffix, "MTU",
      DwordValue(kStale));
  const std::string cs001 = std::string(keys::kServices001) + keys::kInterfacesSuffix;
  for (const char* n : kInterfaces001)
    WriteRegistryValue(Join(cs001, n), "MTU", DwordValue(kStale));
}

void ExpectWindows95Layout(const Written& w) {
  ExpectValue(keys::kMstcp, "DefaultRcvWindow", Dword(w.rwin));
  // The only text value: the number with its terminating zero.
  ExpectValue(keys::kMstcp, "DefaultTTL", StringValue(std::to_string(w.ttl)));
  ExpectValue(keys::kMstcp, "SessionKeepAlive", DwordValue(w.keep_alive));
  ExpectValue(keys::kMstcp, "PMTUDiscovery", DwordValue(w.pmtu));
  ExpectValue(keys::kMstcp, "PMTUBlackHoleDetect", DwordValue(w.black_hole));
  ExpectValue(keys::kInternetSettings, "MaxConnectionsPer1_0Server", DwordValue(w.mscps0));
  ExpectValue(keys::kInternetSettings, "MaxConnectionsPerServer", DwordValue(w.mscps1));
  for (const char* n : {"0000", "0001"}) {
    ExpectValue(Join(keys::kNetTrans, n), "MaxMTU", Dword(w.mtu));
    ExpectValue(Join(keys::kNetTrans, n), "MaxMSS",
                Dword(w.mtu ? std::optional<DWORD>(*w.mtu - 40) : std::nullopt));
  }
  ExpectValue(keys::kNdiCacheSize, "", DwordValue(w.ndi));

  // The NT family's values stay as they were.
  const std::string tcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;
  ExpectValue(tcpip, "TcpWindowSize", DwordValue(kStale));
  ExpectValue(tcpip, "DefaultTTL", std::nullopt);
  ExpectValue(
      Join(std::string(keys::kServicesCurrent) + keys::kInterfacesSuffix, kInterfacesCurrent[1]),
      "MTU", DwordValue(kStale));
}

void ExpectNtLayout(const Written& w) {
  for (const char* services : {keys::kServices001, keys::kServicesCurrent}) {
    const std::string tcpip = std::string(services) + keys::kTcpipSuffix;
    ExpectValue(tcpip, "GlobalMaxTcpWindowSize", Dword(w.rwin));
    ExpectValue(tcpip, "TcpWindowSize", Dword(w.rwin));
    ExpectValue(tcpip, "DefaultTTL", DwordValue(w.ttl));
    ExpectValue(tcpip, "KeepAliveTime", DwordValue(w.keep_alive));
    ExpectValue(tcpip, "EnablePMTUDiscovery", DwordValue(w.pmtu));
    ExpectValue(tcpip, "EnablePMTUBHDetect", DwordValue(w.black_hole));

    // Every interface listed there, including those whose Services key the
    // program had to create (also for a deletion).
    const std::string interfaces = std::string(services) + keys::kInterfacesSuffix;
    const std::vector<std::string> names = e2e::RegistrySubkeys(interfaces);
    EXPECT_FALSE(names.empty()) << interfaces;
    for (const std::string& n : names) {
      ExpectValue(Join(interfaces, n), "MTU", Dword(w.mtu));
      const std::string per_service = Join(services, n) + keys::kInterfaceTcpipSuffix;
      EXPECT_TRUE(e2e::RegistryKeyExists(per_service)) << per_service;
      ExpectValue(per_service, "MTU", Dword(w.mtu));
    }
  }
  // Written without the leading backslash, so that the limits arrive.
  ExpectValue(keys::kInternetSettings, "MaxConnectionsPer1_0Server", DwordValue(w.mscps0));
  ExpectValue(keys::kInternetSettings, "MaxConnectionsPerServer", DwordValue(w.mscps1));
  ExpectValue(keys::kNdiCacheSize, "", DwordValue(w.ndi));

  // The 95 family's values stay as they were.
  ExpectValue(keys::kMstcp, "DefaultRcvWindow", DwordValue(kStale));
  ExpectValue(keys::kMstcp, "DefaultTTL", std::nullopt);
  ExpectValue(Join(keys::kNetTrans, "0000"), "MaxMTU", DwordValue(kStale));
}

class Apply : public e2e::SettingsScenario, public ::testing::WithParamInterface<ApplyCase> {
 protected:
  void ExpectModeInformation(const App& app, const ApplyCase& c) {
    const Window dialog = WaitForModeInformation(app);
    Screenshot(dialog, "frmDisplay");
    EXPECT_EQ(dialog.Text(), kConnectionTypes[c.connection_type]);
    EXPECT_EQ(dialog.Child(ids::DisplayLabel1).Text(), "You choose to use the \"Automatic #" +
                                                           std::to_string(c.mode + 1) +
                                                           " Optimization Mode\".");
    EXPECT_EQ(dialog.Child(ids::DisplayLabel2).Text(),
              "After a lot of research, Kestrel offers three different Automatic Optimization "
              "Modes which will improve your connection speed.\r\n\r\nYou should try all three "
              "of them to find out which one suits your Hardware Configuration best.");
    // Nothing is saved while the dialog is open.
    EXPECT_FALSE(SettingsFile().has_value());
    CloseModeInformation(dialog);
  }
};

TEST_P(Apply, WritesTheRegistryAndTheSettingsFile) {
  const ApplyCase& c = GetParam();
  SeedRegistry();
  App& app = StartOn(c.version);
  const Window main = WaitForMainWindow(app);
  const SettingsPanel panel(main);

  panel.Choose(ids::cmbNetType, c.connection_type);
  if (c.mode == 3) {
    panel.SetCustomValues();
  } else {
    ChooseAutomaticMode(panel, c.mode);
  }
  Screenshot(main, "panel");

  panel.PressApply();
  if (c.mode != 3) ExpectModeInformation(app, c);
  ExpectAppliedAndDeclineRestart(app);

  EXPECT_EQ(SettingsFile(), std::optional<std::string>(c.file));
  if (c.nt) {
    ExpectNtLayout(c.written);
  } else {
    ExpectWindows95Layout(c.written);
  }
  EXPECT_TRUE(app.Running()) << app.DescribeState();
}

INSTANTIATE_TEST_SUITE_P(
    ModesAndFamilies, Apply,
    ::testing::Values(
        ApplyCase{"Win98Automatic1", "win98", false, 1, 0, kAutomatic1,
                  "ConnectionType,1\r\nOptiMode,0\r\n"},
        ApplyCase{"Win98Automatic2", "win98", false, 2, 1, kAutomatic2,
                  "ConnectionType,2\r\nOptiMode,1\r\n"},
        ApplyCase{"Win98Automatic3", "win98", false, 3, 2, kAutomatic3,
                  "ConnectionType,3\r\nOptiMode,2\r\n"},
        ApplyCase{"Win98Manual", "win98", false, 2, 3, kManualCustom, kManualCustomFile},
        ApplyCase{"WinXPAutomatic1", "winxp", true, 0, 0, kAutomatic1,
                  "ConnectionType,0\r\nOptiMode,0\r\n"},
        ApplyCase{"WinXPAutomatic2", "winxp", true, 3, 1, kAutomatic2,
                  "ConnectionType,3\r\nOptiMode,1\r\n"},
        ApplyCase{"WinXPAutomatic3", "winxp", true, 1, 2, kAutomatic3,
                  "ConnectionType,1\r\nOptiMode,2\r\n"},
        ApplyCase{"WinXPManual", "winxp", true, 2, 3, kManualCustom, kManualCustomFile}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace

namespace {

// Yes to the restart question asks Windows to end the session: every
// program with a window is asked to end (the witness records it), Kestrel
// ends with it, and the console driver carries on.
class Restart : public e2e::SettingsScenario {};

TEST_F(Restart, YesEndsTheSession) {
  Dir().Install(e2e::BuiltProgram("KESTREL_WITNESS_EXE"), "witness.exe");
  App& witness = Start("witness.exe", Dir().PathOf("session.log"));
  witness.WaitForWindow("KestrelEndSessionWitness");
  e2e::WaitUntil([&] { return Dir().ReadFile("session.log") == "started\r\n"; },
                 "the witness to start recording");

  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  ChooseAutomaticMode(panel, 0);
  panel.PressApply();
  CloseModeInformation(WaitForModeInformation(app));
  ExpectBoxAndAnswer(app, e2e::kAppliedMessage, {IDOK}, IDOK);
  ExpectBoxAndAnswer(app, e2e::kRestartQuestion, {IDYES, IDNO}, IDYES);

  app.WaitForExit(e2e::Millis{10000});
  witness.WaitForExit(e2e::Millis{10000});
  const std::string log = Dir().ReadFile("session.log").value_or("(no record)");
  EXPECT_NE(log.find("WM_QUERYENDSESSION\r\n"), std::string::npos) << log;
  // Nothing is lost: the settings were saved and written before the request.
  EXPECT_EQ(SettingsFile(), std::optional<std::string>("ConnectionType,0\r\nOptiMode,0\r\n"));
  EXPECT_EQ(
      ReadRegistryValue(std::string(keys::kServicesCurrent) + keys::kTcpipSuffix, "DefaultTTL"),
      DwordValue(128));
}

// A value the registry refuses is reported instead of success, and no
// restart is offered; the other values are written all the same.
class RegistryRefuses : public e2e::SettingsScenario,
                        public ::testing::WithParamInterface<const char*> {};

TEST_P(RegistryRefuses, TheUserIsToldToRunAsAdministrator) {
  // Below a volatile key no lasting key can be made, so the NDI cache key
  // cannot be created.
  e2e::CreateVolatileRegistryKey(keys::kNwLink);
  App& app = StartOn(GetParam());
  const SettingsPanel panel(WaitForMainWindow(app));
  ChooseAutomaticMode(panel, 1);
  panel.PressApply();
  CloseModeInformation(WaitForModeInformation(app));

  const e2e::MessageBoxWindow box = app.WaitForMessageBox();
  Screenshot(box, "box");
  const std::string message = box.Message();
  EXPECT_NE(message.find("could not be written to the registry"), std::string::npos)
      << box.Describe();
  EXPECT_NE(message.find("administrator"), std::string::npos) << box.Describe();
  EXPECT_EQ(box.Buttons(), std::vector<int>{IDOK}) << box.Describe();
  box.AnswerAndWait(IDOK);
  ExpectNoBox(app);

  EXPECT_FALSE(e2e::RegistryKeyExists(keys::kNdiCacheSize));
  EXPECT_EQ(ReadRegistryValue(keys::kInternetSettings, "MaxConnectionsPerServer"), DwordValue(8));
  EXPECT_EQ(SettingsFile(), std::optional<std::string>("ConnectionType,0\r\nOptiMode,1\r\n"));
  EXPECT_TRUE(app.Running()) << app.DescribeState();
}

INSTANTIATE_TEST_SUITE_P(Families, RegistryRefuses, ::testing::Values("win98", "winxp"),
                         [](const auto& test) { return std::string(test.param); });

}  // namespace
