#pragma once

#include <array>
#include <optional>

#include "common/win32/frm_ping.h"
#include "common/win32/window_helpers.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"
#include "tidewatch/hidden_form.h"

namespace tidewatch::win32 {

// The view of frmTidewatch: a hidden top-level window (so that the shell's
// broadcast of a new taskbar reaches it) that owns the tray icon, the three
// timers, the pictures, the popup menu and the ping configuration dialog.
class FrmTidewatch final : public HiddenFormHost {
 public:
  explicit FrmTidewatch(TidewatchApp& app);
  ~FrmTidewatch() override;
  FrmTidewatch(const FrmTidewatch&) = delete;
  FrmTidewatch& operator=(const FrmTidewatch&) = delete;

  // Creates the window, never shown, and runs the form's load step. The
  // program's message loop runs until the window is gone.
  bool Open();

  void ShowPopupMenu() override;
  void ShowPingDialog() override;
  void FormUnloaded() override;

 private:
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmTidewatch>(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool LoadPictures();
  void BuildMenu();
  void PingDialogClosed();

  TidewatchApp& app_;
  HWND window_ = nullptr;
  std::optional<platform::win32::Win32WindowTimers> timers_;
  std::optional<HiddenFormModel> model_;
  // imgTidewatch at the tray's size, loaded once for the whole run.
  std::array<platform::win32::UniqueIcon, kRestingPicture> pictures_;
  platform::win32::UniqueIcon icon_;
  platform::win32::UniqueIcon smallIcon_;
  platform::win32::UniqueMenu menu_;
  common::win32::FrmPing frmPing_;
  // The open dialog's window, which gets its dialog keys from the message loop.
  HWND pingDialog_ = nullptr;
  // Posted by the tuning program after it saved Ping.cfg.
  UINT pingSettingsSaved_ = 0;
};

}  // namespace tidewatch::win32
