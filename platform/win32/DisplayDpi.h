#pragma once
// The DPI that Windows gives the program's windows. The manifest declares
// the program aware of the DPI of each monitor (Windows 10 and later) and
// of the system's DPI (Vista and later); Windows XP, and Windows before
// 10's DPI calls, give the system's DPI for every window.

#include <windows.h>

#include "platform/Dpi.h"

namespace platform {

// The DPI of the screen at the program's start.
int SystemDpi();

// The DPI of the monitor that shows `window`.
int WindowDpi(HWND window);

// The window rectangle, from (0, 0), around a client area of `width` x
// `height` pixels, with the frame and caption Windows draws at `dpi`.
RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);

}  // namespace platform
