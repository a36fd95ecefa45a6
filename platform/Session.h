#pragma once
// Session control: asking Windows to end the session, and telling it why
// the program holds its end.

#include <string>

#include "platform/Types.h"

namespace platform {

constexpr unsigned kEwxShutdown = 1;
constexpr unsigned kErrorProcNotFound = 127;
constexpr unsigned kRpcInvalidBinding = 1702;
constexpr unsigned kEwxReboot = 2;

// The flags of WM_QUERYENDSESSION's lParam. kEndSessionCloseApp: Windows'
// Restart Manager asks so when an installer or an update must replace files
// that the program has open. Only the program ends; the session goes on,
// and no computer starts again from the disk in the drive.
constexpr unsigned kEndSessionCloseApp = 0x00000001;
constexpr unsigned kEndSessionCritical = 0x40000000;
constexpr unsigned kEndSessionLogoff = 0x80000000;

class Session {
 public:
  virtual ~Session() = default;

  // ExitWindowsEx, with the shut-down privilege switched on first where
  // the user holds it. Returns at once; the end of the session follows.
  virtual bool EndSession(unsigned flags, unsigned reason) = 0;

  // ShutdownBlockReasonCreate: the text that Windows Vista and later show
  // for `window` in their list of programs that hold the end of the
  // session, a shown text (UTF-8). False where the call is missing (Windows
  // XP) or refused.
  virtual bool SetBlockReason(WindowHandle window, const std::string& reason) = 0;
  // ShutdownBlockReasonDestroy.
  virtual void ClearBlockReason(WindowHandle window) = 0;

  // WTSRegisterSessionNotification for this session: the window receives
  // WM_WTSSESSION_CHANGE, among others when the user locks the computer.
  // 0 once watching; kErrorProcNotFound where Windows has no
  // such call (before XP); else Windows' error, such as
  // RPC_S_INVALID_BINDING at logon before the session services are up.
  virtual unsigned WatchSessionChanges(WindowHandle window) = 0;
  // WTSUnRegisterSessionNotification, before the window goes.
  virtual void StopWatchingSessionChanges(WindowHandle window) = 0;

  // RegisterApplicationRestart with no command line, on Windows Vista and
  // later: Windows starts the program again after an update closed it, or
  // after it crashed or hung. Not after a restart of the computer, which
  // starts it at logon anyway. False where the call is missing (Windows XP)
  // or refused.
  virtual bool RegisterForRestart() = 0;
};

}  // namespace platform
