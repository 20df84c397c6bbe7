#pragma once

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/mode_information.h"
#include "platform/win32/handles.h"

namespace kestrel::win32 {

// The mode information dialog: a picture, two lines of explanation and OK.
class FrmDisplay {
 public:
  // Shows the dialog modally over owner and returns when it is closed.
  static void ShowModal(HWND owner, const ModeInformation& info);

 private:
  FrmDisplay() = default;
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmDisplay>(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(const ModeInformation& info);
  void SetIcon(HWND picture);
  void Close();

  HWND window_ = nullptr;
  common::win32::ViewLayout layout_;
  platform::win32::UniqueIcon icon_;
  bool closed_ = false;
};

}  // namespace kestrel::win32
