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

using ScopedHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
using Font = UniqueHandle<HFONT, DeleteGdiObject>;
using Bitmap = UniqueHandle<HBITMAP, DeleteGdiObject>;
using Icon = UniqueHandle<HICON, DestroyIconHandle>;

}  // namespace platform
