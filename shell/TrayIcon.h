#pragma once
// The notification-area icon's life: added when the splash ends, added
// again when Explorer starts again, and tried again on a timer while the
// notification area refuses it (at logon it can, for a while).

#include "platform/Shell.h"
#include "platform/Timers.h"

class TTrayIcon {
 public:
  // The icon's identifier among the main window's icons: it has only this one.
  static constexpr unsigned kIconId = 1;
  // The retry timer of the main window, beside the splash's timer (1).
  static constexpr unsigned kRetryTimerId = 2;
  static constexpr unsigned kRetryIntervalMs = 2000;
  static constexpr unsigned kRetries = 60;  // two minutes

  // `record` is the program's one icon record, read at each call: it is
  // filled once the main window exists.
  TTrayIcon(platform::Shell& shell, platform::Timers& timers,
            const platform::NotifyIconRecord& record)
      : shell_(shell), timers_(timers), record_(record) {}
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  // The splash's tick: the program is resident from now on, with its icon.
  void SplashEnded();
  // Explorer broadcast "TaskbarCreated": it has started again without the
  // icons. During the splash there is nothing to add yet.
  void TaskbarCreated();
  // The record holds an icon drawn for a new DPI: the shown icon takes it.
  // During the splash, or while the add is retried, the next add brings it.
  void IconChanged();
  // The retry timer's tick.
  void RetryTick();
  // The main window closes: the icon goes, and with it any retry.
  void Remove();

  bool Retrying() const { return retrying_; }

 private:
  // Adds the icon; a failed add that was not itself a retry starts two
  // minutes of retries, and a success ends them.
  void AddOrRetry();
  bool Add();
  void StopRetries();

  platform::Shell& shell_;
  platform::Timers& timers_;
  const platform::NotifyIconRecord& record_;
  bool resident_ = false;
  bool retrying_ = false;
  unsigned retriesLeft_ = 0;
};
