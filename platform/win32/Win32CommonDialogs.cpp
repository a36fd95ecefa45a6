// The file chooser: Windows' open-file dialog, from comdlg32.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"

namespace platform {

bool Win32CommonDialogs::OpenFileName(const OpenFileRequest& request, std::string& chosen) {
  char fileName[MAX_PATH] = {};
  std::strncpy(fileName, request.fileName.c_str(), sizeof fileName - 1);
  const std::string filter = PlatformFilter(request.filter);

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(request.owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = fileName;
  ofn.nMaxFile = sizeof fileName;
  ofn.lpstrTitle = request.title.c_str();
  ofn.lpstrDefExt = request.defaultExtension.c_str();
  // The user may name a log or a wave file that does not exist yet, in a
  // folder that does not exist yet: the program uses the text as it is.
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
  using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEA*);
  static const auto getOpenFileName =
      SystemFunction<GetOpenFileNameFunction>("comdlg32.dll", "GetOpenFileNameA");
  if (getOpenFileName == nullptr || !getOpenFileName(&ofn)) return false;
  chosen = fileName;
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
