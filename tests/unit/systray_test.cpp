#include <gtest/gtest.h>

#include <string>

#include "common/systray.h"
#include "tests/doubles/recording_tray.h"

namespace {

using common::TrayClick;
using namespace platform::tray;

constexpr platform::WindowHandle kOwner = static_cast<platform::WindowHandle>(0x7FFF00012345ull);
constexpr platform::IconHandle kResting = 0x5005;
constexpr platform::IconHandle kFrame2 = 0x2002;

std::string TipBytes(const platform::NotifyIconData& record) {
  return std::string(record.tip.data(), record.tip.size());
}

TEST(SysTrayTest, EveryCallCarriesTheWholeRecordAndOnlyTheIconChanges) {
  doubles::RecordingTray tray;
  common::SysTray systray(tray);
  systray.Install(kOwner, kResting);
  systray.ChangeImage(kFrame2);
  systray.Remove();

  ASSERT_EQ(tray.Kinds(), (std::vector<std::string>{"add", "modify", "delete"}));
  const platform::NotifyIconData& added = tray.calls[0].record;
  EXPECT_EQ(added.window, kOwner);
  EXPECT_EQ(added.id, 1u);
  EXPECT_EQ(added.flags, 7u);
  EXPECT_EQ(added.callbackMessage, 512u);
  EXPECT_EQ(added.icon, kResting);
  EXPECT_EQ(TipBytes(added), std::string("Kestrel\0", 8) + std::string(56, ' '));

  platform::NotifyIconData expected = added;
  expected.icon = kFrame2;
  EXPECT_EQ(tray.calls[1].record, expected);
  EXPECT_EQ(tray.calls[2].record, expected);
}

TEST(SysTrayTest, TooltipKeepsItsNulWithinTheField) {
  const struct {
    std::size_t length;
    std::size_t nulAt;
  } cases[] = {{0, 0}, {7, 7}, {63, 63}, {64, 63}, {200, 63}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    const auto tip = common::PaddedTooltip(std::string(c.length, 'x'));
    const std::string bytes(tip.data(), tip.size());
    EXPECT_EQ(bytes.find('\0'), c.nulAt);
    EXPECT_EQ(bytes.substr(0, c.nulAt), std::string(c.nulAt, 'x'));
    EXPECT_EQ(bytes.substr(c.nulAt + 1), std::string(63 - c.nulAt, ' '));
  }
}

TEST(SysTrayTest, OnlyReleasesAndDoubleClicksAct) {
  const struct {
    std::uintptr_t message;
    TrayClick click;
  } cases[] = {
      {kMouseMove, TrayClick::None},
      {kLeftButtonDown, TrayClick::None},
      {kLeftButtonUp, TrayClick::StartKestrel},
      {kLeftDoubleClick, TrayClick::StartKestrel},
      {kRightButtonDown, TrayClick::None},
      {kRightButtonUp, TrayClick::ShowPopup},
      {kRightDoubleClick, TrayClick::None},
      {0x207, TrayClick::None},  // middle button
      {0x208, TrayClick::None},
      {0, TrayClick::None},
      // A real mouse move over a window at x 514, y 1 is no click.
      {0x10202, TrayClick::None},
      {0x10205, TrayClick::None},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(common::DecodeTrayClick(c.message), c.click);
  }
}

TEST(SysTrayTest, EachPartOfADoubleClickStartsTheProgram) {
  // What the shell delivers for one double-click, presses included.
  const std::uintptr_t doubleClick[] = {kMouseMove,   kLeftButtonDown, kLeftButtonUp,
                                        kLeftDoubleClick, kLeftButtonUp, kMouseMove};
  int starts = 0;
  for (const std::uintptr_t message : doubleClick) {
    if (common::DecodeTrayClick(message) == TrayClick::StartKestrel) ++starts;
  }
  EXPECT_EQ(starts, 3);
}

// The steps: i<icon> install, c<icon> change image, r remove, t taskbar created.
TEST(SysTrayTest, ANewTaskbarGetsTheIconBackWithItsPresentImage) {
  const struct {
    const char* steps;
    bool addSucceeds;
    std::vector<std::string> calls;
    platform::IconHandle lastIcon;
  } cases[] = {
      {"i1 c2 c3 t", true, {"add", "modify", "modify", "add"}, 3},
      // The shell was not there at start: its first taskbar brings the icon.
      {"i1 c2 t", false, {"add", "modify", "add"}, 2},
      {"i1 t t", true, {"add", "add", "add"}, 1},
      // Removed stays removed, whatever comes later.
      {"i1 r t c2 r", true, {"add", "delete"}, 1},
      // Before the install there is nothing to show or to bring back.
      {"c4 t i1 t", true, {"add", "add"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    doubles::RecordingTray tray;
    tray.addResult = c.addSucceeds;
    common::SysTray systray(tray);
    for (const char* step = c.steps; *step; ++step) {
      switch (*step) {
        case 'i':
          systray.Install(kOwner, static_cast<platform::IconHandle>(*++step - '0'));
          break;
        case 'c':
          systray.ChangeImage(static_cast<platform::IconHandle>(*++step - '0'));
          break;
        case 'r':
          systray.Remove();
          break;
        case 't':
          EXPECT_TRUE(systray.HandleTaskbarCreated(tray.taskbarCreated));
          break;
      }
    }
    EXPECT_EQ(tray.Kinds(), c.calls);
    ASSERT_FALSE(tray.calls.empty());
    EXPECT_EQ(tray.calls.back().record.icon, c.lastIcon);
    EXPECT_EQ(tray.calls.back().record.window, kOwner);
  }
}

TEST(SysTrayTest, OnlyTheRegisteredTaskbarMessageAddsTheIcon) {
  for (const std::uint32_t registered : {0xC0F1u, 0u}) {
    SCOPED_TRACE(registered);
    doubles::RecordingTray tray;
    tray.taskbarCreated = registered;
    common::SysTray systray(tray);
    EXPECT_EQ(tray.registrations, 1);
    systray.Install(kOwner, kResting);
    // Without a registered number, the empty message that follows every
    // popup must not pass for it.
    EXPECT_FALSE(systray.HandleTaskbarCreated(0));
    EXPECT_FALSE(systray.HandleTaskbarCreated(kMouseMove));
    EXPECT_FALSE(systray.HandleTaskbarCreated(0xC0F2));
    EXPECT_EQ(tray.Kinds(), std::vector<std::string>{"add"});
  }
}

TEST(SysTrayTest, PopupComesBetweenForegroundAndTheEmptyMessage) {
  doubles::RecordingTray tray;
  common::SysTray systray(tray);
  systray.ShowPopup(kOwner, [&] { tray.calls.push_back({"menu", {}, 0}); });
  EXPECT_EQ(tray.Kinds(), (std::vector<std::string>{"foreground", "menu", "empty"}));
  EXPECT_EQ(tray.calls[0].window, kOwner);
  EXPECT_EQ(tray.calls[2].window, kOwner);
}

}  // namespace
