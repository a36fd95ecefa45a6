#include "platform/win32/MessageBox.h"

#include <vector>

#include "platform/Failure.h"
#include "platform/CallbackFailure.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

struct EnabledWindows {
  std::vector<HWND> windows;
  CallbackFailure failure;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM lParam) {
  auto* found = reinterpret_cast<EnabledWindows*>(lParam);
  try {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) found->windows.push_back(window);
    return TRUE;
  } catch (...) {
    return found->failure.Keep(CurrentFailureText());
  }
}

// The program's other windows, disabled while a box is open and enabled
// again when it closes, also when a failure passes; the window that was
// active becomes active again.
class DisabledWindowsScope {
 public:
  explicit DisabledWindowsScope(std::vector<HWND>& windows)
      : windows_(windows), active_(::GetActiveWindow()) {
    for (HWND window : windows_) ::EnableWindow(window, FALSE);
  }
  DisabledWindowsScope(const DisabledWindowsScope&) = delete;
  DisabledWindowsScope& operator=(const DisabledWindowsScope&) = delete;
  ~DisabledWindowsScope() {
    // A window may have gone while the box was open (the end of a nested
    // check does not destroy any, but a window that did is simply skipped).
    for (HWND window : windows_) {
      if (::IsWindow(window)) ::EnableWindow(window, TRUE);
    }
    if (active_ != nullptr && ::IsWindow(active_) && ::IsWindowVisible(active_)) {
      ::SetActiveWindow(active_);
    }
  }

 private:
  const std::vector<HWND>& windows_;
  HWND active_;
};

}  // namespace

int ShowProgramMessageBox(HWND owner, const std::string& text, const std::string& caption,
                          UINT flags) {
  // All of the program's windows belong to its one thread.
  EnabledWindows found;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&found));
  found.failure.RaiseAgain();
  DisabledWindowsScope disabled(found.windows);
  return ::MessageBoxW(owner, WideText(text).c_str(), WideText(caption).c_str(), flags);
}

int Win32UserInterface::ShowMessageBox(WindowHandle owner, const std::string& text,
                                   const std::string& caption, unsigned flags) {
  return ShowProgramMessageBox(static_cast<HWND>(owner), text, caption, flags);
}

}  // namespace platform
