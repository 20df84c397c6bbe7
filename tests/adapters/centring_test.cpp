#include <gtest/gtest.h>

#include "common/win32/window_helpers.h"
#include "platform/win32/windows_shim.h"

namespace {

// A dialog goes over the window around it, but never where a part of it
// would lie off the work area: a main window at the screen's edge, or a
// dialog larger than the screen, keeps it reachable.
TEST(CentredOverTest, CentresOverTheWindowAndKeepsInsideTheWorkArea) {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int workWidth = work.right - work.left;
  const int workHeight = work.bottom - work.top;
  const struct {
    const char* name;
    bool withWindow;
    POINT at;  // of the window around, from the work area's top-left
    POINT expected;
    SIZE dialog;
  } cases[] = {
      {"over the window", true, {200, 100}, {250, 125}, {100, 50}},
      {"window at the right edge", true, {workWidth - 50, 100}, {workWidth - 100, 125}, {100, 50}},
      {"window above and left", true, {-500, -500}, {0, 0}, {100, 50}},
      {"larger than the work area", true, {200, 100}, {0, 0}, {workWidth + 40, workHeight + 40}},
      {"no window: the work area's middle", false, {0, 0},
       {(workWidth - 100) / 2, (workHeight - 50) / 2}, {100, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND around = nullptr;
    if (c.withWindow) {
      around = CreateWindowExA(0, "STATIC", "", WS_POPUP, work.left + c.at.x, work.top + c.at.y,
                               200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
      ASSERT_TRUE(around);
    }
    const POINT corner = common::win32::CentredOver(around, c.dialog.cx, c.dialog.cy);
    EXPECT_EQ(corner.x - work.left, c.expected.x);
    EXPECT_EQ(corner.y - work.top, c.expected.y);
    if (around) DestroyWindow(around);
  }
}

}  // namespace
