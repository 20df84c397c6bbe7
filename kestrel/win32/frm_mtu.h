#pragma once

#include <optional>
#include <string>

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/mtu_search.h"

namespace kestrel::win32 {

// The measurement of the largest MTU: a host box, Start and Cancel, a
// progress bar, one line per echo, the result, and "Use This MTU".
class FrmMtu {
 public:
  // Shows the window modally over owner with host in its box and returns
  // when it is closed: the MTU when the user chose to use it.
  static std::optional<int> ShowModal(HWND owner, MtuSearch& search, const std::string& host);

 private:
  explicit FrmMtu(MtuSearch& search) : search_(search) {}
  friend LRESULT CALLBACK common::win32::ViewWindowProc<FrmMtu>(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(const std::string& host);
  void Start();
  void Mirror();

  MtuSearch& search_;
  HWND window_ = nullptr;
  common::win32::ViewLayout layout_;
  bool closed_ = false;
  std::size_t linesShown_ = 0;
  std::optional<int> chosen_;
};

}  // namespace kestrel::win32
