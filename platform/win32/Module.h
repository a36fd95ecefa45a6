#pragma once
// The program's module: the instance handle that its resources and window
// classes belong to, and the registration of those classes.

#include <windows.h>

namespace platform {

// The module of the running program (never a DLL's: the program is one file).
inline HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

// Registers a window class of the program's module, a wide one (its
// procedure gets UTF-16 texts), with the arrow cursor;
// a class that is registered already stays as it is.
void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style = 0,
                         HICON icon = nullptr, HBRUSH background = nullptr);

}  // namespace platform
