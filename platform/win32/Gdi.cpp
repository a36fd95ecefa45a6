#include "platform/win32/Gdi.h"

#include <cstring>

#include "platform/Dpi.h"
#include "platform/PackedPicture.h"

#include "platform/win32/Module.h"
#include "platform/win32/SystemLibraries.h"

namespace platform {

Font CreateFontByName(const char* face, int height, bool bold, bool underline) {
  LOGFONTA font = {};
  font.lfHeight = -height;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return Font(::CreateFontIndirectA(&font));
}

Bitmap LoadBitmapResource(const char* name) {
  // A packed picture becomes the same DIB section that LoadImageA makes of
  // a plain one; the small pictures that do not pack are kept plain.
  const HINSTANCE module = Instance();
  const HRSRC found = ::FindResourceA(module, name, RT_RCDATA);
  if (found == nullptr) {
    return Bitmap(static_cast<HBITMAP>(
        ::LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  const auto* data = static_cast<const unsigned char*>(::LockResource(::LoadResource(module, found)));
  const DWORD size = ::SizeofResource(module, found);
  BITMAPINFO format = {};
  if (data == nullptr || size < sizeof format.bmiHeader) return Bitmap();
  std::memcpy(&format.bmiHeader, data, sizeof format.bmiHeader);
  if (format.bmiHeader.biBitCount != 24 || format.bmiHeader.biCompression != BI_RGB) return Bitmap();
  void* rows = nullptr;
  Bitmap picture(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &rows, nullptr, 0));
  if (picture.Get() == nullptr ||
      !UnpackPixels(data + sizeof format.bmiHeader, size - sizeof format.bmiHeader,
                    format.bmiHeader.biWidth, format.bmiHeader.biHeight,
                    static_cast<unsigned char*>(rows))) {
    return Bitmap();
  }
  return picture;
}

Icon LoadIconResource(const char* name, int width, int height) {
  return Icon(static_cast<HICON>(::LoadImageA(Instance(), name, IMAGE_ICON, width, height, 0)));
}

Icon LoadSmallIcon(const char* name) {
  return LoadIconResource(name, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
}

Icon LoadLargeIcon(const char* name) {
  return LoadIconResource(name, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
}

namespace {

SIZE SizeOf(HBITMAP picture) {
  BITMAP info = {};
  ::GetObjectA(picture, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

// `source` drawn at `width` x `height` into a new 24-bit picture. Each
// pixel is taken whole, never blended: a picture's background colour
// stays exactly that colour, which is what marks it transparent.
Bitmap ResizePicture(HBITMAP source, int width, int height) {
  BITMAPINFO format = {};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 24;
  format.bmiHeader.biCompression = BI_RGB;
  void* rows = nullptr;
  Bitmap result(::CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &rows, nullptr, 0));
  if (result.Get() == nullptr) return Bitmap();
  const SIZE size = SizeOf(source);
  MemoryDC from(::CreateCompatibleDC(nullptr));
  MemoryDC to(::CreateCompatibleDC(nullptr));
  SelectedObject fromPicture(from.Get(), source);
  SelectedObject toPicture(to.Get(), result.Get());
  ::SetStretchBltMode(to.Get(), COLORONCOLOR);
  ::StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
  return result;
}

}  // namespace

Bitmap LoadPictureForDpi(const char* name, int dpi) {
  Bitmap plain = LoadBitmapResource(name);
  if (dpi == kDesignDpi || plain.Get() == nullptr) return plain;
  const SIZE size = SizeOf(plain.Get());
  return ResizePicture(plain.Get(), ScaleToDpi(size.cx, dpi), ScaleToDpi(size.cy, dpi));
}

Bitmap LoadPictureOn(const char* name, COLORREF background, int dpi) {
  Bitmap source = LoadPictureForDpi(name, dpi);
  if (source.Get() == nullptr) return Bitmap();
  BITMAP info;
  ::GetObjectA(source.Get(), sizeof info, &info);
  WindowDC screen(nullptr);
  MemoryDC from(::CreateCompatibleDC(screen.Get()));
  MemoryDC to(::CreateCompatibleDC(screen.Get()));
  Bitmap result(::CreateCompatibleBitmap(screen.Get(), info.bmWidth, info.bmHeight));
  {
    SelectedObject fromPicture(from.Get(), source.Get());
    SelectedObject toPicture(to.Get(), result.Get());
    RECT rect = {0, 0, info.bmWidth, info.bmHeight};
    Brush brush(::CreateSolidBrush(background));
    ::FillRect(to.Get(), &rect, brush.Get());
    const COLORREF key = ::GetPixel(from.Get(), 0, info.bmHeight - 1);
    CopyTransparent(to.Get(), from.Get(), info.bmWidth, info.bmHeight, key);
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
