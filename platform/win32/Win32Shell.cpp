#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WideText.h"

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

namespace {

// The shell's version, from shell32's DllGetVersion: 4.71 and later have
// it, earlier shells (Windows 95 and NT 4 without Internet Explorer 4's
// desktop) count as 4.0.
DWORD ShellMajorVersion() {
  using GetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
  // shell32 is imported, so loaded, and a known DLL.
  HMODULE shell32 = ::GetModuleHandleA("shell32.dll");
  const auto getVersion = shell32 == nullptr ? nullptr
                                             : reinterpret_cast<GetVersion>(reinterpret_cast<void*>(
                                                   ::GetProcAddress(shell32, "DllGetVersion")));
  DLLVERSIONINFO version = {};
  version.cbSize = sizeof version;
  if (getVersion == nullptr || FAILED(getVersion(&version))) return 4;
  return version.dwMajorVersion;
}

// Copies a shown text into a field of `size` characters with its zero,
// cut where it must be before a whole character: the second half of a
// surrogate pair never stands without its first.
void CopyField(wchar_t* field, std::size_t size, const std::string& text) {
  const WideText wide(text);
  std::size_t length = std::min(static_cast<std::size_t>(wide.Length()), size - 1);
  if (length > 0 && length < static_cast<std::size_t>(wide.Length()) &&
      IS_HIGH_SURROGATE(wide.c_str()[length - 1])) {
    --length;
  }
  std::memcpy(field, wide.c_str(), length * sizeof(wchar_t));
  field[length] = L'\0';
}

}  // namespace

bool Win32Shell::ShowBalloon(const NotifyIconRecord& record, const std::string& title,
                             const std::string& text) {
  // Balloons came with the shell of Windows 2000 and Millennium (5.0); they
  // need the record's second version, which the shells before it refuse.
  static const DWORD shellVersion = ShellMajorVersion();
  if (shellVersion < 5) return false;
  // The wide call, so that the note shows in the user's language whatever
  // the system's code page.
  NOTIFYICONDATAW data = {};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = static_cast<HWND>(record.window);
  data.uID = record.id;
  // Only the balloon: the icon, its tip and its messages stay as they are.
  data.uFlags = NIF_INFO;
  CopyField(data.szInfo, sizeof data.szInfo, text);
  CopyField(data.szInfoTitle, sizeof data.szInfoTitle, title);
  // The program sounds its own reminder; the balloon's sound (from XP's
  // shell on) would be a second one.
  data.dwInfoFlags = NIIF_WARNING | (shellVersion >= 6 ? NIIF_NOSOUND : 0);
  // The longest the shell allows; Windows XP stops counting while no one
  // uses the computer, so the note waits for the user's return.
  data.uTimeout = 30000;
  return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void Win32Shell::Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory, int show) {
  EnterComApartment();
  ::ShellExecuteA(static_cast<HWND>(owner), verb.c_str(), file.c_str(), parameters.c_str(),
                  directory.c_str(), show);
}

}  // namespace platform
