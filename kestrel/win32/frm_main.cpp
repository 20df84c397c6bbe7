#include "kestrel/win32/frm_main.h"

#include "common/win32/window_dpi.h"
#include "common/win32/window_helpers.h"
#include "kestrel/artwork.h"
#include "kestrel/control_ids.h"
#include "kestrel/win32/frm_display.h"
#include "kestrel/win32/frm_mtu.h"
#include "kestrel/win32/frm_preview.h"
#include "kestrel/win32/pixel_art.h"
#include "kestrel/win32/resource_ids.h"
#include "platform/win32/adapters.h"

namespace kestrel::win32 {

using namespace common::win32;

namespace {

// The layout is in 96-DPI pixels, scaled by the window's DPI. The client
// area is 516 wide (7740 twips); its height is the bars' own, whatever the
// system makes them, and Frame1's with a gap above and below it (466 in all,
// 6990 twips, with the bars at 100 %).
constexpr int kClientWidth = 516;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The hint takes the most room; the message font grows a little faster than
// the DPI, so it has some to spare at 100 %.
constexpr int kStatusPanel1Width = 262;
constexpr int kStatusPanel2Width = 112;

// Frame1 begins kFrame1Top below the toolbar; everything inside it is placed
// from its top, so that it moves as one.
constexpr int kFrame1Top = 4;
constexpr int kFrame1Height = 408;
constexpr int kFrame1Bottom = 6;  // the gap between Frame1 and the status bar
constexpr int kColumnLeft = 18;
constexpr int kColumnRight = 264;
constexpr int kColumnWidth = 234;
constexpr int kLabelTop = 22;
constexpr int kListTop = 40;
constexpr int kGroupTop = 76;
constexpr int kGroupHeight = 74;
constexpr int kGroupGap = 8;

// The command buttons sit below the groups of the left column, where the user
// ends: Apply first, the ping configuration beside it, the help below it.
constexpr int kApplyLeft = kColumnLeft;
constexpr int kApplyTop = kGroupTop + 3 * (kGroupHeight + kGroupGap) + 8;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;

const char* const kFrame1Caption =
    "Modify your Internet Settings in Order to improve your computer Networking Performance";

// Where each of the Manual panel's option groups lies, in the order of its
// table (kManualGroups), which gives the controls' ids and the input's kind.
struct OptionGroupLayout {
  const char* caption;
  int inputWidth;
  int column, row;
};

constexpr OptionGroupLayout kOptionGroups[std::size(kManualGroups)] = {
    {"MTU (Max Transmission Unit)", 70, kColumnLeft, 0},
    {"RWIN (Receive Window)", 70, kColumnLeft, 1},
    {"TTL (Time To Live)", 70, kColumnLeft, 2},
    {"Session Keep Alive", 90, kColumnRight, 0},
    {"NDI Cache", 70, kColumnRight, 1},
};

// Builds the menu bar from the model's description, items with their ids.
void AppendEntries(HMENU menu, const std::vector<MenuEntry>& entries) {
  for (const MenuEntry& entry : entries) {
    if (entry.IsSeparator()) {
      AppendMenuA(menu, MF_SEPARATOR, static_cast<UINT_PTR>(entry.id), nullptr);
    } else if (!entry.items.empty()) {
      HMENU submenu = CreatePopupMenu();
      AppendEntries(submenu, entry.items);
      AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), entry.caption.c_str());
    } else {
      AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entry.id), entry.caption.c_str());
    }
  }
}

int Height(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

// The toolbar position of a button's command id, or nothing.
std::optional<std::size_t> ToolbarPosition(UINT_PTR id) {
  const auto first = static_cast<UINT_PTR>(ids::kToolbarButtonBase + 1);
  if (id < first || id >= first + Toolbar().size()) return std::nullopt;
  return static_cast<std::size_t>(id - first);
}

}  // namespace

FrmMain::FrmMain(KestrelApp& app) : app_(app), model_(app, *this), tip_(app) {}

bool FrmMain::Open() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const auto smallIcon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_KESTREL), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!RegisterViewClass(ids::kMainWindowClass, &ViewWindowProc<FrmMain>,
                         LoadIconA(instance, MAKEINTRESOURCEA(IDI_KESTREL)), smallIcon)) {
    return false;
  }

  HMENU menuBar = CreateMenu();
  AppendEntries(menuBar, MainMenu());
  // Sized at last, once the bars have their heights at the window's DPI.
  if (!CreateWindowExA(0, ids::kMainWindowClass, kProgramTitle, kWindowStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, 0, 0, nullptr, menuBar, GetModuleHandleA(nullptr), this)) {
    DestroyMenu(menuBar);
    return false;
  }
  AddTopLevelWindow(window_);
  layout_.SetDpi(WindowDpi(window_));
  CreateToolbar();
  CreateStatusBar();
  const Bars bars = MeasureBars();
  layout_.SetTop(bars.toolbar + layout_.Px(kFrame1Top));
  CreateControls();
  layout_.Apply(window_);
  RECT frame{};
  GetWindowRect(window_, &frame);
  PlaceWindow(window_, POINT{frame.left, frame.top}, ClientSize(bars), true,
              layout_.scaling().dpi());
  model_.SetLayout(Height(window_), layout_.top(), bars.toolbar, bars.statusBar);
  shown_ = model_.layout();

  // The window stays hidden while it loads; the load shows it last.
  model_.Load();
  return true;
}

void FrmMain::CreateToolbar() {
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                                 WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP,
                                 0, 0, 0, 0, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids::Toolbar1)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  const int size = layout_.scaling().ToolbarImageSize();
  SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  std::vector<TBBUTTON> buttons;
  for (std::size_t i = 0; i < Toolbar().size(); ++i) {
    TBBUTTON button{};
    // Images come later in the load; the buttons have their size already.
    button.iBitmap = Toolbar()[i].IsSeparator() ? 0 : I_IMAGENONE;
    button.idCommand = ids::kToolbarButtonBase + static_cast<int>(i) + 1;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = static_cast<BYTE>(Toolbar()[i].IsSeparator() ? BTNS_SEP : BTNS_BUTTON);
    button.iString = -1;
    buttons.push_back(button);
  }
  SendMessageA(toolbar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
}

void FrmMain::CreateStatusBar() {
  CreateChild(window_, STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, ids::StatusBar1);
  SetStatusParts();
}

void FrmMain::SetStatusParts() {
  const int parts[] = {layout_.Px(kStatusPanel1Width),
                       layout_.Px(kStatusPanel1Width + kStatusPanel2Width), -1};
  SendMessageA(Item(ids::StatusBar1), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
}

FrmMain::Bars FrmMain::MeasureBars() {
  // The bars take their heights from their font and images.
  HWND toolbar = Item(ids::Toolbar1);
  HWND status = Item(ids::StatusBar1);
  for (HWND bar : {toolbar, status}) {
    SendMessageA(bar, WM_SETFONT, reinterpret_cast<WPARAM>(layout_.font()), FALSE);
  }
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
  SendMessageA(status, WM_SIZE, 0, 0);
  return Bars{Height(toolbar), Height(status)};
}

SIZE FrmMain::ClientSize(const Bars& bars) const {
  return SIZE{layout_.Px(kClientWidth),
              bars.toolbar + layout_.Px(kFrame1Top + kFrame1Height + kFrame1Bottom) +
                  bars.statusBar};
}

void FrmMain::CreateControls() {
  const DWORD tab = WS_TABSTOP;
  // Places from the top of Frame1, which the layout keeps below the toolbar.
  layout_.Add(window_, "BUTTON", kFrame1Caption, BS_GROUPBOX, 6, 0, kClientWidth - 12,
              kFrame1Height, ids::Frame1);

  layout_.Add(window_, "STATIC", "Connection Type", SS_LEFT, kColumnLeft, kLabelTop,
              kColumnWidth, 16, ids::Label1);
  layout_.Add(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, kColumnLeft,
              kListTop, kColumnWidth, 200, ids::cmbNetType);
  layout_.Add(window_, "STATIC", "Optimization Mode", SS_LEFT, kColumnRight, kLabelTop,
              kColumnWidth, 16, ids::Label2);
  layout_.Add(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP,
              kColumnRight, kListTop, kColumnWidth, 200, ids::cmbOptimize);

  const SettingsPanel& panel = model_.panel().controls();
  for (std::size_t i = 0; i < std::size(kManualGroups); ++i) {
    const OptionGroup& group = kManualGroups[i];
    const OptionGroupLayout& g = kOptionGroups[i];
    const int top = kGroupTop + g.row * (kGroupHeight + kGroupGap);
    layout_.Add(window_, "BUTTON", g.caption, BS_GROUPBOX, g.column, top, kColumnWidth,
                kGroupHeight, group.frameId);
    layout_.Add(window_, "BUTTON", "Windows Default", BS_RADIOBUTTON | tab | WS_GROUP,
                g.column + 12, top + 20, 140, 20, group.windowsDefaultId);
    layout_.Add(window_, "BUTTON", "Custom", BS_RADIOBUTTON | tab, g.column + 12, top + 44, 76, 20,
                group.customId);
    if (group.text) {
      HWND box = layout_.Add(window_, "EDIT", "", ES_LEFT | ES_AUTOHSCROLL | tab | WS_GROUP,
                             g.column + 92, top + 43, g.inputWidth, 22, group.inputId,
                             WS_EX_CLIENTEDGE);
      SendMessageA(box, EM_LIMITTEXT, (panel.*group.text).maxLength, 0);
      SetWindowSubclass(box, &FrmMain::NumberBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
      if (i == kGroupMTU) {
        // Open in every mode: using a measured value switches to Manual.
        layout_.Add(window_, "BUTTON", "Find...", BS_PUSHBUTTON | tab,
                    g.column + 92 + g.inputWidth + 8, top + 42, 56, 24, ids::cmdFindMtu);
      }
    } else {
      layout_.Add(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP,
                  g.column + 92, top + 43, g.inputWidth, 240, group.inputId);
    }
  }

  // General settings take the third row of the right column.
  const int top = kGroupTop + 2 * (kGroupHeight + kGroupGap);
  const int generalHeight = kGroupHeight + kGroupGap + kGroupHeight;
  layout_.Add(window_, "BUTTON", "General Settings", BS_GROUPBOX, kColumnRight, top, kColumnWidth,
              generalHeight, ids::Frame7);
  const int left = kColumnRight + 12;
  layout_.Add(window_, "BUTTON", "Path MTU Auto Discovery", BS_CHECKBOX | tab | WS_GROUP, left,
              top + 20, 200, 20, ids::chkPMTU);
  layout_.Add(window_, "BUTTON", "Black Hole Routers Detect", BS_CHECKBOX | tab | WS_GROUP, left,
              top + 44, 200, 20, ids::chkBlackHole);
  layout_.Add(window_, "STATIC", "MSCPS Using HTTP 1.0", SS_LEFT, left, top + 78, 140, 18,
              ids::Label3);
  layout_.Add(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, left + 144,
              top + 74, 64, 240, ids::cmbMSCPS0);
  layout_.Add(window_, "STATIC", "MSCPS Using HTTP 1.1", SS_LEFT, left, top + 110, 140, 18,
              ids::Label4);
  layout_.Add(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, left + 144,
              top + 106, 64, 240, ids::cmbMSCPS1);

  // Apply with its preview beside it, then the help and the ping
  // configuration below them.
  const int buttonsTop = kApplyTop;
  const int secondLeft = kApplyLeft + kButtonWidth + kButtonGap;
  const int secondWidth = kColumnWidth - kButtonWidth - kButtonGap;
  const int secondRow = buttonsTop + kButtonHeight + kButtonGap;
  const auto& captions = CommandButtonCaptions();
  layout_.Add(window_, "BUTTON", captions[0].c_str(), BS_DEFPUSHBUTTON | tab | WS_GROUP,
              kApplyLeft, buttonsTop, kButtonWidth, kButtonHeight, ids::cmdApply);
  layout_.Add(window_, "BUTTON", captions[1].c_str(), BS_PUSHBUTTON | tab | WS_GROUP, secondLeft,
              buttonsTop, secondWidth, kButtonHeight, ids::cmdPreview);
  layout_.Add(window_, "BUTTON", captions[2].c_str(), BS_PUSHBUTTON | tab | WS_GROUP, secondLeft,
              secondRow, secondWidth, kButtonHeight, ids::cmdPing);
  layout_.Add(window_, "BUTTON", captions[3].c_str(), BS_PUSHBUTTON | tab | WS_GROUP, kApplyLeft,
              secondRow, kButtonWidth, kButtonHeight, ids::cmdHelp);
}

void FrmMain::PumpMessages() { PumpPendingMessages(); }

void FrmMain::ShowPingDialog() {
  if (!frmPing_) frmPing_ = std::make_unique<common::win32::FrmPing>(app_.MakePingContext());
  frmPing_->ShowModal(window_);
}

platform::WindowHandle FrmMain::MainWindowHandle() const {
  return platform::win32::AsWindowHandle(window_);
}

void FrmMain::SetBusy(bool busy) {
  busy_ = busy;
  // At once, not only at the next move of the mouse.
  POINT cursor{};
  GetCursorPos(&cursor);
  if (WindowFromPoint(cursor) && GetAncestor(WindowFromPoint(cursor), GA_ROOT) == window_) {
    SetCursor(LoadCursor(nullptr, busy ? IDC_WAIT : IDC_ARROW));
  }
}

void FrmMain::ShowChangePreview(const ChangePreview& preview) {
  FrmPreview::ShowModal(window_, app_, preview);
}

FrmMain::~FrmMain() {
  // An echo still under way uses the library it was sent through until its
  // timeout: leave it all to the end of the process rather than free it
  // under the worker's thread.
  if (mtuNetwork_ && mtuNetwork_->worker.Busy()) static_cast<void>(mtuNetwork_.release());
}

std::optional<int> FrmMain::ShowMtuFinder(const std::string& host) {
  if (!mtuNetwork_) mtuNetwork_ = std::make_unique<MtuNetwork>();
  MtuSearch search(mtuNetwork_->worker, mtuNetwork_->sockets, mtuNetwork_->icmp);
  return FrmMtu::ShowModal(window_, search, host);
}

void FrmMain::ShowModeInformation() {
  Mirror();  // the panel behind the dialog shows the new mode already
  FrmDisplay::ShowModal(window_, model_.CurrentModeInformation());
}

void FrmMain::AssignToolbarImages() {
  HWND toolbar = Item(ids::Toolbar1);
  // The old list goes only once the toolbar holds the new one.
  platform::win32::UniqueImageList old = std::move(images_);
  images_ = MakeImageList(ToolbarImages(), layout_.scaling().ToolbarImageSize());
  SendMessageA(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
  for (std::size_t i = 0; i < Toolbar().size(); ++i) {
    const ToolbarButton& button = Toolbar()[i];
    if (button.IsSeparator()) continue;
    SendMessageA(toolbar, TB_CHANGEBITMAP, ids::kToolbarButtonBase + i + 1,
                 MAKELPARAM(button.image - 1, 0));
  }
}

void FrmMain::OnDpiChanged(int dpi, const RECT& suggested) {
  layout_.Rescale(window_, dpi);
  HWND toolbar = Item(ids::Toolbar1);
  const int size = layout_.scaling().ToolbarImageSize();
  SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  AssignToolbarImages();
  SetStatusParts();
  const Bars bars = MeasureBars();
  // The switches work from the new heights; a hidden bar stays hidden.
  const MainWindowLayout before = model_.layout();
  const SIZE client = ClientSize(bars);
  const SIZE outer = FrameSize(client, kWindowStyle, 0, true, dpi);
  model_.SetLayout(outer.cy, bars.toolbar + layout_.Px(kFrame1Top), bars.toolbar, bars.statusBar);
  if (!before.toolBarVisible) model_.ToggleToolBar();
  if (!before.statusBarVisible) model_.ToggleStatusBar();
  const MainWindowLayout& now = model_.layout();
  layout_.SetTop(now.frame1Top);
  layout_.Apply(window_);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, outer.cx, now.windowHeight,
               SWP_NOZORDER | SWP_NOACTIVATE);
  shown_ = now;
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void FrmMain::ShowTipOfTheDay(bool modal) { tip_.Show(window_, modal); }

void FrmMain::ShowMainWindow() {
  Mirror();
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  SetForegroundWindow(window_);
}

void FrmMain::CloseMainWindow() { PostMessageA(window_, WM_CLOSE, 0, 0); }

void FrmMain::Mirror() {
  mirroring_ = true;
  const SettingsPanel& p = model_.panel().controls();
  MirrorList(Item(ids::cmbNetType), p.cmbNetType);
  MirrorList(Item(ids::cmbOptimize), p.cmbOptimize);

  for (const OptionGroup& g : kManualGroups) {
    MirrorEnabled(Item(g.frameId), p.*g.frame);
    MirrorOption(Item(g.windowsDefaultId), p.*g.windowsDefault);
    MirrorOption(Item(g.customId), p.*g.custom);
    g.text ? MirrorText(Item(g.inputId), p.*g.text) : MirrorList(Item(g.inputId), p.*g.list);
  }

  MirrorEnabled(Item(ids::Frame7), p.Frame7);
  MirrorCheck(Item(ids::chkPMTU), p.chkPMTU);
  MirrorCheck(Item(ids::chkBlackHole), p.chkBlackHole);
  MirrorEnabled(Item(ids::Label3), p.Label3);
  MirrorList(Item(ids::cmbMSCPS0), p.cmbMSCPS0);
  MirrorEnabled(Item(ids::Label4), p.Label4);
  MirrorList(Item(ids::cmbMSCPS1), p.cmbMSCPS1);

  HWND status = Item(ids::StatusBar1);
  const auto panels = model_.StatusPanels();
  for (int i = 0; i < 3; ++i) {
    SendMessageA(status, SB_SETTEXTA, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(panels[static_cast<std::size_t>(i)].c_str()));
  }
  MirrorLayout();
  MirrorMenuChecks();
  mirroring_ = false;
}

void FrmMain::MirrorLayout() {
  const MainWindowLayout& wanted = model_.layout();
  if (wanted == shown_) return;
  if (wanted.toolBarVisible != shown_.toolBarVisible) {
    ShowWindow(Item(ids::Toolbar1), wanted.toolBarVisible ? SW_SHOW : SW_HIDE);
  }
  if (wanted.statusBarVisible != shown_.statusBarVisible) {
    ShowWindow(Item(ids::StatusBar1), wanted.statusBarVisible ? SW_SHOW : SW_HIDE);
  }
  // Frame1 moves with everything in it: every control but the two bars.
  if (const int shift = wanted.frame1Top - shown_.frame1Top; shift != 0) {
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(child);
      if (id == ids::Toolbar1 || id == ids::StatusBar1) continue;
      RECT rect{};
      GetWindowRect(child, &rect);
      MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&rect), 2);
      SetWindowPos(child, nullptr, rect.left, rect.top + shift, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  if (wanted.windowHeight != shown_.windowHeight) {
    RECT rect{};
    GetWindowRect(window_, &rect);
    SetWindowPos(window_, nullptr, 0, 0, rect.right - rect.left, wanted.windowHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  layout_.SetTop(wanted.frame1Top);
  // Moved controls leave their old places behind; the whole window paints anew.
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  shown_ = wanted;
}

void FrmMain::MirrorMenuChecks() {
  // Every time, not only when a bar changes: the bars show from the start,
  // and their items must say so before the first switch.
  HMENU menu = GetMenu(window_);
  for (int id : {ids::mnuToolBar, ids::mnuStatusBar}) {
    CheckMenuItem(menu, static_cast<UINT>(id),
                  MF_BYCOMMAND | (model_.Checked(id) ? MF_CHECKED : MF_UNCHECKED));
  }
}

void FrmMain::OnCommand(int id, int code, HWND control) {
  // Nothing new starts while a command waits for another program.
  if (model_.Busy()) return;
  if (!control) {
    // A menu item.
    if (code == 0) {
      Mirror();
      model_.MenuItemClicked(id);
      Mirror();
    }
    return;
  }
  if (control == Item(ids::Toolbar1)) {
    if (const auto position = ToolbarPosition(static_cast<UINT_PTR>(id))) {
      Mirror();
      model_.ToolbarButtonClicked(Toolbar()[*position].key);
      Mirror();
    }
    return;
  }
  OnControlEvent(id, code);
}

bool FrmMain::OnNotify(const NMHDR& header, LRESULT& result) {
  // The tooltip of a toolbar button, asked for by its command id.
  if (header.code != TTN_GETDISPINFOA && header.code != TTN_GETDISPINFOW) return false;
  const auto position = ToolbarPosition(header.idFrom);
  if (!position) return false;
  const std::string& tip = Toolbar()[*position].tooltip;
  if (header.code == TTN_GETDISPINFOA) {
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(const_cast<NMHDR&>(header));
    info.lpszText = const_cast<char*>(tip.c_str());
  } else {
    static wchar_t wide[80];
    MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, wide, static_cast<int>(std::size(wide)));
    reinterpret_cast<NMTTDISPINFOW&>(const_cast<NMHDR&>(header)).lpszText = wide;
  }
  result = 0;
  return true;
}

bool FrmMain::ForwardOptionGroupEvent(int id, int code) {
  SettingsPanelModel& panel = model_.panel();
  for (const OptionGroup& g : kManualGroups) {
    if (code == BN_CLICKED && id == g.windowsDefaultId) {
      panel.DefaultChosen(g);
    } else if (code == BN_CLICKED && id == g.customId) {
      panel.CustomChosen(g);
    } else if (code == CBN_SELCHANGE && id == g.inputId && g.list) {
      panel.ItemChosen(g, static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)));
    } else if (code == EN_CHANGE && id == g.inputId && g.text && !mirroring_) {
      panel.TextChanged(g, WindowText(Item(id)));
    } else {
      continue;
    }
    return true;
  }
  return false;
}

void FrmMain::OnControlEvent(int id, int code) {
  if (ForwardOptionGroupEvent(id, code)) {
    Mirror();
    return;
  }
  SettingsPanelModel& panel = model_.panel();
  const auto selection = [&] {
    return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
  };
  const auto nextCheck = [&] {
    return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 0 : 1;
  };

  if (code == CBN_SELCHANGE) {
    switch (id) {
      case ids::cmbNetType: panel.cmbNetTypeChosen(selection()); break;
      case ids::cmbOptimize: panel.cmbOptimizeChosen(selection()); break;
      case ids::cmbMSCPS0: panel.cmbMSCPS0Chosen(selection()); break;
      case ids::cmbMSCPS1: panel.cmbMSCPS1Chosen(selection()); break;
      default: return;
    }
  } else if (code == BN_CLICKED) {
    switch (id) {
      case ids::chkPMTU: panel.chkPMTUClicked(nextCheck()); break;
      case ids::chkBlackHole: panel.chkBlackHoleClicked(nextCheck()); break;
      case ids::cmdApply:
        Mirror();
        model_.Run(Command::Apply);
        break;
      case ids::cmdPreview:
        Mirror();
        model_.Run(Command::Preview);
        break;
      case ids::cmdPing: model_.Run(Command::PingConfiguration); break;
      case ids::cmdHelp: model_.Run(Command::Help); return;
      case ids::cmdFindMtu:
        Mirror();
        model_.Run(Command::FindLargestMtu);
        break;
      default: return;
    }
  } else {
    return;
  }
  Mirror();
}

LRESULT CALLBACK FrmMain::NumberBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR, DWORD_PTR self) {
  if (message == WM_CHAR) {
    auto* view = reinterpret_cast<FrmMain*>(self);
    if (!view->model_.panel().KeyTyped(static_cast<char>(wParam))) return 0;
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return result;
      return DefWindowProcA(window_, message, wParam, lParam);
    }
    case WM_SIZE:
      // The bars keep to the edges of the client area.
      SendMessageA(Item(ids::Toolbar1), TB_AUTOSIZE, 0, 0);
      SendMessageA(Item(ids::StatusBar1), WM_SIZE, 0, 0);
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        SetCursor(LoadCursor(nullptr, IDC_WAIT));
        return TRUE;
      }
      return DefWindowProcA(window_, message, wParam, lParam);
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_CLOSE:
      // While a command waits for another program, the model asks first.
      if (model_.CloseRequested()) DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      RemoveTopLevelWindow(window_);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
