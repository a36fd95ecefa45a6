#pragma once
// Fonts, pictures and icons: the GDI objects the windows load once and keep.

#include <windows.h>

#include "platform/win32/Handles.h"

namespace platform {

// A font by face name and character height in pixels (a negative LOGFONT
// height: the characters, not the cell, are that high).
Font CreateFontByName(const char* face, int height, bool bold = false, bool underline = false);

// A picture or icon of the program's resources.
Bitmap LoadBitmapResource(const char* name);
Icon LoadIconResource(const char* name, int width, int height);
// The icon at the sizes Windows shows at the system's DPI: small for the
// captions and the notification area (SM_CXSMICON), large for the taskbar
// and Alt+Tab (SM_CXICON); the icon file holds each size drawn for it.
Icon LoadSmallIcon(const char* name);
Icon LoadLargeIcon(const char* name);

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
