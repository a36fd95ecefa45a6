#pragma once
// Help: the WinHelp viewer.

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

  // WinHelpA(owner, file, command, data).
  virtual bool ShowHelp(WindowHandle owner, const std::string& file, unsigned command,
                       std::uintptr_t data) = 0;
};

}  // namespace platform
