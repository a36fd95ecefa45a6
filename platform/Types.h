#pragma once
// Handles that cross the platform interfaces as plain values, so that the
// program's logic never needs <windows.h>.

namespace platform {

using WindowHandle = void*;     // HWND
using ImageListHandle = void*;  // HIMAGELIST
using IconHandle = void*;       // HICON

}  // namespace platform
