#include "shell/SessionWatch.h"

#include "platform/Text.h"
#include "resources/Events.h"

void TSessionWatch::Start(platform::WindowHandle window) {
  window_ = window;
  unsigned error = 0;
  if (Ask(error)) return;
  retriesLeft_ = kRetries;
  timers_.StartTimer(window_, kRetryTimerId, kRetryIntervalMs);
}

void TSessionWatch::RetryTick() {
  if (!Retrying()) return;
  unsigned error = 0;
  if (Ask(error)) {
    StopRetries();
  } else if (--retriesLeft_ == 0) {
    timers_.StopTimer(window_, kRetryTimerId);
    // Once, when the retries are spent: the program runs on and checks at
    // the end of the session, but no lock is reminded of in this session.
    const std::string what = "Windows refused its session notices with error " +
                             platform::DecimalText(error) + " for five minutes";
    events_.Report(platform::kEventlogWarningType, kEventSettingOrServiceDamaged,
                   {what.c_str(), "No lock of this session is reminded of."});
  }
}

void TSessionWatch::Stop() {
  StopRetries();
  if (watching_) session_.StopWatchingSessionChanges(window_);
  watching_ = false;
}

bool TSessionWatch::Ask(unsigned& error) {
  error = session_.WatchSessionChanges(window_);
  // A Windows without the notices (before XP) reports no lock at all:
  // nothing to wait for, and nothing the administrator could mend.
  if (error == platform::kErrorProcNotFound) return true;
  watching_ = error == 0;
  return watching_;
}

void TSessionWatch::StopRetries() {
  if (!Retrying()) return;
  retriesLeft_ = 0;
  timers_.StopTimer(window_, kRetryTimerId);
}
