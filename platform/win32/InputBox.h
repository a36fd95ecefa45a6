#pragma once
// The input box: a small modal dialog with a prompt, a one-line edit box
// and the buttons OK (the default) and Cancel. It is a dialog of the
// system's dialog class "#32770", captioned as asked.

#include <windows.h>

#include <string>

namespace platform {

// The box's texts, shown texts (UTF-8); `translated`: they are a language
// file's, drawn in the face that has every European letter.
struct InputBoxTexts {
  std::string caption;
  std::string prompt;
  std::string ok;
  std::string cancel;
  bool translated = false;
};

// Shows the box owned by `owner` (disabled meanwhile) with the edit box
// holding `value` and taking at most `maxLength` characters; the value and
// the answer are data, in the system's code page. OK returns the edit box's
// text exactly as typed; Cancel, Esc or the close box return `value`
// unchanged.
std::string InputBox(HWND owner, const InputBoxTexts& texts, const std::string& value,
                     int maxLength);

}  // namespace platform
