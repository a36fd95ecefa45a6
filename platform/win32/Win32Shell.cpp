#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "platform/win32/Win32Services.h"

namespace platform {

// The record holds an icon handle: 352 bytes in the shipped 32-bit program,
// 360 in the 64-bit test build.
static_assert(sizeof(SHFILEINFOA) == (sizeof(void*) == 4 ? 352 : 360),
              "the file-info record is 352 bytes (360 in a 64-bit build)");

ImageListHandle Win32Shell::SystemSmallImageList() {
  SHFILEINFOA info = {};
  DWORD_PTR list = ::SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return reinterpret_cast<ImageListHandle>(list);
}

int Win32Shell::SystemIconIndex(const std::string& path) {
  SHFILEINFOA info = {};
  ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX);
  return info.iIcon;
}

bool Win32Shell::NotifyIcon(unsigned message, const NotifyIconRecord& record) {
  // The first version of the record: the shell of every Windows accepts it,
  // and its tip field holds 64 bytes.
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = static_cast<HWND>(record.window);
  data.uID = record.id;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callbackMessage;
  data.hIcon = static_cast<HICON>(record.icon);
  std::strncpy(data.szTip, record.tip.c_str(), 63);
  return ::Shell_NotifyIconA(message, &data) != FALSE;
}

void Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory, int show) {
  ::ShellExecuteA(static_cast<HWND>(owner), verb.c_str(), file.c_str(), parameters.c_str(),
                  directory.c_str(), show);
}

}  // namespace platform
