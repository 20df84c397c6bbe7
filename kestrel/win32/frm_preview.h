#pragma once

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/change_preview.h"

namespace kestrel::win32 {

// The preview of the changes: a summary line over a report list with one row
// per value that Apply would write or remove; rows that would not change are
// greyed.
class FrmPreview {
 public:
  // Shows the window modally over owner and returns when it is closed.
  static void ShowModal(HWND owner, KestrelApp& app, const ChangePreview& preview);

 private:
  FrmPreview(KestrelApp& app, const ChangePreview& preview) : app_(app), preview_(preview) {}
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmPreview>(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Places the controls for the window's present size: the list takes what
  // the summary line and the buttons leave.
  void Arrange();
  // The smallest outer size the user can give the window.
  SIZE SmallestFrame() const;
  void ScaleColumns(int oldDpi);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw) const;

  KestrelApp& app_;
  const ChangePreview& preview_;
  HWND window_ = nullptr;
  common::win32::ViewLayout layout_;
  bool closed_ = false;
};

}  // namespace kestrel::win32
