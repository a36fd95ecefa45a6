// One copy per Windows session: the session's name and the running copy's
// main window.
#include <windows.h>

#include "platform/Failure.h"
#include "platform/CallbackFailure.h"
#include "platform/win32/Win32Services.h"

namespace platform {

bool Win32SingleInstance::Claim(const std::string& name) {
  if (name_.Valid()) return true;
  // Local\ is the namespace of this Windows session: another user's session
  // (fast user switching, a terminal server) has its own and runs its own copy.
  char sessionName[MAX_PATH] = "Local\\";
  ::lstrcpynA(sessionName + 6, name.c_str(), MAX_PATH - 6);
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, sessionName);
  const DWORD error = ::GetLastError();
  if (mutex == nullptr) {
    // Made by a copy of another account in this session (one started with
    // Run as administrator among them), whose object this process may not
    // open: that copy guards the session. Any other failure leaves this
    // start without the name, and it guards the session all the same.
    return error != ERROR_ACCESS_DENIED;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    // Let go at once: a handle kept here would keep the name alive after the
    // running copy has ended.
    ::CloseHandle(mutex);
    return false;
  }
  name_ = ScopedHandle(mutex);
  return true;
}

namespace {

struct WindowSearch {
  const char* className;
  HWND found;
  CallbackFailure failure;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  try {
    char name[64];
    if (::GetClassNameA(window, name, sizeof name) == 0 ||
        ::lstrcmpA(name, search->className) != 0) {
      return TRUE;
    }
    search->found = window;
    return FALSE;
  } catch (...) {
    return search->failure.Keep(CurrentFailureText());
  }
}

// The windows' enumeration runs inside the desktops' one: a failure kept
// by the inner stops the outer as well.
BOOL CALLBACK SearchDesktop(LPSTR desktopName, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  try {
    const Desktop desktop(
        ::OpenDesktopA(desktopName, 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE));
    if (!desktop.Valid()) return TRUE;
    ::EnumDesktopWindows(desktop.Get(), MatchClass, lParam);
    search->failure.RaiseAgain();
    return search->found == nullptr;
  } catch (...) {
    return search->failure.Keep(CurrentFailureText());
  }
}

}  // namespace

WindowHandle Win32SingleInstance::FindMainWindow(const std::string& className) {
  HWND here = ::FindWindowA(className.c_str(), nullptr);
  if (here != nullptr) return here;
  // The running copy may sit on another desktop of this session (Wine's
  // virtual desktops are such): it guards the session all the same, and
  // shows its settings where it runs.
  WindowSearch search{className.c_str(), nullptr, {}};
  ::EnumDesktopsA(::GetProcessWindowStation(), SearchDesktop, reinterpret_cast<LPARAM>(&search));
  search.failure.RaiseAgain();
  return search.found;
}

void Win32SingleInstance::AllowForeground(WindowHandle window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(static_cast<HWND>(window), &processId);
  if (processId != 0) ::AllowSetForegroundWindow(processId);
}

std::optional<std::intptr_t> Win32SingleInstance::Ask(WindowHandle window,
                                                      const std::string& message,
                                                      unsigned timeoutMs) {
  const UINT registered = ::RegisterWindowMessageA(message.c_str());
  if (registered == 0) return std::nullopt;
  DWORD_PTR answer = 0;
  if (!::SendMessageTimeoutA(static_cast<HWND>(window), registered, 0, 0, SMTO_ABORTIFHUNG,
                             timeoutMs, &answer)) {
    return std::nullopt;
  }
  return static_cast<std::intptr_t>(answer);
}

void Win32SingleInstance::Pause(unsigned milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform
