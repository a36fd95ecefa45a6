#pragma once
// Windows and messages, as far as the program's logic needs them: the
// message boxes. The window framework itself is in Forms.h.

#include <string>

#include "platform/Types.h"

namespace platform {

constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconExclamation = 0x30;
constexpr unsigned kMbSystemModal = 0x1000;

constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // MessageBoxW with the shown texts `text` and `caption` (UTF-8): returns
  // when the user has closed the box.
  virtual int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                         unsigned flags) = 0;
};

}  // namespace platform
