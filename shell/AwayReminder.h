#pragma once
// The reminder when the user locks the computer or it goes to sleep: the
// disk check's drives and rules find the media, and one sound and one
// balloon from the icon tell of them. No box, no log line, no block
// reason: nothing holds a lock or a sleep.

#include <string>

#include "platform/Shell.h"
#include "settings/CheckOptions.h"
#include "shell/DiskCheck.h"

// With `options.RemindWhenAway` on: for any media found, one sound (the
// chosen one, or the system's exclamation in place of none; a file plays
// without waiting) and one balloon from the icon with the first one's
// warning. The process's current directory is the one it found.
void RunAwayReminder(const TCheckOptions& options, DiskCheckContext& context, platform::Shell& shell,
                     const platform::NotifyIconRecord& icon);
