#include "platform/win32/Module.h"

namespace platform {

void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style, HICON icon,
                         HBRUSH background) {
  // Several windows share one class name; Windows refuses a second
  // registration, and the first one's icon and background must stay.
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExA(Instance(), className, &existing)) return;

  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = Instance();
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  ::RegisterClassExA(&wc);
}

}  // namespace platform
