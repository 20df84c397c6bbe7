#pragma once

// The window class and control ids of frmPing, the ping configuration dialog
// of both programs. The view creates them; the end-to-end driver finds and
// drives the same controls.
namespace common::ping_ids {

inline constexpr const char* kPingWindowClass = "PingConfigurationDialog";
inline constexpr const char* kPingCaption = "Ping Configuration";

// Not IDOK or IDCANCEL: Enter and Escape send those, and they must press none
// of the buttons.
inline constexpr int Picture1 = 300;
inline constexpr int Label1 = 301;
inline constexpr int Frame1 = 302;
inline constexpr int Option1 = 303;
inline constexpr int Option2 = 304;
inline constexpr int Label2 = 305;
inline constexpr int txtPingHost = 306;
inline constexpr int Label3 = 307;
inline constexpr int cmbPingInterval = 308;
inline constexpr int chkSound = 309;
inline constexpr int cmdOK = 310;
inline constexpr int cmdCancel = 311;
inline constexpr int cmdHelp = 312;
inline constexpr int cmdDefault = 313;

}  // namespace common::ping_ids
