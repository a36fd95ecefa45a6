// A window's timers.
#include <windows.h>

#include "platform/win32/Win32Services.h"

namespace platform {

void Win32Timers::StartTimer(WindowHandle window, unsigned id, unsigned intervalMs) {
  ::SetTimer(static_cast<HWND>(window), id, intervalMs, nullptr);
}

void Win32Timers::StopTimer(WindowHandle window, unsigned id) {
  ::KillTimer(static_cast<HWND>(window), id);
}

}  // namespace platform
