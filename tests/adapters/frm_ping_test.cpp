#include <gtest/gtest.h>

#include "common/ping_dialog_ids.h"
#include "common/win32/frm_ping.h"
#include "tests/doubles/fake_platform.h"

namespace {

namespace ids = common::ping_ids;

void Command(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string Text(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

// The tray monitor's way: modeless over a hidden form, brought to the front
// when opened again, and its owner told whenever it closes.
TEST(FrmPingViewTest, ModelessDialogOpensOnceAndTellsItsOwnerWhenItCloses) {
  doubles::FakePing ping;
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(owner);
  common::win32::FrmPing view(ping.context);
  int closed = 0;
  const auto onClosed = [&] { ++closed; };

  view.ShowModeless(owner, onClosed);
  ASSERT_TRUE(view.IsOpen());
  HWND dialog = view.handle();
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
  EXPECT_EQ(Text(dialog, ids::txtPingHost), "Automatic");
  view.ShowModeless(owner, onClosed);
  EXPECT_EQ(view.handle(), dialog) << "a second opening shows the same dialog";
  EXPECT_EQ(ping.loads, 1);

  // Enter and Escape arrive as IDOK and IDCANCEL, which press nothing.
  Command(dialog, IDOK);
  Command(dialog, IDCANCEL);
  EXPECT_TRUE(view.IsOpen());
  Command(dialog, ids::cmdCancel);
  EXPECT_FALSE(view.IsOpen());
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(closed, 1);

  // Opened again, it reads the file again; OK saves and closes.
  ping.files.Put(ping.path, "A,#FALSE#\r\nH,10.0.0.5\r\nI,20\r\nS,#FALSE#\r\n");
  view.ShowModeless(owner, onClosed);
  dialog = view.handle();
  EXPECT_EQ(ping.loads, 2);
  EXPECT_EQ(Text(dialog, ids::txtPingHost), "10.0.0.5");
  Command(dialog, ids::Option1);
  EXPECT_EQ(Text(dialog, ids::txtPingHost), "Automatic");
  EXPECT_TRUE(GetWindowLongPtrA(GetDlgItem(dialog, ids::txtPingHost), GWL_STYLE) & ES_CENTER);
  Command(dialog, ids::cmdOK);
  EXPECT_FALSE(view.IsOpen());
  EXPECT_EQ(closed, 2);
  EXPECT_EQ(ping.files.Contents(ping.path), common::FormatPingFile(common::DefaultPingSettings(false)));

  // An owner that goes takes the open dialog with it.
  view.ShowModeless(owner, onClosed);
  DestroyWindow(owner);
  EXPECT_FALSE(view.IsOpen());
  EXPECT_EQ(closed, 3);
}

}  // namespace
