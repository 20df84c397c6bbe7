#pragma once

#include <vector>

#include "common/scaling.h"
#include "platform/win32/handles.h"

namespace common::win32 {

// The DPI a window is drawn at: its monitor's where the system scales per
// monitor, else the screen's.
int WindowDpi(HWND window);

// The system's message font made for the DPI, bolder or larger when asked
// (percent of its height); null when no font could be made.
platform::win32::UniqueGdiObject MakeMessageFont(int dpi, bool bold = false, int percent = 100);

// The outer size of a window of the style whose client area is the size
// given, with the frame and caption of that DPI.
SIZE FrameSize(SIZE client, DWORD style, DWORD exStyle, bool menu, int dpi);

// Moves and sizes a window so that its client area has the size given in
// pixels of the DPI, its top-left corner at `corner`.
void PlaceWindow(HWND window, POINT corner, SIZE client, bool menu, int dpi);

// The controls of one window with their places in the window's layout units
// (96-DPI pixels or twips) and the fonts made for its DPI, so that a new DPI
// lays the window out again from the same numbers, never from rounded pixels.
class ViewLayout {
 public:
  // Bold controls get the message font in bold at boldPercent of its height.
  explicit ViewLayout(int unitsPerInch = Scaling::kBaseDpi, int boldPercent = 100)
      : unitsPerInch_(unitsPerInch), boldPercent_(boldPercent) {}

  const Scaling& scaling() const { return scaling_; }
  // Takes the DPI and makes the fonts for it; Apply gives them to the controls.
  void SetDpi(int dpi);
  // A length in layout units, in pixels of the window's DPI.
  int Px(int units) const { return scaling_.FromUnits(units, unitsPerInch_); }
  HFONT font() const;

  // The controls made after this lie `pixels` lower, and Apply moves them
  // all there: a band below a bar whose height is the system's, not the
  // layout's.
  void SetTop(int pixels) { top_ = pixels; }
  int top() const { return top_; }

  // Creates a child control (see CreateChild) at its scaled place.
  HWND Add(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
           int width, int height, int id, DWORD exStyle = 0, bool bold = false);
  // Gives every child the window's font (the bold ones the bold font) and
  // moves each control made by Add to its place.
  void Apply(HWND parent) const;
  // For a new DPI: the new fonts and places.
  void Rescale(HWND parent, int dpi);

  // Takes the DPI of `around` (the screen's when there is none), where the
  // window is to open, and gives the frame of a window whose client area is
  // `client` in layout units at that DPI, centred over it (see CentredOver).
  RECT CentredFrame(HWND around, SIZE client, DWORD style, DWORD exStyle);
  // Takes the DPI of the window, made at the layout's DPI: where the two
  // differ (it opened on another monitor), the window keeps its top-left
  // corner and gets the client area `client` in layout units at its own.
  void Adopt(HWND window, SIZE client);
  // WM_DPICHANGED as the message gives it: the window takes the suggested
  // place, with its client area `client` in layout units, then the new
  // fonts and places.
  void OnDpiChanged(HWND window, WPARAM wParam, LPARAM lParam, SIZE client);

 private:
  struct Place {
    int id;
    RECT units;
    bool bold;
  };
  // A place in layout units, in pixels of the window's DPI.
  RECT Scaled(const RECT& units) const;
  int unitsPerInch_;
  int boldPercent_;
  Scaling scaling_;
  int top_ = 0;
  platform::win32::UniqueGdiObject font_;
  platform::win32::UniqueGdiObject boldFont_;
  std::vector<Place> places_;
};

}  // namespace common::win32
