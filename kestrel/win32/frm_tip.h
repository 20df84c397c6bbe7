#pragma once

#include <optional>

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/kestrel_app.h"
#include "kestrel/tip_of_the_day.h"
#include "platform/win32/handles.h"

namespace kestrel::win32 {

// The view of frmTip. One per process; each opening loads the model afresh.
// The window has no owner, so that it stays open, and keeps the program
// running, when the main window closes first.
class FrmTip {
 public:
  explicit FrmTip(KestrelApp& app) : app_(app) {}
  FrmTip(const FrmTip&) = delete;
  FrmTip& operator=(const FrmTip&) = delete;
  ~FrmTip();

  // Opens the window centred over the window around, or brings it to the
  // front when it is open already. Modal returns only when it has closed.
  void Show(HWND around, bool modal);

 private:
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmTip>(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create(HWND around);
  void CreateControls();
  void DrawPicture();
  void OnCommand(int id);
  void Mirror();
  void Paint();

  KestrelApp& app_;
  std::optional<TipModel> model_;
  HWND window_ = nullptr;
  common::win32::ViewLayout layout_;
  platform::win32::UniqueGdiObject picture_;
};

}  // namespace kestrel::win32
