#pragma once
// Help: the program's help file in the WinHelp viewer.

#include <cstdint>
#include <string>

#include "platform/Types.h"

namespace platform {

constexpr unsigned kHelpContext = 1;
constexpr unsigned kHelpHelpOnHelp = 4;
constexpr unsigned kHelpFinder = 11;

class Help {
 public:
  virtual ~Help() = default;

  // WinHelpA(owner, the help file, command, data). The service knows where
  // the help file is, so no window needs to.
  virtual bool ShowHelp(WindowHandle owner, unsigned command, std::uintptr_t data) = 0;
};

}  // namespace platform
