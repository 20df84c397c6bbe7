#pragma once

#include <memory>

#include "common/win32/frm_ping.h"
#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/kestrel_app.h"
#include "kestrel/main_window.h"
#include "kestrel/win32/frm_tip.h"
#include "platform/win32/adapters.h"
#include "platform/win32/handles.h"

namespace kestrel::win32 {

// The view of frmMain: creates the menu bar, the toolbar, the controls and
// the status bar, forwards each event to the model and then mirrors the
// model's states.
class FrmMain final : public MainWindowHost {
 public:
  explicit FrmMain(KestrelApp& app);
  ~FrmMain();
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Creates the hidden window and runs the load sequence, which ends by
  // showing the window.
  bool Open();
  HWND handle() const { return window_; }

  // MainWindowHost
  void PumpMessages() override;
  void SetBusy(bool busy) override;
  void ShowModeInformation() override;
  void AssignToolbarImages() override;
  void ShowTipOfTheDay(bool modal) override;
  void ShowMainWindow() override;
  void CloseMainWindow() override;
  void ShowPingDialog() override;
  void ShowChangePreview(const ChangePreview& preview) override;
  std::optional<int> ShowMtuFinder(const std::string& host) override;
  platform::WindowHandle MainWindowHandle() const override;

 private:
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmMain>(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK NumberBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateToolbar();
  void CreateStatusBar();
  // The heights of the toolbar and the status bar, in pixels.
  struct Bars {
    int toolbar;
    int statusBar;
  };
  void CreateControls();
  void SetStatusParts();
  Bars MeasureBars();
  SIZE ClientSize(const Bars& bars) const;
  void OnDpiChanged(int dpi, const RECT& suggested);
  void OnCommand(int id, int code, HWND control);
  void OnControlEvent(int id, int code);
  // Forwards an event of an option group's control; false for any other.
  bool ForwardOptionGroupEvent(int id, int code);
  bool OnNotify(const NMHDR& header, LRESULT& result);
  void Mirror();
  void MirrorLayout();
  void MirrorMenuChecks();
  HWND Item(int id) const { return GetDlgItem(window_, id); }

  KestrelApp& app_;
  MainWindowModel model_;
  FrmTip tip_;
  HWND window_ = nullptr;
  common::win32::ViewLayout layout_;
  platform::win32::UniqueImageList images_;
  // The layout the window shows; the model's may be ahead of it.
  MainWindowLayout shown_;
  bool busy_ = false;
  std::unique_ptr<common::win32::FrmPing> frmPing_;  // made on first use
  // The MTU measurement's network, made on first use. It outlives the
  // measurement's window, whose last echo may still be under way.
  struct MtuNetwork {
    platform::win32::Win32SocketLibrary sockets;
    platform::win32::Win32IcmpEcho icmp;
    platform::win32::Win32Worker worker;
  };
  std::unique_ptr<MtuNetwork> mtuNetwork_;
  // True while the view itself sets control texts, whose change notices are
  // then not events of the user.
  bool mirroring_ = false;
};

}  // namespace kestrel::win32
