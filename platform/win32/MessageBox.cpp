#include "platform/win32/MessageBox.h"

#include <vector>

namespace platform {

namespace {

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM windows) {
  if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  }
  return TRUE;
}

}  // namespace

int ShowProgramMessageBox(HWND owner, const std::string& text, const std::string& caption,
                          UINT flags) {
  // All of the program's windows belong to its one thread.
  std::vector<HWND> disabled;
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow,
                      reinterpret_cast<LPARAM>(&disabled));
  HWND active = ::GetActiveWindow();
  for (HWND window : disabled) ::EnableWindow(window, FALSE);

  const int answer = ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);

  // A window may have gone while the box was open (the end of a nested
  // check does not destroy any, but a window that did is simply skipped).
  for (HWND window : disabled) {
    if (::IsWindow(window)) ::EnableWindow(window, TRUE);
  }
  if (active != nullptr && ::IsWindow(active) && ::IsWindowVisible(active)) {
    ::SetActiveWindow(active);
  }
  return answer;
}

}  // namespace platform
