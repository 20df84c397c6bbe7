#pragma once

// The window helpers are shared with the other program; the tuning program's
// views use them unqualified.
#include "common/win32/window_helpers.h"

namespace kestrel::win32 {

using namespace common::win32;

}  // namespace kestrel::win32
