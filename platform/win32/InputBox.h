#pragma once
// The input box: a small modal dialog with a prompt, a one-line edit box
// and the buttons OK (the default) and Cancel. It is a dialog of the
// system's dialog class "#32770", captioned as asked.

#include <windows.h>

#include <string>

namespace platform {

// Shows the box owned by `owner` (disabled meanwhile) with the edit box
// holding `value` and taking at most `maxLength` characters. OK returns the
// edit box's text exactly as typed; Cancel, Esc or the close box return
// `value` unchanged.
std::string InputBox(HWND owner, const std::string& caption, const std::string& prompt,
                     const std::string& value, int maxLength);

}  // namespace platform
