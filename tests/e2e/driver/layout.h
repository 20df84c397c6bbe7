#pragma once

#include <string>
#include <vector>

#include "tests/e2e/driver/window.h"

namespace e2e {

// The scaling the test's prefix was made with (KESTREL_WINE_DPI, else 96),
// and the one the screen has: they differ when the setting did not take.
int ExpectedDpi();
int ScreenDpi();

// What is wrong with the layout of a window's controls, one line each:
// a static text, button, check box, option button or group box too small
// for its text in its own font; a control outside the client area; two
// controls on each other, other than a group box and what lies inside it.
std::vector<std::string> LayoutProblems(const Window& window);

// The size of the client area and the place of every control in it, one
// line each, to compare a layout with another.
std::vector<std::string> ControlPlaces(const Window& window);

}  // namespace e2e
