#include "platform/win32/Module.h"

#include "platform/win32/WideText.h"

namespace platform {

void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style, HICON icon,
                         HBRUSH background) {
  // Several windows share one class name; Windows refuses a second
  // registration, and the first one's icon and background must stay.
  const WideText name(className);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof existing;
  if (::GetClassInfoExW(Instance(), name.c_str(), &existing)) return;

  // A wide class: its windows keep their texts in UTF-16, so a translated
  // text shows the same whatever the system's code page. Windows converts
  // for the ANSI calls that read and write the data the program keeps in
  // that code page.
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = Instance();
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name.c_str();
  ::RegisterClassExW(&wc);
}

}  // namespace platform
