// Kestrel runs elevated; what it starts and opens for the user runs as the user.
#include <gtest/gtest.h>

#include "common/links.h"
#include "common/ping_dialog.h"
#include "common/user_shell.h"
#include "kestrel/startup.h"
#include "tests/doubles/fake_platform.h"

namespace {

TEST(UserShell, ElevatedGoesThroughTheDesktopShellElseDirectly) {
  const struct {
    bool elevated;
    bool shellRuns;
    bool throughDesktop;
  } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.elevated << c.shellRuns);
    doubles::FakeKestrel fake;
    fake.desktop.elevated = c.elevated;
    fake.desktop.shellRuns = c.shellRuns;
    fake.files.Put(fake.ProgramFile("\\Tidewatch.exe"), "MZ");
    kestrel::StartTidewatch(fake.app);
    common::UserShell shell(fake.desktop, fake.shell);
    common::SendEmail(shell, 0x10);
    const std::size_t throughDesktop = c.throughDesktop ? 2 : 0;
    ASSERT_EQ(fake.desktop.opened.size(), throughDesktop);
    EXPECT_EQ(fake.programs.started.size(), 1 - throughDesktop / 2);
    EXPECT_EQ(fake.shell.opened.size(), 1 - throughDesktop / 2);
    if (c.throughDesktop) {
      EXPECT_EQ(fake.desktop.opened[0].first, fake.ProgramFile("\\Tidewatch.exe"));
      EXPECT_EQ(fake.desktop.opened[0].second, platform::ShowCode::Hidden);
      EXPECT_EQ(fake.desktop.opened[1].second, platform::ShowCode::Show);
    }
  }
}

TEST(UserShell, KestrelTellsTheMonitorOnlyAfterASave) {
  for (const bool writable : {true, false}) {
    doubles::FakeKestrel fake;
    if (!writable) fake.files.FailWrites(doubles::MemoryFileSystem::WriteFailure::Refused);
    common::PingDialogModel dialog(fake.app.MakePingContext());
    dialog.Load();
    dialog.cmdOKClicked();
    EXPECT_EQ(fake.desktop.posted,
              writable ? std::vector<std::string>{"Kestrel.PingSettingsSaved"}
                       : std::vector<std::string>{})
        << writable;
  }
}

}  // namespace
