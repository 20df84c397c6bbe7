#pragma once

#include <memory>

#include "common/win32/frm_ping.h"
#include "common/win32/window_helpers.h"
#include "kestrel/kestrel_app.h"
#include "kestrel/main_window.h"
#include "platform/win32/handles.h"

namespace kestrel::win32 {

// The view of frmMain: creates the controls, forwards each event to the model
// and then mirrors the model's control states.
class FrmMain final : public MainWindowHost {
 public:
  explicit FrmMain(KestrelApp& app);
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Creates the hidden window, runs the load sequence, then shows the window.
  bool Open();
  HWND handle() const { return window_; }

  // MainWindowHost
  void PumpMessages() override;
  void ShowModeInformation() override;
  void ShowPingDialog() override;
  platform::WindowHandle MainWindowHandle() const override;

 private:
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmMain>(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK NumberBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void OnCommand(int id, int code);
  void Mirror();
  HWND Item(int id) const { return GetDlgItem(window_, id); }

  KestrelApp& app_;
  MainWindowModel model_;
  HWND window_ = nullptr;
  std::unique_ptr<common::win32::FrmPing> frmPing_;  // made on first use
  // True while the view itself sets control texts, whose change notices are
  // then not events of the user.
  bool mirroring_ = false;
};

}  // namespace kestrel::win32
