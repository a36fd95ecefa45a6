#include "platform/win32/Gdi.h"

#include "platform/Dpi.h"
#include "platform/win32/Module.h"

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

Font CreateLayoutFont(const layout::Font& font, int dpi) {
  return CreateFontByName(font.face, ScaleToDpi(font.height, dpi), font.bold, font.underline);
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

}  // namespace platform
