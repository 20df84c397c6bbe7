// The driver's tray helpers against the target program's tray mode: a
// hidden owner window with the tray monitor's pictures in Wine's tray.
#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "tests/e2e/driver/tray.h"
#include "tests/e2e/driver_tests/target_program.h"
#include "tidewatch/win32/resource_ids.h"

namespace {

using e2e::Millis;
using e2e::Window;

class TrayTarget : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.emplace(e2e::Process::Start(target::SelfPath(), std::string(target::kServeFlag) + " tray"));
    owner_ = e2e::WaitForHiddenWindow(*app_, target::kTrayOwnerClass);
  }
  void TearDown() override { app_->Terminate(); }

  std::string Title() const { return e2e::WindowTitle(owner_); }
  std::string EventuallyTitle(const std::string& expected) const {
    return e2e::Eventually([&] { return Title(); }, expected);
  }
  e2e::PopupMenu OpenMenu() const {
    e2e::TrayRightClick(owner_);
    return e2e::WaitForPopupMenu(*app_);
  }

  std::optional<e2e::App> app_;
  Window owner_;
  e2e::TrayPictures pictures_{target::SelfPath(), {IDI_TRAY1, IDI_TRAY2, IDI_TRAY3, IDI_TRAY4,
                                                   IDI_TRAY5}};
};

TEST_F(TrayTarget, ClicksReachTheOwnerAndOnlyReleasesAndDoubleClicksCount) {
  const Window icon = e2e::WaitForTrayIcons(1).front();
  pictures_.WaitForPicture(icon, 5);
  EXPECT_FALSE(owner_.Visible());
  e2e::TrayDoubleClick(owner_);
  EXPECT_EQ(EventuallyTitle("starts 3, installed"), "starts 3, installed");
  e2e::TrayLeftClick(owner_);
  e2e::PostTrayMouse(owner_, WM_MBUTTONUP);
  EXPECT_EQ(EventuallyTitle("starts 4, installed"), "starts 4, installed");
  EXPECT_TRUE(e2e::PopupMenus(app_->Id()).empty());

  // Pictures the program does not carry are told apart from its own.
  const e2e::TrayPictures framesOnly(target::SelfPath(), {IDI_TRAY1, IDI_TRAY2});
  EXPECT_EQ(framesOnly.Identify(icon), 0);
  EXPECT_THROW(e2e::TrayPictures(target::SelfPath(), {4242}), e2e::Failure);
}

TEST_F(TrayTarget, MenuItemsAndSubmenusAreChosenByKeyboard) {
  const Window icon = e2e::WaitForTrayIcons(1).front();
  e2e::PopupMenu menu = OpenMenu();
  e2e::SaveScreenshot(menu, "DriverTray.menu");
  menu.Choose(3);
  e2e::WaitForNoPopupMenu(*app_);
  EXPECT_EQ(EventuallyTitle("starts 0, picture 3"), "starts 0, picture 3");
  pictures_.WaitForPicture(icon, 3);

  OpenMenu().Dismiss();
  e2e::WaitForNoPopupMenu(*app_);
  // Item 5 is "More": the separator does not count.
  OpenMenu().OpenSubmenu(5).Choose(1);
  e2e::WaitForNoPopupMenu(*app_);
  EXPECT_EQ(EventuallyTitle("starts 0, picture 5"), "starts 0, picture 5");
  pictures_.WaitForPicture(icon, 5);
  if (const auto tray = e2e::TrayArea()) e2e::SaveScreenshot(*tray, "DriverTray.resting");
}

TEST_F(TrayTarget, AnimationIsSeenFrameByFrameAndARemovedIconIsGone) {
  const Window icon = e2e::WaitForTrayIcons(1).front();
  OpenMenu().OpenSubmenu(5).Choose(2);
  EXPECT_EQ(EventuallyTitle("starts 0, animating"), "starts 0, animating");
  pictures_.WaitForPicture(icon, 1);
  const std::vector<int> seen = pictures_.Watch(icon, Millis(1500));
  // Pictures 1 to 4, always forward; a busy machine may miss one now and then.
  EXPECT_EQ(std::set<int>(seen.begin(), seen.end()), (std::set<int>{1, 2, 3, 4}))
      << testing::PrintToString(seen);
  for (std::size_t i = 1; i < seen.size(); ++i) {
    const int step = (seen[i] - seen[i - 1] + 4) % 4;
    EXPECT_TRUE(step == 1 || step == 2) << testing::PrintToString(seen);
  }

  OpenMenu().OpenSubmenu(5).Choose(3);
  e2e::WaitForTrayIcons(0);
  EXPECT_EQ(EventuallyTitle("starts 0, removed"), "starts 0, removed");
}

}  // namespace
