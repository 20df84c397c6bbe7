#include "kestrel/win32/frm_main.h"

#include "kestrel/control_ids.h"
#include "kestrel/win32/frm_display.h"
#include "kestrel/win32/resource_ids.h"
#include "kestrel/win32/window_helpers.h"
#include "platform/win32/adapters.h"

namespace kestrel::win32 {
namespace {

constexpr int kClientWidth = 516;  // 7740 by 6990 twips at 15 twips a pixel
constexpr int kClientHeight = 466;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr int kStatusPanel1Width = 250;
constexpr int kStatusPanel2Width = 124;

// Control geometry, in client pixels.
constexpr int kFrame1Top = 4;
constexpr int kColumnLeft = 18;
constexpr int kColumnRight = 264;
constexpr int kColumnWidth = 234;
constexpr int kGroupTop = 80;
constexpr int kGroupHeight = 74;
constexpr int kGroupGap = 8;

// The command buttons sit below the groups of the left column, where the user
// ends: Apply first, the ping configuration beside it, the help below it.
constexpr int kApplyLeft = kColumnLeft;
constexpr int kApplyTop = kGroupTop + 3 * (kGroupHeight + kGroupGap) + 20;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;

const char* const kFrame1Caption =
    "Modify your Internet Settings in Order to improve your computer Networking Performance";

struct OptionGroupLayout {
  int frame, defaultOption, customOption, input;
  const char* caption;
  bool inputIsText;
  int inputWidth;
  int column, row;
};

constexpr OptionGroupLayout kOptionGroups[] = {
    {ids::Frame2, ids::optMTU1, ids::optMTU2, ids::txtMTU, "MTU (Max Transmission Unit)", true, 70,
     kColumnLeft, 0},
    {ids::Frame3, ids::optRWIN1, ids::optRWIN2, ids::cmbRWIN, "RWIN (Receive Window)", false, 70,
     kColumnLeft, 1},
    {ids::Frame4, ids::optTTL1, ids::optTTL2, ids::txtTTL, "TTL (Time To Live)", true, 70,
     kColumnLeft, 2},
    {ids::Frame5, ids::optSKA1, ids::optSKA2, ids::cmbSKA, "Session Keep Alive", false, 90,
     kColumnRight, 0},
    {ids::Frame6, ids::optNDI1, ids::optNDI2, ids::cmbNDI, "NDI Cache", false, 70, kColumnRight,
     1},
};

}  // namespace

FrmMain::FrmMain(KestrelApp& app) : app_(app), model_(app, *this) {}

bool FrmMain::Open() {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const auto smallIcon = static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(IDI_KESTREL), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!RegisterViewClass(ids::kMainWindowClass, &ViewWindowProc<FrmMain>,
                         LoadIconA(instance, MAKEINTRESOURCEA(IDI_KESTREL)), smallIcon)) {
    return false;
  }

  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  if (!CreateWindowExA(0, ids::kMainWindowClass, kProgramTitle, kWindowStyle, CW_USEDEFAULT,
                       CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                       nullptr, GetModuleHandleA(nullptr), this)) {
    return false;
  }
  CreateControls();

  // The window stays hidden while it loads.
  model_.Load();
  Mirror();
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  return true;
}

void FrmMain::CreateControls() {
  const DWORD tab = WS_TABSTOP;
  const int statusHeight = 22;
  CreateChild(window_, "BUTTON", kFrame1Caption, BS_GROUPBOX, 6, kFrame1Top, kClientWidth - 12,
              kClientHeight - statusHeight - kFrame1Top - 6, ids::Frame1);

  CreateChild(window_, "STATIC", "Connection Type", SS_LEFT, kColumnLeft, 26, kColumnWidth, 16,
              ids::Label1);
  CreateChild(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, kColumnLeft,
              44, kColumnWidth, 200, ids::cmbNetType);
  CreateChild(window_, "STATIC", "Optimization Mode", SS_LEFT, kColumnRight, 26, kColumnWidth, 16,
              ids::Label2);
  CreateChild(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP,
              kColumnRight, 44, kColumnWidth, 200, ids::cmbOptimize);

  for (const OptionGroupLayout& g : kOptionGroups) {
    const int top = kGroupTop + g.row * (kGroupHeight + kGroupGap);
    CreateChild(window_, "BUTTON", g.caption, BS_GROUPBOX, g.column, top, kColumnWidth,
                kGroupHeight, g.frame);
    CreateChild(window_, "BUTTON", "Windows Default", BS_RADIOBUTTON | tab | WS_GROUP,
                g.column + 12, top + 20, 140, 20, g.defaultOption);
    CreateChild(window_, "BUTTON", "Custom", BS_RADIOBUTTON | tab, g.column + 12, top + 44, 76, 20,
                g.customOption);
    if (g.inputIsText) {
      HWND box = CreateChild(window_, "EDIT", "", ES_LEFT | ES_AUTOHSCROLL | tab | WS_GROUP,
                             g.column + 92, top + 43, g.inputWidth, 22, g.input, WS_EX_CLIENTEDGE);
      SendMessageA(box, EM_LIMITTEXT, g.input == ids::txtMTU ? 5 : 3, 0);
      SetWindowSubclass(box, &FrmMain::NumberBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    } else {
      CreateChild(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP,
                  g.column + 92, top + 43, g.inputWidth, 240, g.input);
    }
  }

  // General settings take the third row of the right column.
  const int top = kGroupTop + 2 * (kGroupHeight + kGroupGap);
  const int generalHeight = kGroupHeight + kGroupGap + kGroupHeight;
  CreateChild(window_, "BUTTON", "General Settings", BS_GROUPBOX, kColumnRight, top, kColumnWidth,
              generalHeight, ids::Frame7);
  const int left = kColumnRight + 12;
  CreateChild(window_, "BUTTON", "Path MTU Auto Discovery", BS_CHECKBOX | tab | WS_GROUP, left,
              top + 20, 200, 20, ids::chkPMTU);
  CreateChild(window_, "BUTTON", "Black Hole Routers Detect", BS_CHECKBOX | tab | WS_GROUP, left,
              top + 44, 200, 20, ids::chkBlackHole);
  CreateChild(window_, "STATIC", "MSCPS Using HTTP 1.0", SS_LEFT, left, top + 78, 140, 18,
              ids::Label3);
  CreateChild(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, left + 144,
              top + 74, 64, 240, ids::cmbMSCPS0);
  CreateChild(window_, "STATIC", "MSCPS Using HTTP 1.1", SS_LEFT, left, top + 110, 140, 18,
              ids::Label4);
  CreateChild(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | tab | WS_GROUP, left + 144,
              top + 106, 64, 240, ids::cmbMSCPS1);

  CreateChild(window_, "BUTTON", "&Apply", BS_DEFPUSHBUTTON | tab | WS_GROUP, kApplyLeft,
              kApplyTop, kButtonWidth, kButtonHeight, ids::cmdApply);
  CreateChild(window_, "BUTTON", "&Ping Configuration", BS_PUSHBUTTON | tab | WS_GROUP,
              kApplyLeft + kButtonWidth + kButtonGap, kApplyTop,
              kColumnWidth - kButtonWidth - kButtonGap, kButtonHeight, ids::cmdPing);
  CreateChild(window_, "BUTTON", "&Help", BS_PUSHBUTTON | tab | WS_GROUP, kApplyLeft,
              kApplyTop + kButtonHeight + kButtonGap, kButtonWidth, kButtonHeight, ids::cmdHelp);

  HWND status = CreateChild(window_, STATUSCLASSNAMEA, "", 0, 0, 0, 0, 0, ids::StatusBar1);
  const int parts[] = {kStatusPanel1Width, kStatusPanel1Width + kStatusPanel2Width, -1};
  SendMessageA(status, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));

  SetFontOnChildren(window_, MessageFont());
}

void FrmMain::PumpMessages() { PumpPendingMessages(); }

void FrmMain::ShowPingDialog() {
  if (!frmPing_) frmPing_ = std::make_unique<common::win32::FrmPing>(app_.MakePingContext());
  frmPing_->ShowModal(window_);
}

platform::WindowHandle FrmMain::MainWindowHandle() const {
  return platform::win32::AsWindowHandle(window_);
}

void FrmMain::ShowModeInformation() {
  Mirror();  // the panel behind the dialog shows the new mode already
  FrmDisplay::ShowModal(window_, model_.CurrentModeInformation());
}

void FrmMain::Mirror() {
  mirroring_ = true;
  const SettingsPanel& p = model_.panel().controls();
  MirrorList(Item(ids::cmbNetType), p.cmbNetType);
  MirrorList(Item(ids::cmbOptimize), p.cmbOptimize);

  MirrorEnabled(Item(ids::Frame2), p.Frame2);
  MirrorOption(Item(ids::optMTU1), p.optMTU1);
  MirrorOption(Item(ids::optMTU2), p.optMTU2);
  MirrorText(Item(ids::txtMTU), p.txtMTU);

  MirrorEnabled(Item(ids::Frame3), p.Frame3);
  MirrorOption(Item(ids::optRWIN1), p.optRWIN1);
  MirrorOption(Item(ids::optRWIN2), p.optRWIN2);
  MirrorList(Item(ids::cmbRWIN), p.cmbRWIN);

  MirrorEnabled(Item(ids::Frame4), p.Frame4);
  MirrorOption(Item(ids::optTTL1), p.optTTL1);
  MirrorOption(Item(ids::optTTL2), p.optTTL2);
  MirrorText(Item(ids::txtTTL), p.txtTTL);

  MirrorEnabled(Item(ids::Frame5), p.Frame5);
  MirrorOption(Item(ids::optSKA1), p.optSKA1);
  MirrorOption(Item(ids::optSKA2), p.optSKA2);
  MirrorList(Item(ids::cmbSKA), p.cmbSKA);

  MirrorEnabled(Item(ids::Frame6), p.Frame6);
  MirrorOption(Item(ids::optNDI1), p.optNDI1);
  MirrorOption(Item(ids::optNDI2), p.optNDI2);
  MirrorList(Item(ids::cmbNDI), p.cmbNDI);

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
  mirroring_ = false;
}

void FrmMain::OnCommand(int id, int code) {
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
      case ids::cmbRWIN: panel.cmbRWINChosen(selection()); break;
      case ids::cmbSKA: panel.cmbSKAChosen(selection()); break;
      case ids::cmbNDI: panel.cmbNDIChosen(selection()); break;
      case ids::cmbMSCPS0: panel.cmbMSCPS0Chosen(selection()); break;
      case ids::cmbMSCPS1: panel.cmbMSCPS1Chosen(selection()); break;
      default: return;
    }
  } else if (code == EN_CHANGE) {
    if (mirroring_) return;
    if (id == ids::txtMTU) panel.txtMTUChanged(WindowText(Item(id)));
    else if (id == ids::txtTTL) panel.txtTTLChanged(WindowText(Item(id)));
    else return;
  } else if (code == BN_CLICKED) {
    switch (id) {
      case ids::optMTU1: panel.optMTU1Chosen(); break;
      case ids::optMTU2: panel.optMTU2Chosen(); break;
      case ids::optRWIN1: panel.optRWIN1Chosen(); break;
      case ids::optRWIN2: panel.optRWIN2Chosen(); break;
      case ids::optTTL1: panel.optTTL1Chosen(); break;
      case ids::optTTL2: panel.optTTL2Chosen(); break;
      case ids::optSKA1: panel.optSKA1Chosen(); break;
      case ids::optSKA2: panel.optSKA2Chosen(); break;
      case ids::optNDI1: panel.optNDI1Chosen(); break;
      case ids::optNDI2: panel.optNDI2Chosen(); break;
      case ids::chkPMTU: panel.chkPMTUClicked(nextCheck()); break;
      case ids::chkBlackHole: panel.chkBlackHoleClicked(nextCheck()); break;
      case ids::cmdApply:
        Mirror();
        model_.Apply();
        break;
      case ids::cmdPing: model_.ShowPingConfiguration(); break;
      case ids::cmdHelp: model_.OpenHelp(); return;
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
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

}  // namespace kestrel::win32
