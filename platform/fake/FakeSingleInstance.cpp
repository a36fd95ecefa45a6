#include "platform/fake/FakeSingleInstance.h"

namespace platform {

bool FakeSingleInstance::Claim(const std::string& name) {
  claimedName = name;
  if (otherCopy && claimsUntilEnded == 0) otherCopy = false;
  if (otherCopy) {
    if (claimsUntilEnded > 0) --claimsUntilEnded;
    journal_.push_back("claim held");
    return false;
  }
  journal_.push_back("claim won");
  return true;
}

WindowHandle FakeSingleInstance::FindMainWindow(const std::string& className) {
  askedClass = className;
  const bool there = otherCopy && lookupsWithoutWindow == 0;
  if (lookupsWithoutWindow > 0) --lookupsWithoutWindow;
  journal_.push_back(there ? "find window" : "find none");
  return there ? runningWindow : nullptr;
}

void FakeSingleInstance::AllowForeground(WindowHandle window) {
  journal_.push_back(window == runningWindow ? "allow foreground" : "allow foreground elsewhere");
}

std::optional<std::intptr_t> FakeSingleInstance::Ask(WindowHandle window,
                                                     const std::string& message,
                                                     unsigned timeoutMs) {
  journal_.push_back("ask " + message + " " + std::to_string(timeoutMs));
  if (window != runningWindow) return std::nullopt;
  return answer;
}

void FakeSingleInstance::Pause(unsigned milliseconds) {
  pausedMs += milliseconds;
  journal_.push_back("pause " + std::to_string(milliseconds));
}

}  // namespace platform
