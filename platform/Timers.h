#pragma once
// Timers of a window: WM_TIMER messages at an interval, on the window's
// own thread.

#include "platform/Types.h"

namespace platform {

class Timers {
 public:
  virtual ~Timers() = default;

  // SetTimer(window, id, interval): a timer already running under that id
  // starts again with the new interval.
  virtual void StartTimer(WindowHandle window, unsigned id, unsigned intervalMs) = 0;
  // KillTimer(window, id).
  virtual void StopTimer(WindowHandle window, unsigned id) = 0;
};

}  // namespace platform
