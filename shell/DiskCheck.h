#pragma once
// The disk check: run when the Windows session ends and before a restart
// or shut-down ordered from the tray menu. For each chosen drive that holds
// a medium whose label is not excluded it logs, sounds and warns.

#include <optional>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/EventLog.h"
#include "platform/Files.h"
#include "platform/Language.h"
#include "platform/Session.h"
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
  const platform::Texts& texts;  // the warning's, in the user's language
  platform::Locale& locale;      // makes the label a part of a shown text
};

// Whether the drive of `rootPath` holds a medium that can be reached. The
// probe leaves the root as the current directory when it succeeds.
bool DriveHasMedium(platform::Drives& drives, const std::string& rootPath);

// True when no label of `exclusions` matches `label`, comparing with the
// letters a to z folded to capitals and blanks and control characters
// trimmed from both ends.
bool LabelNotExcluded(const std::vector<std::string>& exclusions, const std::string& label);

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
// which options a policy sets (`byPolicy`), and `language`, the language of
// its texts and where they came from.
void ReportStart(const TCheckOptions& options, TOptionSet byPolicy, const std::string& language,
                 platform::EventLog& events);

// What a walk over the drives does with each medium to report:
// `found(label, letter)`, which answers whether time passed (a box was
// shown) while it dealt with it. One walk serves every kind of run.
class MediumFound {
 public:
  template <class Action>
  explicit MediumFound(Action& action)
      : action_(&action), call_([](void* a, const std::string& label, char letter) {
          return (*static_cast<Action*>(a))(label, letter);
        }) {}
  bool operator()(const std::string& label, char letter) const {
    return call_(action_, label, letter);
  }

 private:
  void* action_;
  bool (*call_)(void*, const std::string&, char);
};

// The drives that a run checks, by the rules it checks them with: the
// checked entries of the drive list in list order; with
// `options.RemovableDrives` on, the letters A to Z instead, each checked
// entry and each drive that exists at that moment and that Windows reports
// as removable or as a CD/DVD drive, each letter at most once. Each medium
// whose label is not excluded goes to `found`.
void FindMedia(const TCheckOptions& options, platform::Drives& drives, const MediumFound& found);

// The sound that the options choose for a notification: the wave file,
// played with `waveFlags`, or the Windows sound; with none chosen,
// `beepForNone` when given.
void PlayChosenSound(const TCheckOptions& options, platform::Sounds& sounds, unsigned waveFlags,
                     std::optional<unsigned> beepForNone);

// One run of the check. `exitRequested` is read once, at the start. `hold`
// is given when the run answers the end-of-session query. It walks the
// drives as FindMedia does.
void RunDiskCheck(const TCheckOptions& options, bool exitRequested, DiskCheckContext& context,
                  const SessionEndHold* hold = nullptr);
