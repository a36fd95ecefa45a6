#pragma once
// One copy of the program per Windows session: a name that the first copy
// holds for its whole run, and the way a later start reaches that copy's
// main window.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Types.h"

namespace platform {

class SingleInstance {
 public:
  virtual ~SingleInstance() = default;

  // CreateMutexA on `name` in the session's own namespace (Local\), held
  // until the process ends: true when this process is the first of the
  // session to hold it. A name that another account's copy in the same
  // session made, which this process may not open, counts as held.
  virtual bool Claim(const std::string& name) = 0;

  // The top-level window of class `className`: FindWindowA on this desktop,
  // else on the other desktops of the session's window station; null when
  // there is none.
  virtual WindowHandle FindMainWindow(const std::string& className) = 0;

  // AllowSetForegroundWindow for the process that owns `window`, so that
  // the window it is about to show may come to the front.
  virtual void AllowForeground(WindowHandle window) = 0;

  // RegisterWindowMessageA(message), sent to `window` with
  // SendMessageTimeoutA(..., SMTO_ABORTIFHUNG, timeoutMs): the window's
  // answer, or nothing when none came in time (a hung or ending program,
  // or one that Windows does not let this process ask).
  virtual std::optional<std::intptr_t> Ask(WindowHandle window, const std::string& message,
                                           unsigned timeoutMs) = 0;

  // Sleep: a moment for a starting or ending copy.
  virtual void Pause(unsigned milliseconds) = 0;
};

}  // namespace platform
