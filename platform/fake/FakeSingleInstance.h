#pragma once
// The session's name and the running copy as a second start meets them, in
// memory, with the calls journalled: "claim won", "claim held",
// "find none", "find window", "allow foreground", "ask MESSAGE TIMEOUT",
// "pause MS".

#include <optional>

#include "platform/SingleInstance.h"
#include "platform/fake/Fakes.h"

namespace platform {

class FakeSingleInstance : public SingleInstance {
 public:
  explicit FakeSingleInstance(Journal& journal) : journal_(journal) {}

  // Another copy holds the session's name; it lets go (it has ended) once
  // `claimsUntilEnded` more claims have failed, or never when negative.
  bool otherCopy = false;
  int claimsUntilEnded = -1;
  // Lookups that find no main window before one is there (a copy that is
  // still starting); negative: none ever (a copy on another desktop).
  int lookupsWithoutWindow = 0;
  // The running copy's answer; nothing when it does not answer in time.
  std::optional<std::intptr_t> answer;

  WindowHandle runningWindow = reinterpret_cast<WindowHandle>(0x5D1);

  bool Claim(const std::string& name) override;
  WindowHandle FindMainWindow(const std::string& className) override;
  void AllowForeground(WindowHandle window) override;
  std::optional<std::intptr_t> Ask(WindowHandle window, const std::string& message,
                                   unsigned timeoutMs) override;
  void Pause(unsigned milliseconds) override;

  // What this process was given to hold, and what it asked of.
  std::string claimedName;
  std::string askedClass;
  unsigned pausedMs = 0;

 private:
  Journal& journal_;
};

}  // namespace platform
