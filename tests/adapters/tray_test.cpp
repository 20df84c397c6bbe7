#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "common/systray.h"
#include "platform/win32/adapters.h"

namespace {

using platform::TrayOperation;
using platform::win32::AsWindowHandle;

// A hidden top-level window that owns the icon, as the tray monitor's form
// does, and passes its messages to the tray module.
class OwnerWindow {
 public:
  OwnerWindow() {
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = &OwnerWindow::Proc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "TrayAdapterTestOwner";
      return RegisterClassA(&wc);
    }();
    window_ = CreateWindowExA(0, MAKEINTATOM(atom), "Tray owner", WS_OVERLAPPED, 0, 0, 10, 10,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  ~OwnerWindow() { DestroyWindow(window_); }

  HWND get() const { return window_; }
  common::SysTray* systray = nullptr;
  int taskbarMessages = 0;

  // Runs this thread's messages until the window has seen count taskbar
  // messages, or two seconds have passed.
  bool PumpUntilTaskbarMessages(int count) {
    for (int i = 0; i < 200 && taskbarMessages < count; ++i) {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      if (taskbarMessages < count) Sleep(10);
    }
    return taskbarMessages >= count;
  }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && self->systray && self->systray->HandleTaskbarCreated(message)) {
      ++self->taskbarMessages;
      return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr;
};

platform::NotifyIconData Record(HWND owner, HICON icon) {
  platform::NotifyIconData record;
  record.window = AsWindowHandle(owner);
  record.id = common::kTrayIconId;
  record.flags = common::kTrayIconFlags;
  record.callbackMessage = common::kTrayCallbackMessage;
  record.icon = reinterpret_cast<platform::IconHandle>(icon);
  record.tip = common::PaddedTooltip(common::kTrayTooltip);
  return record;
}

TEST(TrayAdapterTest, RecordHasTheFirstVersionSizeOfThisArchitecture) {
  platform::NotifyIconData record = Record(nullptr, nullptr);
  // Handles above 32 bits must arrive whole in the 64-bit build.
  record.window = static_cast<platform::WindowHandle>(~std::uintptr_t{0} - 0x10);
  record.icon = static_cast<platform::IconHandle>(~std::uintptr_t{0} - 0x20);
  const NOTIFYICONDATAA data = platform::win32::ToNotifyIconData(record);

  EXPECT_EQ(data.cbSize, offsetof(NOTIFYICONDATAA, szTip) + 64);
  if (sizeof(void*) == 4) {
    EXPECT_EQ(data.cbSize, 88u);
  }
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data.hWnd), record.window);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data.hIcon), record.icon);
  EXPECT_EQ(data.uID, 1u);
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(data.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(std::memcmp(data.szTip, "Kestrel\0        ", 16), 0);
  EXPECT_EQ(data.szTip[63], ' ');
}

TEST(TrayAdapterTest, AddModifyAndDeleteAgainstTheShell) {
  OwnerWindow owner;
  ASSERT_TRUE(owner.get());
  platform::win32::Win32Tray tray;
  platform::NotifyIconData record = Record(owner.get(), LoadIconA(nullptr, IDI_APPLICATION));

  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Add, record));
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Add, record)) << "the icon is there already";
  record.icon = reinterpret_cast<platform::IconHandle>(LoadIconA(nullptr, IDI_INFORMATION));
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Modify, record));
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Delete, record));
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Modify, record)) << "the icon is gone";
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Delete, record));
}

TEST(TrayAdapterTest, ANewTaskbarGetsTheIconBack) {
  OwnerWindow owner;
  ASSERT_TRUE(owner.get());
  platform::win32::Win32Tray tray;
  const UINT taskbarCreated = tray.TaskbarCreatedMessage();
  ASSERT_GE(taskbarCreated, 0xC000u) << "a registered message";
  EXPECT_EQ(taskbarCreated, RegisterWindowMessageA("TaskbarCreated"));

  common::SysTray systray(tray);
  owner.systray = &systray;
  systray.Install(AsWindowHandle(owner.get()),
                  reinterpret_cast<platform::IconHandle>(LoadIconA(nullptr, IDI_APPLICATION)));
  const auto present = reinterpret_cast<platform::IconHandle>(LoadIconA(nullptr, IDI_WARNING));
  systray.ChangeImage(present);

  // The shell forgets every icon when its taskbar is made again, and then
  // tells every top-level window, hidden ones included.
  ASSERT_TRUE(tray.NotifyIcon(TrayOperation::Delete, systray.Record()));
  ASSERT_TRUE(PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0));
  ASSERT_TRUE(owner.PumpUntilTaskbarMessages(1));

  EXPECT_EQ(systray.Record().icon, present);
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Add, systray.Record())) << "the icon is back";
  EXPECT_TRUE(tray.NotifyIcon(TrayOperation::Modify, systray.Record()));

  // After the removal a new taskbar brings nothing back.
  systray.Remove();
  ASSERT_TRUE(PostMessageA(HWND_BROADCAST, taskbarCreated, 0, 0));
  ASSERT_TRUE(owner.PumpUntilTaskbarMessages(2));
  EXPECT_FALSE(tray.NotifyIcon(TrayOperation::Modify, systray.Record())) << "the icon stays gone";
}

}  // namespace
