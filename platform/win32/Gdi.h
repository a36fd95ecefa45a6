#pragma once
// Fonts and icons: GDI objects the windows load once and keep (the
// pictures are Pictures.h's).

#include <windows.h>

#include "platform/Layout.h"
#include "platform/win32/Handles.h"

namespace platform {

// A font by face name and character height in pixels (a negative LOGFONT
// height: the characters, not the cell, are that high).
Font CreateFontByName(const char* face, int height, bool bold = false, bool underline = false);

// A font of a layout, made for `dpi`.
Font CreateLayoutFont(const layout::Font& font, int dpi);

// An icon of the program's resources.
Icon LoadIconResource(const char* name, int width, int height);
// The icon at the sizes Windows shows at the system's DPI: small for the
// captions and the notification area (SM_CXSMICON), large for the taskbar
// and Alt+Tab (SM_CXICON); the icon file holds each size drawn for it.
Icon LoadSmallIcon(const char* name);
Icon LoadLargeIcon(const char* name);

}  // namespace platform
