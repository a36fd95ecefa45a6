#pragma once
// The program's message boxes: the warning, the restart and shut-down
// questions and the error box.

#include <windows.h>

#include <string>

namespace platform {

// MessageBoxW owned by `owner`, with the shown texts `text` and `caption`
// (UTF-8), and every other visible and enabled window
// of the program disabled while it is open, as a modal box should leave
// them; afterwards they are enabled again and the window that was active
// becomes active again. The hidden main window is not among them, so the
// notification-area icon keeps answering.
int ShowProgramMessageBox(HWND owner, const std::string& text, const std::string& caption,
                          UINT flags);

}  // namespace platform
