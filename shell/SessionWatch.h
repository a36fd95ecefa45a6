#pragma once
// Windows' notices of the session's changes (a lock among them), asked for
// when the program starts. Started from the Run key at logon, the program
// can ask before Windows' session services are up, and Windows then
// refuses (RPC_S_INVALID_BINDING, "WTSRegisterSessionNotification
// function", Microsoft Learn): the request is tried again on a timer, as
// the icon's add is, and a final refusal is told to the administrator.

#include "platform/EventLog.h"
#include "platform/Session.h"
#include "platform/Timers.h"

class TSessionWatch {
 public:
  // The retry timer of the main window, beside the splash's (1) and the
  // icon's (2).
  static constexpr unsigned kRetryTimerId = 3;
  static constexpr unsigned kRetryIntervalMs = 2000;
  // Five minutes: the session services can come up well after the logon's
  // programs have started on a slow or busy computer.
  static constexpr unsigned kRetries = 150;

  TSessionWatch(platform::Session& session, platform::Timers& timers, platform::EventLog& events)
      : session_(session), timers_(timers), events_(events) {}
  TSessionWatch(const TSessionWatch&) = delete;
  TSessionWatch& operator=(const TSessionWatch&) = delete;

  // Asks for the notices to `window`; a refusal starts the retries.
  void Start(platform::WindowHandle window);
  // The retry timer's tick.
  void RetryTick();
  // The window closes: the notices and any retry end.
  void Stop();

  bool Watching() const { return watching_; }
  bool Retrying() const { return retriesLeft_ != 0; }

 private:
  // Asks once; false when Windows refused, with its error.
  bool Ask(unsigned& error);
  void StopRetries();

  platform::Session& session_;
  platform::Timers& timers_;
  platform::EventLog& events_;
  platform::WindowHandle window_ = nullptr;
  bool watching_ = false;
  unsigned retriesLeft_ = 0;
};
