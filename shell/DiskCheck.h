#pragma once
// The disk check: run when the Windows session ends and before a restart
// or shut-down ordered from the tray menu. For each chosen drive that holds
// a medium whose label is not excluded it logs, sounds and warns.

#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/EventLog.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Sounds.h"
#include "platform/UserInterface.h"
#include "resources/Texts.h"
#include "settings/CheckOptions.h"
#include "shell/NotificationLog.h"

// What a run of the check works with besides the options.
struct DiskCheckContext {
  platform::Drives& drives;
  platform::Sounds& sounds;
  platform::UserInterface& ui;
  platform::WindowHandle boxOwner;  // the application window
  NotificationLog& log;
  platform::EventLog& events;
};

// Whether the drive of `rootPath` holds a medium that can be reached. The
// probe leaves the root as the current directory when it succeeds.
bool DriveHasMedium(platform::Drives& drives, const std::string& rootPath);

// True when no label of `exclusions` matches `label`, comparing with the
// letters a to z folded to capitals and blanks and control characters
// trimmed from both ends.
bool LabelNotExcluded(const std::vector<std::string>& exclusions, const std::string& label);

std::string WarningText(const std::string& label, char driveLetter);

// What Windows shows for the program while its warning holds the end of
// the session, in the user's words.
std::string BlockReasonText(const std::string& label, char driveLetter);

// A check that answers the end-of-session query tells Windows why it
// waits, on this window, while each warning box is shown.
struct SessionEndHold {
  platform::Session& session;
  platform::WindowHandle window;  // the main window
};

// The drives a run checks, for the administrator: "A:, C:", with every
// removable drive when that option is on; "none" when there are none.
std::string CheckedDrivesText(const TCheckOptions& options);

// Tells the event log that the program started, which drives it checks,
// and which options a policy sets (`byPolicy`).
void ReportStart(const TCheckOptions& options, TOptionSet byPolicy, platform::EventLog& events);

// One run of the check. `exitRequested` is read once, at the start. `hold`
// is given when the run answers the end-of-session query. The checked
// entries of the drive list are checked in list order; with
// `options.RemovableDrives` on, the run walks the letters A to Z instead and
// also checks each drive that exists at that moment and that Windows
// reports as removable or as a CD/DVD drive, each letter at most once.
void RunDiskCheck(const TCheckOptions& options, bool exitRequested, DiskCheckContext& context,
                  const SessionEndHold* hold = nullptr);

// The balloon's text: the warning of the first medium found, and how many
// more there are.
std::string ReminderText(const std::string& label, char driveLetter, unsigned more);

// The reminder when the user locks the computer or it goes to sleep, with
// `options.RemindWhenAway` on: the run's drives and rules find the media;
// for any, one sound (the chosen one, or the system's exclamation in place
// of none; a file plays without waiting) and one balloon from the icon with
// the first one's warning. No box, no log line, no block reason: nothing
// holds a lock or a sleep.
void RunAwayReminder(const TCheckOptions& options, DiskCheckContext& context, platform::Shell& shell,
                     const platform::NotifyIconRecord& icon);
