#pragma once

#include <functional>

#include "common/ping_dialog.h"
#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "platform/win32/handles.h"

namespace common::win32 {

// The view of frmPing, the ping configuration dialog of both programs. One
// object per program, made on first use; each opening reloads the settings
// from Ping.cfg. It can be shown modal (the tuning program, over its main
// window) or modeless (the tray monitor).
class FrmPing {
 public:
  explicit FrmPing(PingContext context);
  ~FrmPing();
  FrmPing(const FrmPing&) = delete;
  FrmPing& operator=(const FrmPing&) = delete;

  // Shows the dialog over owner, which stays disabled until the dialog has
  // closed; returns then.
  void ShowModal(HWND owner);

  // Shows the dialog and returns at once; when it is open already, brings it
  // to the front instead. onClosed runs each time the dialog has closed (by
  // "OK", "Cancel", its close box, or with its owner).
  void ShowModeless(HWND owner, std::function<void()> onClosed = {});

  bool IsOpen() const { return window_ != nullptr; }
  HWND handle() const { return window_; }

  // For the message loop of a program that shows the dialog modeless: lets
  // the dialog handle Tab, the arrow keys and its access keys. True when the
  // message was the dialog's and is handled.
  bool TranslateDialogMessage(MSG& message);

 private:
  friend LRESULT CALLBACK ViewWindowProc<FrmPing>(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnDetached();
  bool Open(HWND owner);
  void CreateControls();
  void OnCommand(int id, int code);
  void Mirror();
  void Close();
  void BringToFront();
  HWND Item(int id) const { return GetDlgItem(window_, id); }

  PingDialogModel model_;
  HWND window_ = nullptr;
  ViewLayout layout_{Scaling::kTwipsPerInch};
  bool modal_ = false;
  bool closeRequested_ = false;
  // True while the view itself sets control texts, whose change notices are
  // then not events of the user.
  bool mirroring_ = false;
  std::function<void()> onClosed_;
};

}  // namespace common::win32
