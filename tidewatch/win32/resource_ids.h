#pragma once

// Resource ids of Tidewatch.exe, shared by its resource scripts, its views
// and the tests that compare what the tray shows with these pictures.

// The program's own icon, for the program file and its windows.
#define IDI_TIDEWATCH 1

// The tray pictures: images 1 to 4 are the animation frames, shown in that
// order; image 5 is the resting picture. Each has a 16 and a 32 pixel image.
#define IDI_TRAY1 101
#define IDI_TRAY2 102
#define IDI_TRAY3 103
#define IDI_TRAY4 104
#define IDI_TRAY5 105

#ifndef RC_INVOKED
namespace tidewatch {
inline constexpr int kTrayImageCount = 5;
inline constexpr int kRestingImage = 5;
// The resource of tray image n (1 to 5).
constexpr int TrayImageResource(int image) { return IDI_TRAY1 + image - 1; }
}  // namespace tidewatch
#endif
