#pragma once

#include <string>

// The driver's tests drive windows of this same program, started again in
// one of these modes:
//   window  a main window with the kinds of controls the driver handles
//   late    the main window shows first and gets its status bar later
//   flash   a window shows briefly, then the program ends with code 0
//   exit3   the program ends with code 3 and shows nothing
namespace target {

inline constexpr const char* kServeFlag = "--serve";
inline constexpr const char* kWindowClass = "E2eDriverTarget";

inline constexpr int kStatus = 100;
inline constexpr int kCombo = 111;
inline constexpr int kEmptyCombo = 112;
inline constexpr int kEdit = 122;
inline constexpr int kCheck = 140;
inline constexpr int kShowBox = 150;
inline constexpr int kDisabled = 151;
inline constexpr int kFrame = 160;
inline constexpr int kNested = 161;

// Posted with a MessageBox style as wparam; the next click on kShowBox
// shows a box of that style, and panel 0 then reads "answer N".
inline constexpr unsigned kSetBoxStyle = 0x8001;  // WM_APP + 1

// The red square the window paints, in client coordinates.
inline constexpr int kSquareLeft = 300;
inline constexpr int kSquareTop = 20;
inline constexpr int kSquareSize = 20;

inline const std::string kLongPanelText(300, 'x');

int Serve(const std::string& mode);

}  // namespace target
