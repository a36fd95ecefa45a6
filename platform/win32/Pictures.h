#pragma once
// The pictures of the program's resources, made for the display's DPI:
// kept plain or packed at 100 % and deflated at twice the size, drawn down
// for the scales between.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace platform {

// A picture of the resources at its own size.
Bitmap LoadBitmapResource(const char* name);

// A picture's width and height; 0 x 0 for none.
SIZE PictureSize(HBITMAP picture);

// A picture of the resources drawn for `dpi`: at 96 DPI the plain picture
// as it is, at any other its designed size scaled to the DPI.
Bitmap LoadPictureForDpi(const char* name, int dpi);

// A picture for `dpi` whose background (the colour of its bottom-left
// pixel) is replaced by `background`, for places that draw no transparency.
Bitmap LoadPictureOn(const char* name, COLORREF background, int dpi);

// Copies a picture of `width` x `height` from `from` to `to`, leaving out
// the pixels of colour `key` (TransparentBlt, of the system's msimg32).
void CopyTransparent(HDC to, HDC from, int width, int height, COLORREF key);

}  // namespace platform
