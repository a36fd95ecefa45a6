#pragma once
// One owner for every kind of Windows handle: closed with its owner,
// movable, not copyable. A null handle and INVALID_HANDLE_VALUE (what
// CreateFileA returns on failure) both mean "no handle".

#include <windows.h>

#include <utility>

namespace platform {

template <class Handle, class Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  bool Valid() const {
    return handle_ != nullptr && reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE;
  }
  Handle Get() const { return handle_; }
  // Gives the handle to another owner, such as a menu that takes a submenu.
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset() {
    if (Valid()) Closer()(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct DestroyIconHandle {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};

struct DeleteDeviceContext {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct CloseRegistryKey {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};
struct CloseDesktopHandle {
  void operator()(HDESK desktop) const { ::CloseDesktop(desktop); }
};
// DestroyMenu takes the menu's submenus with it, but not the pictures of
// its items.
struct DestroyMenuHandle {
  void operator()(HMENU menu) const { ::DestroyMenu(menu); }
};

using ScopedHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
using Font = UniqueHandle<HFONT, DeleteGdiObject>;
using Bitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using Brush = UniqueHandle<HBRUSH, DeleteGdiObject>;
using Icon = UniqueHandle<HICON, DestroyIconHandle>;
// A memory device context of CreateCompatibleDC.
using MemoryDC = UniqueHandle<HDC, DeleteDeviceContext>;
using RegistryKeyHandle = UniqueHandle<HKEY, CloseRegistryKey>;
using Menu = UniqueHandle<HMENU, DestroyMenuHandle>;
using Desktop = UniqueHandle<HDESK, CloseDesktopHandle>;

// A window's device context (GetDC), given back with ReleaseDC, which
// needs the window as well as the context.
class WindowDC {
 public:
  explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  ~WindowDC() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The device context of one WM_PAINT, from BeginPaint to EndPaint.
class PaintDC {
 public:
  explicit PaintDC(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  ~PaintDC() { ::EndPaint(window_, &paint_); }
  HDC Get() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_;
};

// An object selected into a device context for a scope: the one it
// replaced goes back in, so that no font or bitmap stays selected where
// it could not be deleted.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace platform
