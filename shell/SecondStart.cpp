#include "shell/SecondStart.h"

TStartRole ClaimOrHandOver(platform::SingleInstance& instance, const char* mainWindowClass) {
  if (instance.Claim(kSessionName)) return TStartRole::FirstCopy;

  for (unsigned lookup = 0; lookup < kMainWindowLookups; ++lookup) {
    const platform::WindowHandle running = instance.FindMainWindow(mainWindowClass);
    if (running != nullptr) {
      // The dialog may come to the front only with this start's leave: it is
      // the start the user just made, which Windows lets into the foreground.
      instance.AllowForeground(running);
      if (instance.Ask(running, kShowSettingsMessage, kAnswerTimeoutMs) == kShowSettingsAnswer) {
        return TStartRole::HandedOver;
      }
      break;
    }
    // No main window: the running copy is still starting and makes it in a
    // moment, or it is ending and lets go of the session's name.
    instance.Pause(kLookupPauseMs);
    if (instance.Claim(kSessionName)) return TStartRole::FirstCopy;
  }
  // A copy that is ending may have let go by now. One that is hung keeps
  // the session: a second copy beside it would warn twice once it answers
  // again, and Windows itself ends or restarts a copy that stays hung.
  return instance.Claim(kSessionName) ? TStartRole::FirstCopy : TStartRole::NoAnswer;
}
