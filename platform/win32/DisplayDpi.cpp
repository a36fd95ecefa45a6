#include "platform/win32/DisplayDpi.h"

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

int SystemDpi() {
  WindowDC screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return dpi > 0 ? dpi : kDesignDpi;
}

int WindowDpi(HWND window) {
  // Windows 10 (1607) and later: the window's monitor's DPI.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      SystemFunction<GetDpiForWindowFunction>("user32.dll", "GetDpiForWindow");
  if (getDpiForWindow != nullptr && window != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  RECT rect = {0, 0, width, height};
  // AdjustWindowRectEx measures the frame at the system's DPI; on a
  // monitor of another DPI only the later call knows its frame.
  using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi =
      SystemFunction<AdjustForDpiFunction>("user32.dll", "AdjustWindowRectExForDpi");
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
    rect = {0, 0, width, height};
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return rect;
}

}  // namespace platform
