// The file chooser: Windows' open-file dialog, from comdlg32.
#include <windows.h>
#include <commdlg.h>

#include <string>

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WideText.h"

namespace platform {

bool Win32CommonDialogs::OpenFileName(const OpenFileRequest& request, std::string& chosen) {
  // The wide dialog, so that its title and file types show in the user's
  // language whatever the system's code page; the names it takes and gives
  // are the settings' ANSI paths.
  wchar_t fileName[MAX_PATH] = {};
  const WideText start(request.fileName, CP_ACP);
  lstrcpynW(fileName, start.c_str(), MAX_PATH);
  const WideText filter(PlatformFilter(request.filter));
  const WideText title(request.title);
  const WideText extension(request.defaultExtension);

  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(request.owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.lpstrDefExt = extension.c_str();
  // The user may name a log or a wave file that does not exist yet, in a
  // folder that does not exist yet: the program uses the text as it is.
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEW*);
  static const auto getOpenFileName =
      SystemFunction<GetOpenFileNameFunction>("comdlg32.dll", "GetOpenFileNameW");
  if (getOpenFileName == nullptr || !getOpenFileName(&ofn)) return false;
  chosen = NarrowText(fileName, lstrlenW(fileName), CP_ACP);
  // Windows gives a new name typed without an extension the default one;
  // Wine's dialog takes it off again when no such file exists yet. Either
  // way a new log file named "notes" comes back as "notes.dvl".
  const std::size_t namePart = chosen.find_last_of("\\/:");
  const bool hasExtension =
      chosen.find('.', namePart == std::string::npos ? 0 : namePart + 1) != std::string::npos;
  if (!hasExtension && !request.defaultExtension.empty() &&
      ::GetFileAttributesA(chosen.c_str()) == INVALID_FILE_ATTRIBUTES) {
    chosen += "." + request.defaultExtension;
  }
  return true;
}

}  // namespace platform
