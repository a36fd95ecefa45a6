#include "platform/win32/Pictures.h"

#include <cstring>

#include "platform/Dpi.h"
#include "platform/PackedPicture.h"
#include "platform/win32/Module.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

SIZE PictureSize(HBITMAP picture) {
  BITMAP info = {};
  if (picture == nullptr || ::GetObjectA(picture, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

namespace {

// An empty 24-bit bottom-up DIB section of that size, and its rows.
Bitmap NewPicture(int width, int height, unsigned char*& rows) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap picture(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  rows = static_cast<unsigned char*>(bits);
  return picture;
}

// The data of an RCDATA resource, null when there is none.
const unsigned char* ResourceData(const char* name, DWORD& size) {
  const HINSTANCE module = Instance();
  const HRSRC found = ::FindResourceA(module, name, RT_RCDATA);
  if (found == nullptr) return nullptr;
  size = ::SizeofResource(module, found);
  return static_cast<const unsigned char*>(::LockResource(::LoadResource(module, found)));
}

}  // namespace

Bitmap LoadBitmapResource(const char* name) {
  // A packed picture becomes the same DIB section that LoadImageA makes of
  // a plain one; the small pictures that do not pack are kept plain.
  DWORD size = 0;
  const unsigned char* data = ResourceData(name, size);
  if (data == nullptr) {
    return Bitmap(static_cast<HBITMAP>(
        ::LoadImageA(Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  BITMAPINFOHEADER header = {};
  if (size < sizeof header) return Bitmap();
  std::memcpy(&header, data, sizeof header);
  if (header.biBitCount != 24 || header.biCompression != BI_RGB) return Bitmap();
  unsigned char* rows = nullptr;
  Bitmap picture = NewPicture(header.biWidth, header.biHeight, rows);
  if (picture.Get() == nullptr || !UnpackPixels(data + sizeof header, size - sizeof header,
                                                header.biWidth, header.biHeight, rows)) {
    return Bitmap();
  }
  return picture;
}

namespace {

// `source` drawn at `width` x `height` into a new 24-bit picture. Each
// pixel is taken whole, never blended: a picture's background colour
// stays exactly that colour, which is what marks it transparent. For the
// scales the larger art does not reach.
Bitmap ResizePicture(HBITMAP source, int width, int height) {
  unsigned char* rows = nullptr;
  Bitmap result = NewPicture(width, height, rows);
  if (result.Get() == nullptr) return Bitmap();
  const SIZE size = PictureSize(source);
  MemoryDC from(::CreateCompatibleDC(nullptr));
  MemoryDC to(::CreateCompatibleDC(nullptr));
  SelectedObject fromPicture(from.Get(), source);
  SelectedObject toPicture(to.Get(), result.Get());
  ::SetStretchBltMode(to.Get(), COLORONCOLOR);
  ::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
  return result;
}

// The picture `name` drawn at the larger scale (resources/art), at
// `width` x `height`: as it is at its own size, drawn down to a smaller
// one, and taken pixel for pixel to a larger one. Null where the program
// holds no such picture or it does not inflate.
Bitmap LoadLargeArt(const char* name, int scale, int width, int height) {
  char resource[64];
  ::wsprintfA(resource, "%s_%d", name, scale);
  DWORD size = 0;
  const unsigned char* data = ResourceData(resource, size);
  BITMAPINFOHEADER header = {};
  if (data == nullptr || size < sizeof header) return Bitmap();
  std::memcpy(&header, data, sizeof header);
  const int artWidth = header.biWidth;
  const int artHeight = header.biHeight;
  unsigned char* rows = nullptr;
  Bitmap art = NewPicture(artWidth, artHeight, rows);
  if (art.Get() == nullptr ||
      !InflatePixels(data + sizeof header, size - sizeof header, artWidth, artHeight,
                     static_cast<int>(header.biClrUsed), rows)) {
    return Bitmap();
  }
  if (width == artWidth && height == artHeight) return art;
  if (width > artWidth || height > artHeight) return ResizePicture(art.Get(), width, height);
  unsigned char* to = nullptr;
  Bitmap drawn = NewPicture(width, height, to);
  if (drawn.Get() == nullptr) return Bitmap();
  // Keyed pictures have magenta as the background that is not drawn.
  const bool keyed = rows[0] == 0xFF && rows[1] == 0x00 && rows[2] == 0xFF;
  if (!ShrinkPixels(rows, artWidth, artHeight, to, width, height, keyed)) return Bitmap();
  return drawn;
}

}  // namespace

Bitmap LoadPictureForDpi(const char* name, int dpi) {
  Bitmap plain = LoadBitmapResource(name);
  if (dpi == kDesignDpi || plain.Get() == nullptr) return plain;
  const SIZE size = PictureSize(plain.Get());
  const int width = ScaleToDpi(size.cx, dpi);
  const int height = ScaleToDpi(size.cy, dpi);
  const int scale = ArtScaleFor(dpi, kArtScales);
  if (scale != 100) {
    Bitmap drawn = LoadLargeArt(name, scale, width, height);
    if (drawn.Get() != nullptr) return drawn;
  }
  return ResizePicture(plain.Get(), width, height);
}

Bitmap LoadPictureOn(const char* name, COLORREF background, int dpi) {
  Bitmap source = LoadPictureForDpi(name, dpi);
  const SIZE size = PictureSize(source.Get());
  if (size.cx == 0) return Bitmap();
  WindowDC screen(nullptr);
  MemoryDC from(::CreateCompatibleDC(screen.Get()));
  MemoryDC to(::CreateCompatibleDC(screen.Get()));
  Bitmap result(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
  if (from.Get() == nullptr || to.Get() == nullptr || result.Get() == nullptr) return Bitmap();
  {
    SelectedObject fromPicture(from.Get(), source.Get());
    SelectedObject toPicture(to.Get(), result.Get());
    RECT rect = {0, 0, size.cx, size.cy};
    Brush brush(::CreateSolidBrush(background));
    ::FillRect(to.Get(), &rect, brush.Get());
    const COLORREF key = ::GetPixel(from.Get(), 0, size.cy - 1);
    CopyTransparent(to.Get(), from.Get(), size.cx, size.cy, key);
  }
  return result;
}

void CopyTransparent(HDC to, HDC from, int width, int height, COLORREF key) {
  using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                               UINT);
  static const auto transparentBlt =
      SystemFunction<TransparentBltFunction>("msimg32.dll", "TransparentBlt");
  if (transparentBlt != nullptr) {
    transparentBlt(to, 0, 0, width, height, from, 0, 0, width, height, key);
  }
}

}  // namespace platform
