#pragma once

// Window classes and control ids of the tuning program's windows. The view
// creates them; the end-to-end driver finds and drives the same controls.
namespace kestrel::ids {

inline constexpr const char* kMainWindowClass = "KestrelMainWindow";
inline constexpr const char* kDisplayWindowClass = "KestrelDisplayDialog";

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

// frmDisplay
inline constexpr int Picture1 = 200;
inline constexpr int DisplayLabel1 = 201;
inline constexpr int DisplayLabel2 = 202;
inline constexpr int cmdOK = 1;  // IDOK, so that Enter and Escape close the dialog

}  // namespace kestrel::ids
