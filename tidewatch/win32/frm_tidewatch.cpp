#include "tidewatch/win32/frm_tidewatch.h"

#include "tidewatch/control_ids.h"
#include "tidewatch/win32/resource_ids.h"

namespace tidewatch::win32 {
namespace {

using platform::win32::AsWindowHandle;
using platform::win32::UniqueIcon;

// Posted to the form when it is to go, so that a dialog that has just told
// us it closed is gone before its owner is destroyed.
constexpr UINT kDestroyForm = WM_APP + 1;

UniqueIcon LoadIconAt(int resource, int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  // Not shared: the form owns its icons and frees them once, at its end.
  return UniqueIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                  MAKEINTRESOURCEA(resource), IMAGE_ICON, size,
                                                  size, 0)));
}

}  // namespace

FrmTidewatch::FrmTidewatch(TidewatchApp& app) : app_(app), frmPing_(app.pingContext) {}

FrmTidewatch::~FrmTidewatch() {
  // However the message loop ended, the icon does not outlive the program.
  if (model_) model_->Form_QueryUnload();
  if (window_) DestroyWindow(window_);
}

bool FrmTidewatch::LoadPictures() {
  for (int n = 1; n <= kRestingPicture; ++n) {
    // At the tray's own size, so that the shell shows the small image as
    // drawn instead of a reduced large one. A program aware of the display
    // scaling gets the size for the main screen's DPI, where the tray is:
    // 16, 20, 24 or 32 pixels, each an image of its own in the icons.
    pictures_[n - 1] = LoadIconAt(TrayImageResource(n), SM_CXSMICON);
    if (!pictures_[n - 1]) return false;
  }
  icon_ = LoadIconAt(IDI_TIDEWATCH, SM_CXICON);
  smallIcon_ = LoadIconAt(IDI_TIDEWATCH, SM_CXSMICON);
  return true;
}

void FrmTidewatch::BuildMenu() {
  menu_.reset(CreatePopupMenu());
  HMENU submenu = nullptr;
  for (const PopupMenuEntry& entry : kPopupMenu) {
    const std::string caption(entry.caption);
    const bool nextIsSubmenu = &entry != std::end(kPopupMenu) - 1 && (&entry + 1)->depth > 0;
    if (entry.depth > 0) {
      AppendMenuA(submenu, MF_STRING, static_cast<UINT_PTR>(entry.id), caption.c_str());
    } else if (caption == "-") {
      AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr);
    } else if (nextIsSubmenu) {
      submenu = CreatePopupMenu();
      AppendMenuA(menu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), caption.c_str());
    } else {
      AppendMenuA(menu_.get(), MF_STRING, static_cast<UINT_PTR>(entry.id), caption.c_str());
    }
  }
}

bool FrmTidewatch::Open() {
  if (!LoadPictures()) return false;
  pingSettingsSaved_ = RegisterWindowMessageA(common::kPingSettingsSavedMessage);
  if (!common::win32::RegisterViewClass(ids::kHiddenFormClass,
                                        &common::win32::ViewWindowProc<FrmTidewatch>, icon_.get(),
                                        smallIcon_.get())) {
    return false;
  }
  // A top-level window that is never shown; a message-only window would
  // not hear of a new taskbar.
  if (!CreateWindowExA(WS_EX_TOOLWINDOW, ids::kHiddenFormClass, ids::kHiddenFormCaption,
                       WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleA(nullptr),
                       this)) {
    return false;
  }
  // The first window a program shows takes the start state its starter
  // asked for; Kestrel starts the monitor hidden, and that state must be
  // spent here, not on the ping dialog or a message box later.
  ShowWindow(window_, SW_HIDE);
  common::win32::AddTopLevelWindow(window_);
  BuildMenu();
  timers_.emplace(window_);
  model_.emplace(app_, *timers_, *this);
  HiddenFormModel::Pictures pictures{};
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    pictures[i] = reinterpret_cast<platform::IconHandle>(pictures_[i].get());
  }
  model_->Form_Load(AsWindowHandle(window_), pictures);
  return true;
}

void FrmTidewatch::ShowPopupMenu() {
  ModifyMenuA(menu_.get(), static_cast<UINT>(ids::mnuDisable), MF_BYCOMMAND | MF_STRING,
              static_cast<UINT_PTR>(ids::mnuDisable), model_->MenuCaption(ids::mnuDisable).c_str());
  CheckMenuItem(menu_.get(), static_cast<UINT>(ids::mnuNotifyMe),
                MF_BYCOMMAND | (model_->MenuChecked(ids::mnuNotifyMe) ? MF_CHECKED : MF_UNCHECKED));
  POINT at{};
  GetCursorPos(&at);
  // Default alignment at the mouse; the command arrives as WM_COMMAND.
  TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                 window_, nullptr);
}

void FrmTidewatch::ShowPingDialog() {
  const bool opening = !frmPing_.IsOpen();
  frmPing_.ShowModeless(window_, [this] { PingDialogClosed(); });
  if (opening && frmPing_.IsOpen()) {
    pingDialog_ = frmPing_.handle();
    common::win32::AddTopLevelWindow(pingDialog_);
    SendMessageA(frmPing_.handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageA(frmPing_.handle(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
}

void FrmTidewatch::PingDialogClosed() {
  common::win32::RemoveTopLevelWindow(pingDialog_);
  pingDialog_ = nullptr;
  // After Exit the program waited for the dialog; now it ends.
  if (window_ && model_ && !model_->Loaded()) PostMessageA(window_, kDestroyForm, 0, 0);
}

void FrmTidewatch::FormUnloaded() {
  // The icon and the timers are gone already; an open dialog keeps the
  // program running until the user closes it.
  if (!frmPing_.IsOpen()) PostMessageA(window_, kDestroyForm, 0, 0);
}

LRESULT FrmTidewatch::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (app_.systray.HandleTaskbarCreated(message)) return 0;
  if (!model_) return DefWindowProcA(window_, message, wParam, lParam);
  if (message == pingSettingsSaved_ && message != 0) {
    model_->PingSettingsSaved();
    return 0;
  }
  switch (message) {
    case common::kTrayCallbackMessage:
      model_->TrayMouse(static_cast<std::uintptr_t>(lParam));
      return 0;
    case WM_TIMER:
      model_->TimerTick(static_cast<std::uint32_t>(wParam));
      return 0;
    case WM_COMMAND:
      if (lParam == 0) model_->MenuCommand(LOWORD(wParam));
      return 0;
    case WM_CLOSE:
      // Closed from outside (a task list, a log-off tool): as Exit.
      model_->mnuExit_Click();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // Only when the session really ends: a cancelled shutdown keeps the icon.
      if (wParam) {
        model_->Form_QueryUnload();
        DestroyWindow(window_);
      }
      return 0;
    case kDestroyForm:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      model_->Form_QueryUnload();
      // The last window of the program: the message loop ends.
      common::win32::RemoveTopLevelWindow(window_);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace tidewatch::win32
