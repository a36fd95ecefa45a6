#pragma once
// What the program's own controls tell screen readers and the other
// programs that read a window for its user (Active Accessibility), and
// whether the user has asked for high contrast.

#include <windows.h>

namespace platform {

// How one of the program's own controls presents itself.
struct AccessibleFace {
  LONG role;          // ROLE_SYSTEM_...
  DWORD states;       // STATE_SYSTEM_... beside the window's own (unavailable, focused...)
  bool staticLike;    // stands where the system's static text would: a label
  bool link;          // its default action is its click
  wchar_t action[32];   // a link's default action as said, in the user's language
  HWND nameSource;    // whose text is its name; null: its own
  bool stripAccessKey;  // that text marks an access key with "&", which is not said
};

// The answer to WM_GETOBJECT for `hwnd`; 0 where it has none to give, and
// DefWindowProc is asked instead.
LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam, const AccessibleFace& face);

// Whether the user has asked for high contrast; asked anew each time, so
// that a change shows at the next painting.
bool HighContrast();

}  // namespace platform
