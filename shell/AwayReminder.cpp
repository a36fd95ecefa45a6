#include "shell/AwayReminder.h"

#include "resources/Texts.h"

namespace {

// The probe makes each drive's root the current directory, and a process
// whose current directory is on a USB stick holds the stick's volume open:
// Windows then refuses to eject the very stick the reminder asks the user
// to take out ("This device is currently in use"). The reminder's walk
// puts back the directory it found, whatever it found on its way.
class CurrentDirectoryKept {
 public:
  explicit CurrentDirectoryKept(platform::Drives& drives)
      : drives_(drives), directory_(drives.CurrentDirectory()) {}
  CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
  CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;
  ~CurrentDirectoryKept() {
    if (!directory_.empty()) drives_.ChangeDirectory(directory_);
  }

 private:
  platform::Drives& drives_;
  const std::string directory_;
};

}  // namespace

void RunAwayReminder(const TCheckOptions& options, DiskCheckContext& context, platform::Shell& shell,
                     const platform::NotifyIconRecord& icon) {
  if (!options.RemindWhenAway) return;
  std::string firstLabel;
  char firstLetter = '\0';
  unsigned more = 0;
  auto count = [&](const std::string& label, char letter) {
    if (firstLetter == '\0') {
      firstLabel = label;
      firstLetter = letter;
    } else {
      ++more;
    }
    return false;
  };
  {
    CurrentDirectoryKept directory(context.drives);
    FindMedia(options, context.drives, MediumFound(count));
  }
  if (firstLetter == '\0') return;

  // The user is walking away: a reminder without a sound reaches no one,
  // and the check's chosen file would hold the thread to its end while the
  // computer has some two seconds before it sleeps.
  PlayChosenSound(options, context.sounds, platform::kSndAsync, platform::kBeepExclamation);
  // What the user finds on return; where the shell shows no balloons, the
  // sound was the reminder.
  shell.ShowBalloon(icon, kProductName,
                    ReminderText(context.texts, context.locale.Utf8FromAnsi(firstLabel),
                                 firstLetter, more));
}
