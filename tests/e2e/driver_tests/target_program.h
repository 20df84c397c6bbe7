#pragma once

#include <string>

// The driver's tests drive windows of this same program, started again in
// one of these modes:
//   window  a main window with the kinds of controls the driver handles
//   late    the main window shows first and gets its status bar later
//   flash   a window shows briefly, then the program ends with code 0
//   exit3   the program ends with code 3 and shows nothing
//   tray    a hidden window with a tray icon and a popup menu (ServeTray)
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

// The tray mode: the hidden owner window's title tells what happened,
// "starts N, <last command>", where N counts the clicks that would start the
// tuning program. Its popup menu: "Picture 1" to "Picture 4", a separator,
// then "More" with "Picture 5", "Animate" (pictures 1 to 4, one every 200 ms)
// and "Remove icon". The pictures are the tray monitor's.
inline constexpr const char* kTrayOwnerClass = "E2eDriverTrayOwner";
inline constexpr unsigned kPictureCommand = 1000;  // + picture number
inline constexpr unsigned kAnimateCommand = 1010;
inline constexpr unsigned kRemoveCommand = 1011;

int Serve(const std::string& mode);
int ServeTray();

// This program's own path, which the tests start again in a mode.
std::string SelfPath();

}  // namespace target
