#pragma once

// Window classes and control ids of the tuning program's windows. The view
// creates them; the end-to-end driver finds and drives the same controls.
namespace kestrel::ids {

inline constexpr const char* kMainWindowClass = "KestrelMainWindow";
inline constexpr const char* kDisplayWindowClass = "KestrelDisplayDialog";
inline constexpr const char* kTipWindowClass = "KestrelTipDialog";

// frmMain
inline constexpr int StatusBar1 = 100;
inline constexpr int Frame1 = 101;
inline constexpr int Frame2 = 102;
inline constexpr int Frame3 = 103;
inline constexpr int Frame4 = 104;
inline constexpr int Frame5 = 105;
inline constexpr int Frame6 = 106;
inline constexpr int Frame7 = 107;
inline constexpr int Label1 = 110;
inline constexpr int cmbNetType = 111;
inline constexpr int Label2 = 112;
inline constexpr int cmbOptimize = 113;
inline constexpr int optMTU1 = 120;
inline constexpr int optMTU2 = 121;
inline constexpr int txtMTU = 122;
inline constexpr int optRWIN1 = 123;
inline constexpr int optRWIN2 = 124;
inline constexpr int cmbRWIN = 125;
inline constexpr int optTTL1 = 126;
inline constexpr int optTTL2 = 127;
inline constexpr int txtTTL = 128;
inline constexpr int optSKA1 = 129;
inline constexpr int optSKA2 = 130;
inline constexpr int cmbSKA = 131;
inline constexpr int optNDI1 = 132;
inline constexpr int optNDI2 = 133;
inline constexpr int cmbNDI = 134;
inline constexpr int chkPMTU = 140;
inline constexpr int chkBlackHole = 141;
inline constexpr int Label3 = 142;
inline constexpr int cmbMSCPS0 = 143;
inline constexpr int Label4 = 144;
inline constexpr int cmbMSCPS1 = 145;
inline constexpr int cmdApply = 150;
inline constexpr int cmdPing = 151;
inline constexpr int cmdHelp = 152;
inline constexpr int cmdPreview = 153;
// Beside txtMTU: opens the MTU measurement.
inline constexpr int cmdFindMtu = 154;
inline constexpr int Toolbar1 = 160;
// The toolbar's buttons send their position from 1 to 12 added to this.
inline constexpr int kToolbarButtonBase = 600;

// The menu bar of frmMain; these are the command ids of its items.
inline constexpr int mnuApplyNewSettings = 500;
inline constexpr int mnuRegistryBackup = 501;
inline constexpr int mnuPingConfiguration = 502;
inline constexpr int mnudash1 = 503;
inline constexpr int mnuRestore = 504;
inline constexpr int mnudash2 = 505;
inline constexpr int mnuExit = 506;
inline constexpr int mnuUndo = 507;
inline constexpr int mnuPreview = 508;
inline constexpr int mnuFindMtu = 509;
inline constexpr int mnuToolBar = 510;
inline constexpr int mnuStatusBar = 511;
inline constexpr int mnudash3 = 512;
inline constexpr int mnuControlPanel = 513;
inline constexpr int mnuSystem = 514;
inline constexpr int mnuInternet = 515;
inline constexpr int mnumodem = 516;
inline constexpr int mnuNetwork = 517;
inline constexpr int mnuHelp1 = 520;
inline constexpr int mnutip = 521;
inline constexpr int mnudash9 = 522;
inline constexpr int mnucontactus1 = 523;
inline constexpr int mnuwebsite1 = 524;
inline constexpr int mnuemail1 = 525;

// frmMtu: the measurement of the largest packet that crosses the path.
inline constexpr const char* kMtuWindowClass = "KestrelMtuWindow";
inline constexpr int lblMtuHost = 410;
inline constexpr int txtMtuHost = 411;
inline constexpr int cmdMtuStart = 412;
inline constexpr int cmdMtuCancel = 413;
inline constexpr int prgMtu = 414;
inline constexpr int lstMtuProbes = 415;
inline constexpr int lblMtuResult = 416;
inline constexpr int cmdMtuUse = 417;
inline constexpr int cmdMtuClose = 2;  // IDCANCEL, so that Escape closes it

// frmPreview: the list of the changes Apply would make, and its summary.
inline constexpr const char* kPreviewWindowClass = "KestrelPreviewWindow";
inline constexpr int lblPreviewSummary = 400;
inline constexpr int lvwPreview = 401;
inline constexpr int cmdPreviewClose = 2;  // IDCANCEL, so that Escape closes it
inline constexpr int cmdPreviewExport = 402;

// frmDisplay
inline constexpr int Picture1 = 200;
inline constexpr int DisplayLabel1 = 201;
inline constexpr int DisplayLabel2 = 202;
inline constexpr int cmdOK = 1;  // IDOK, so that Enter and Escape close the dialog

// frmTip (its OK button is cmdOK as well)
inline constexpr int TipPicture = 300;
inline constexpr int TipLabel1 = 301;
inline constexpr int lblTipText = 302;
inline constexpr int chkLoadTipsAtStartup = 303;
inline constexpr int cmdNextTip = 304;

}  // namespace kestrel::ids
