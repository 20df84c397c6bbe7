// The preview of the changes: what Apply would write on this Windows, shown
// before anything is written.
#include <gtest/gtest.h>

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

struct PreviewCase {
  const char* version;
  std::string value;     // a row, by the beginning of its first column
  const char* after;     // what that row's value becomes
  const char* readBy;    // how its last column begins
  const char* notRead;   // the end of the summary, before the Windows's name
  const char* again;     // the summary after Apply, once Automatic #3 is chosen
};

class Preview : public e2e::SettingsScenario,
                public ::testing::WithParamInterface<PreviewCase> {};

TEST_P(Preview, ShowsEveryChangeAndWritesNothing) {
  const PreviewCase& c = GetParam();
  App& app = StartOn(c.version);
  const Window main = WaitForMainWindow(app);
  const SettingsPanel panel(main);
  ChooseAutomaticMode(panel, 0);
  const std::string os = main.Child(ids::StatusBar1).StatusText(2).substr(4);  // after "OS: "

  main.Child(ids::cmdPreview).Click();
  const Window preview = app.WaitForWindow(ids::kPreviewWindowClass, ids::lvwPreview);
  const Window list = preview.Child(ids::lvwPreview);
  const std::string summary = preview.Child(ids::lblPreviewSummary).Text();
  EXPECT_NE(summary.find(" values change; "), std::string::npos) << summary;
  EXPECT_EQ(summary.substr(summary.find("; ") + 2), std::string(c.notRead) + os) << summary;

  int found = -1;
  for (int row = 0; row < list.ListCount(); ++row) {
    if (list.ListItemText(row, 0).rfind(c.value, 0) == 0) found = row;
  }
  ASSERT_GE(found, 0) << c.value << " is not listed";
  EXPECT_EQ(list.ListItemText(found, 1), "absent");
  EXPECT_EQ(list.ListItemText(found, 2), c.after);
  EXPECT_EQ(list.ListItemText(found, 3).rfind(c.readBy, 0), 0u) << list.ListItemText(found, 3);
  Screenshot(preview, "preview");

  preview.Child(ids::cmdPreviewClose).Click();
  e2e::WaitUntil([&] { return !preview.Exists() || !preview.Visible(); }, "the preview to close");
  ExpectNoBox(app);
  // Nothing was written: the value is still absent, the key Apply would
  // create is not there, and no file was saved.
  EXPECT_FALSE(e2e::ReadRegistryValue(keys::kInternetSettings, "MaxConnectionsPerServer"));
  EXPECT_FALSE(e2e::RegistryKeyExists(keys::kNdiCacheSize));
  EXPECT_FALSE(SettingsFile().has_value());

  // Once applied, the values that Automatic #3 keeps are greyed; the
  // summary counts only the receive window it removes.
  panel.PressApply();
  CloseModeInformation(WaitForModeInformation(app));
  ExpectAppliedAndDeclineRestart(app);
  ChooseAutomaticMode(panel, 2);
  main.Child(ids::cmdPreview).Click();
  const Window again = app.WaitForWindow(ids::kPreviewWindowClass, ids::lvwPreview);
  EXPECT_EQ(again.Child(ids::lblPreviewSummary).Text(), c.again + os);
  Screenshot(again, "after-apply");
  again.Child(ids::cmdPreviewClose).Click();
  e2e::WaitUntil([&] { return !again.Exists() || !again.Visible(); }, "the preview to close");
}

INSTANTIATE_TEST_SUITE_P(
    Versions, Preview,
    ::testing::Values(
        PreviewCase{"win10", "TcpWindowSize in ", "4288", "no, ", "5 of them are not read by ",
                    "4 values change; 4 of them are not read by "},
        PreviewCase{"win98", "DefaultTTL in ", "\"128\" (text)", "yes, ",
                    "all of them are read by ", "1 value changes; it is read by "}),
    [](const auto& test) { return std::string(test.param.version); });

}  // namespace
