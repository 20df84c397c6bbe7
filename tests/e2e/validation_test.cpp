// A Manual panel that cannot be applied: which message the user gets, and
// that nothing is saved or written; the number boxes take digits only.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "kestrel/control_ids.h"
#include "tests/e2e/driver/kestrel.h"
#include "tests/e2e/driver/registry.h"
#include "tests/e2e/driver/settings_panel.h"

namespace {

namespace ids = kestrel::ids;
namespace keys = e2e::keys;
using e2e::App;
using e2e::SettingsPanel;
using e2e::Window;

const std::string kTcpip = std::string(keys::kServicesCurrent) + keys::kTcpipSuffix;

struct RejectedCase {
  const char* name;
  std::function<void(const SettingsPanel&)> make_invalid;
  const char* message;
};

void PrintTo(const RejectedCase& c, std::ostream* out) {
  *out << c.name;
}

void CustomMtu(const SettingsPanel& panel, const char* text) {
  panel.Click(ids::optMTU2);
  panel.SetText(ids::txtMTU, text);
}

void CustomTtl(const SettingsPanel& panel, const char* text) {
  panel.Click(ids::optTTL2);
  panel.SetText(ids::txtTTL, text);
}

constexpr const char* kInvalidMtu = "Invalid MTU. Enter Valid One.";
constexpr const char* kInvalidTtl = "Invalid TTL. Enter Valid One.";
constexpr const char* kInvalidMscps10 = "Invalid MSCPS using HTTP 1.0 Value. Select Valid One.";

class Rejected : public e2e::SettingsScenario,
                 public ::testing::WithParamInterface<RejectedCase> {};

// Each case starts from the first start's panel, Manual with the Windows
// defaults, which is valid, and spoils one thing (or two, for the order).
TEST_P(Rejected, ShowsTheFirstProblemAndSavesNothing) {
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  GetParam().make_invalid(panel);

  panel.PressApply();
  const bool screenshot = std::string(GetParam().name) == "NoConnectionType";
  ExpectBoxAndAnswer(app, GetParam().message, {IDOK}, IDOK, screenshot ? "box" : "");
  ExpectNoBox(app);

  EXPECT_FALSE(SettingsFile().has_value());
  EXPECT_FALSE(Dir().Exists("Kestrel.cfg.new"));
  EXPECT_EQ(e2e::ReadRegistryValue(kTcpip, "DefaultTTL"), std::nullopt);
  EXPECT_EQ(e2e::ReadRegistryValue(keys::kInternetSettings, "MaxConnectionsPerServer"),
            std::nullopt);
  EXPECT_TRUE(panel.Main().Enabled()) << "the main window stays disabled after the box";
  EXPECT_TRUE(app.Running()) << app.DescribeState();
}

INSTANTIATE_TEST_SUITE_P(
    ManualPanels, Rejected,
    ::testing::Values(
        // A drop-down list cannot be emptied with the mouse, but the program's
        // own code clears lists, and the check must hold then too.
        RejectedCase{"NoConnectionType",
                     [](const SettingsPanel& p) { p.Choose(ids::cmbNetType, -1); },
                     "Invalid Connection Type. Select Valid One."},
        RejectedCase{"NoOptimizationMode",
                     [](const SettingsPanel& p) { p.Choose(ids::cmbOptimize, -1); },
                     "Invalid Optimization Mode. Select Valid One."},
        RejectedCase{"NoHttp10Limit", [](const SettingsPanel& p) { p.Choose(ids::cmbMSCPS0, -1); },
                     kInvalidMscps10},
        RejectedCase{"NoHttp11Limit", [](const SettingsPanel& p) { p.Choose(ids::cmbMSCPS1, -1); },
                     "Invalid MSCPS using HTTP 1.1 value. Select Valid One."},
        RejectedCase{"CustomMtuEmpty", [](const SettingsPanel& p) { p.Click(ids::optMTU2); },
                     kInvalidMtu},
        RejectedCase{"CustomRwinWithoutMultiplier",
                     [](const SettingsPanel& p) { p.Click(ids::optRWIN2); },
                     "Invalid RWIN. Select Valid One."},
        RejectedCase{"CustomTtlEmpty", [](const SettingsPanel& p) { p.Click(ids::optTTL2); },
                     kInvalidTtl},
        RejectedCase{"CustomKeepAliveWithoutTime",
                     [](const SettingsPanel& p) { p.Click(ids::optSKA2); },
                     "Invalid Session Keep Alive. Select Valid One."},
        RejectedCase{"CustomNdiWithoutSize", [](const SettingsPanel& p) { p.Click(ids::optNDI2); },
                     "Invalid NDI Cache. Select Valid One."},
        // Two problems: only the first in the order of the checks is told.
        RejectedCase{"MtuEmptyAndRwinWithoutMultiplier",
                     [](const SettingsPanel& p) {
                       p.Click(ids::optMTU2);
                       p.Click(ids::optRWIN2);
                     },
                     kInvalidMtu},
        RejectedCase{"Http10LimitBeforeMtu",
                     [](const SettingsPanel& p) {
                       p.Click(ids::optMTU2);
                       p.Choose(ids::cmbMSCPS0, -1);
                     },
                     kInvalidMscps10},
        RejectedCase{"RwinBeforeTtl",
                     [](const SettingsPanel& p) {
                       CustomTtl(p, "0");
                       p.Click(ids::optRWIN2);
                     },
                     "Invalid RWIN. Select Valid One."},
        // Numbers the stack cannot take.
        RejectedCase{"Mtu67", [](const SettingsPanel& p) { CustomMtu(p, "67"); }, kInvalidMtu},
        RejectedCase{"Mtu0", [](const SettingsPanel& p) { CustomMtu(p, "0"); }, kInvalidMtu},
        RejectedCase{"Mtu65536", [](const SettingsPanel& p) { CustomMtu(p, "65536"); },
                     kInvalidMtu},
        RejectedCase{"Ttl0", [](const SettingsPanel& p) { CustomTtl(p, "0"); }, kInvalidTtl},
        RejectedCase{"Ttl000", [](const SettingsPanel& p) { CustomTtl(p, "000"); }, kInvalidTtl},
        RejectedCase{"Ttl256", [](const SettingsPanel& p) { CustomTtl(p, "256"); }, kInvalidTtl}),
    [](const auto& test) { return std::string(test.param.name); });

struct AcceptedCase {
  const char* name;
  const char* mtu_text;
  const char* ttl_text;
  DWORD mtu;
  DWORD ttl;
};

void PrintTo(const AcceptedCase& c, std::ostream* out) {
  *out << c.name;
}

class Accepted : public e2e::SettingsScenario,
                 public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(Accepted, IsSavedAndWritten) {
  const AcceptedCase& c = GetParam();
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  CustomMtu(panel, c.mtu_text);
  CustomTtl(panel, c.ttl_text);

  panel.PressApply();
  ExpectAppliedAndDeclineRestart(app);

  const std::string file = SettingsFile().value_or("(no file)");
  EXPECT_NE(file.find("\r\nMTU,#TRUE#," + std::to_string(c.mtu) + "\r\n"), std::string::npos)
      << file;
  EXPECT_NE(file.find("\r\nTTL,#TRUE#," + std::to_string(c.ttl) + "\r\n"), std::string::npos)
      << file;
  EXPECT_EQ(e2e::ReadRegistryValue(kTcpip, "DefaultTTL"), e2e::DwordValue(c.ttl));
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Accepted,
                         ::testing::Values(AcceptedCase{"Lowest", "68", "1", 68, 1},
                                           AcceptedCase{"Highest", "65535", "255", 65535, 255},
                                           AcceptedCase{"LeadingZeros", "00068", "064", 68, 64}),
                         [](const auto& test) { return std::string(test.param.name); });

// Typed keys other than digits are refused; a paste is cut down to the
// digits the box can hold.
class NumberBoxes : public e2e::SettingsScenario {};

TEST_F(NumberBoxes, TakeDigitsOnly) {
  App& app = StartOn("winxp");
  const SettingsPanel panel(WaitForMainWindow(app));
  panel.Click(ids::optMTU2);
  panel.Click(ids::optTTL2);
  const Window mtu = panel.Control(ids::txtMTU);
  const Window ttl = panel.Control(ids::txtTTL);

  mtu.Type("14");
  mtu.Type("a");
  EXPECT_EQ(mtu.Text(), "14");
  mtu.Type("-.0 ");
  EXPECT_EQ(mtu.Text(), "140");
  mtu.Type("\b");
  EXPECT_EQ(mtu.Text(), "14");
  ttl.Type("x6");
  EXPECT_EQ(ttl.Text(), "6");

  panel.SetText(ids::txtMTU, "1a2b");
  EXPECT_EQ(mtu.Text(), "12");
  panel.SetText(ids::txtMTU, "123456");
  EXPECT_EQ(mtu.Text(), "12345");
  panel.SetText(ids::txtTTL, "1280");
  EXPECT_EQ(ttl.Text(), "128");
  EXPECT_TRUE(app.Running()) << app.DescribeState();
}

}  // namespace
