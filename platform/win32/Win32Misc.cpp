// Sounds, message boxes, session control, timers and the file chooser.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"

namespace platform {

bool Win32Sounds::PlayWave(const std::string& fileName, unsigned flags) {
  using SndPlaySound = BOOL(WINAPI*)(LPCSTR, UINT);
  static const auto play = SystemFunction<SndPlaySound>("winmm.dll", "sndPlaySoundA");
  return play != nullptr && play(fileName.c_str(), flags) != FALSE;
}

bool Win32Sounds::Beep(unsigned type) { return ::MessageBeep(type) != FALSE; }

int Win32UserInterface::ShowMessageBox(WindowHandle owner, const std::string& text,
                                   const std::string& caption, unsigned flags) {
  return ShowProgramMessageBox(static_cast<HWND>(owner), text, caption, flags);
}

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
  // The call takes wide text only: the ANSI bytes are read in the
  // system's code page, the one they were written in.
  const int length = ::MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, nullptr, 0);
  if (length <= 0) return false;
  // A plain buffer rather than std::wstring, whose instantiation alone
  // would add some 20 KB to the program.
  std::vector<wchar_t> wide(static_cast<std::size_t>(length));
  ::MultiByteToWideChar(CP_ACP, 0, reason.c_str(), -1, wide.data(), length);
  return create(static_cast<HWND>(window), wide.data()) != FALSE;
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

void Win32Timers::StartTimer(WindowHandle window, unsigned id, unsigned intervalMs) {
  ::SetTimer(static_cast<HWND>(window), id, intervalMs, nullptr);
}

void Win32Timers::StopTimer(WindowHandle window, unsigned id) {
  ::KillTimer(static_cast<HWND>(window), id);
}

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
