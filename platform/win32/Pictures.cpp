#include "platform/win32/Pictures.h"

#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "platform/Dpi.h"
#include "platform/PackedPicture.h"
#include "platform/Text.h"
#include "platform/win32/Module.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

SIZE PictureSize(HBITMAP picture) {
  BITMAP info = {};
  if (picture == nullptr || ::GetObjectA(picture, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

namespace {

// A new 24-bit bottom-up DIB section of that size, with its rows and their
// size; null when Windows makes none.
struct Picture {
  Bitmap bitmap;
  unsigned char* rows = nullptr;
  std::size_t rowsSize = 0;
};
Picture NewPicture(int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Picture picture;
  picture.bitmap = Bitmap(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (picture.bitmap.Get() != nullptr && bits != nullptr) {
    picture.rows = static_cast<unsigned char*>(bits);
    picture.rowsSize = RowBytes(width) * static_cast<std::size_t>(height);
  }
  return picture;
}

// The data of an RCDATA resource, null when there is none.
const unsigned char* ResourceData(const std::string& name, DWORD& size) {
  const HINSTANCE module = Instance();
  const HRSRC found = ::FindResourceA(module, name.c_str(), RT_RCDATA);
  if (found == nullptr) return nullptr;
  size = ::SizeofResource(module, found);
  return static_cast<const unsigned char*>(::LockResource(::LoadResource(module, found)));
}

// The stored picture `name` of the resources as a 24-bit picture; null
// where there is none, or it is not one the program makes.
Picture LoadStoredPicture(const std::string& name) {
  DWORD size = 0;
  const unsigned char* data = ResourceData(name, size);
  const std::optional<PictureHeader> header = ReadPictureHeader(data, size);
  if (!header) return Picture();
  Picture picture = NewPicture(header->width, header->height);
  if (picture.rows == nullptr ||
      !UnpackPicture(data, size, *header, picture.rows, picture.rowsSize)) {
    return Picture();
  }
  return picture;
}

}  // namespace

Bitmap LoadBitmapResource(const char* name) {
  // A stored picture becomes the same DIB section that LoadImageA makes of
  // a plain one; the one picture of 16 colours is kept plain.
  DWORD size = 0;
  if (ResourceData(name, size) == nullptr) {
    return Bitmap(static_cast<HBITMAP>(
        ::LoadImageA(Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  return std::move(LoadStoredPicture(name).bitmap);
}

namespace {

// `source` drawn at `width` x `height` into a new 24-bit picture. Each
// pixel is taken whole, never blended: a picture's background colour
// stays exactly that colour, which is what marks it transparent. For the
// scales the larger art does not reach.
Bitmap ResizePicture(HBITMAP source, int width, int height) {
  Picture result = NewPicture(width, height);
  const SIZE size = PictureSize(source);
  MemoryDC from(::CreateCompatibleDC(nullptr));
  MemoryDC to(::CreateCompatibleDC(nullptr));
  if (result.rows == nullptr || size.cx == 0 || !from.Valid() || !to.Valid()) return Bitmap();
  SelectedObject fromPicture(from.Get(), source);
  SelectedObject toPicture(to.Get(), result.bitmap.Get());
  ::SetStretchBltMode(to.Get(), COLORONCOLOR);
  ::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
  return std::move(result.bitmap);
}

// The picture `name` drawn at the larger scale (resources/art), at
// `width` x `height`: as it is at its own size, drawn down to a smaller
// one, and taken pixel for pixel to a larger one. Null where the program
// holds no such picture or it does not inflate.
Bitmap LoadLargeArt(const char* name, int scale, int width, int height) {
  Picture art = LoadStoredPicture(std::string(name) + "_" + DecimalText(scale));
  const SIZE artSize = PictureSize(art.bitmap.Get());
  if (art.rows == nullptr) return Bitmap();
  if (width == artSize.cx && height == artSize.cy) return std::move(art.bitmap);
  if (width > artSize.cx || height > artSize.cy) {
    return ResizePicture(art.bitmap.Get(), width, height);
  }
  Picture drawn = NewPicture(width, height);
  // Keyed pictures have magenta as the background that is not drawn.
  const bool keyed = std::memcmp(art.rows, kKeyColour, sizeof kKeyColour) == 0;
  if (drawn.rows == nullptr || !ShrinkPixels(art.rows, art.rowsSize, artSize.cx, artSize.cy,
                                             drawn.rows, drawn.rowsSize, width, height, keyed)) {
    return Bitmap();
  }
  return std::move(drawn.bitmap);
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
