// The session: asking Windows to end it, telling it why the program holds
// its end, its notices of a lock, and the restart after an update.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WideText.h"

namespace platform {

bool Win32Session::EndSession(unsigned flags, unsigned reason) {
  // Windows NT refuses a restart or shut-down to a process that has not
  // switched on its shut-down privilege; every user who may shut the
  // machine down holds it, switched off. Where there is no such privilege
  // (or the user lacks it) the request simply goes ahead as it is.
  HANDLE opened = nullptr;
  if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
    ScopedHandle token(opened);
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (::LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
      ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
  }
  return ::ExitWindowsEx(flags, reason) != FALSE;
}

namespace {

// The block-reason calls and the restart registration exist from Windows
// Vista on; looked up at run time, so that the program still loads on
// Windows XP, whose user32 and kernel32 lack them.
template <class Function>
Function User32Function(const char* name) {
  return SystemFunction<Function>("user32.dll", name);
}

// RESTART_NO_REBOOT: the restart of the computer that follows an update
// starts the program at logon anyway (from the Run key or the Startup
// folder); a second start there would open the settings dialog.
constexpr DWORD kRestartNoReboot = 8;

}  // namespace

bool Win32Session::SetBlockReason(WindowHandle window, const std::string& reason) {
  using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
  static const Create create = User32Function<Create>("ShutdownBlockReasonCreate");
  if (create == nullptr) return false;
  return create(static_cast<HWND>(window), WideText(reason).c_str()) != FALSE;
}

void Win32Session::ClearBlockReason(WindowHandle window) {
  using Destroy = BOOL(WINAPI*)(HWND);
  static const Destroy destroy = User32Function<Destroy>("ShutdownBlockReasonDestroy");
  if (destroy != nullptr) destroy(static_cast<HWND>(window));
}

// wtsapi32 exists from Windows XP on, and is no known DLL: loaded from the
// system folder, its absence on earlier Windows simply means no lock is
// ever reported.
unsigned Win32Session::WatchSessionChanges(WindowHandle window) {
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  const auto watch = SystemFunction<Register>("wtsapi32.dll", "WTSRegisterSessionNotification");
  if (watch == nullptr) return ERROR_PROC_NOT_FOUND;
  constexpr DWORD kNotifyForThisSession = 0;
  if (watch(static_cast<HWND>(window), kNotifyForThisSession) != FALSE) return ERROR_SUCCESS;
  const DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? error : ERROR_GEN_FAILURE;
}

void Win32Session::StopWatchingSessionChanges(WindowHandle window) {
  using Unregister = BOOL(WINAPI*)(HWND);
  const auto stop = SystemFunction<Unregister>("wtsapi32.dll", "WTSUnRegisterSessionNotification");
  if (stop != nullptr) stop(static_cast<HWND>(window));
}

bool Win32Session::RegisterForRestart() {
  using RegisterApplicationRestart = HRESULT(WINAPI*)(PCWSTR, DWORD);
  const auto registerRestart =
      SystemFunction<RegisterApplicationRestart>("kernel32.dll", "RegisterApplicationRestart");
  return registerRestart != nullptr && SUCCEEDED(registerRestart(nullptr, kRestartNoReboot));
}

}  // namespace platform
