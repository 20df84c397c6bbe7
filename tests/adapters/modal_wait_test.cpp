#include <gtest/gtest.h>

#include "common/win32/window_helpers.h"
#include "platform/win32/windows_shim.h"

namespace {

HWND destroyOnTick = nullptr;

// Ticks on, so that a wait that missed the window's end still wakes.
void CALLBACK DestroyOnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (IsWindow(destroyOnTick)) DestroyWindow(destroyOnTick);
}

HWND Popup(HWND owner) {
  return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 50, owner, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// A dialog whose window goes while its view still waits, closed by the
// system or destroyed with its owner, must not keep the wait running on a
// handle that may name another window by then.
TEST(RunModalTest, EndsWhenTheWindowIsDestroyed) {
  for (const bool withOwner : {false, true}) {
    SCOPED_TRACE(withOwner ? "destroyed with its owner" : "destroyed itself");
    HWND owner = Popup(nullptr);
    HWND dialog = Popup(owner);
    ASSERT_TRUE(owner && dialog);
    destroyOnTick = withOwner ? owner : dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &DestroyOnTick);
    ASSERT_TRUE(timer);

    // The view never says it is done; a stuck wait gives up after 5 s.
    const DWORD start = GetTickCount();
    common::win32::RunModal(owner, dialog, [&] { return GetTickCount() - start > 5000; });
    KillTimer(nullptr, timer);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_FALSE(IsWindow(dialog));
    if (!withOwner) {
      EXPECT_TRUE(IsWindowEnabled(owner));
      DestroyWindow(owner);
    }
  }
}

}  // namespace
