#include "shell/DiskCheck.h"

#include <algorithm>
#include <cstdint>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "resources/Events.h"
#include "settings/Policies.h"

namespace {

// Labels compare as Windows users type them: a to z in either case, and
// blanks or control characters at the ends ignored. Letters outside ASCII
// stay as they are whatever the code page, so "é" never matches "É".
std::string FoldLabel(const std::string& label) {
  return platform::TrimBlanksAndControls(platform::AsciiUpperCase(label));
}

unsigned BeepFor(TWindowsSound sound) {
  switch (sound) {
    case TWindowsSound::Question: return platform::kBeepQuestion;
    case TWindowsSound::Error: return platform::kBeepHand;
    case TWindowsSound::Information: return platform::kBeepAsterisk;
    case TWindowsSound::Exclamation: break;
  }
  return platform::kBeepExclamation;
}

}  // namespace

bool DriveHasMedium(platform::Drives& drives, const std::string& rootPath) {
  // Changing into the root is the one probe that every drive type answers
  // without side effects on the medium. The directory is not restored: a
  // relative log or sound file name is meant to resolve against the drive
  // being reported.
  return drives.ChangeDirectory(rootPath);
}

bool LabelNotExcluded(const std::vector<std::string>& exclusions, const std::string& label) {
  const std::string folded = FoldLabel(label);
  return std::none_of(exclusions.begin(), exclusions.end(),
                      [&](const std::string& exclusion) { return FoldLabel(exclusion) == folded; });
}

namespace {

// The reason stands exactly while its box does: withdrawn as soon as the
// box closes, so that none outlives the check.
class BlockReasonScope {
 public:
  BlockReasonScope(const SessionEndHold* hold, const std::string& reason) : hold_(hold) {
    // Windows without the call (XP), or one that refuses it, simply shows
    // no reason: the warning box itself still holds the session.
    if (hold_ != nullptr) hold_->session.SetBlockReason(hold_->window, reason);
  }
  BlockReasonScope(const BlockReasonScope&) = delete;
  BlockReasonScope& operator=(const BlockReasonScope&) = delete;
  ~BlockReasonScope() {
    if (hold_ != nullptr) hold_->session.ClearBlockReason(hold_->window);
  }

 private:
  const SessionEndHold* hold_;
};

// A drive that holds a medium whose label is not excluded: the probe, the
// label and the exclusions.
bool MediumToReport(const TCheckOptions& options, char letter, const std::string& rootPath,
                    platform::Drives& drives, std::string& label) {
  if (!DriveHasMedium(drives, rootPath)) return false;

  // A volume that answers the probe but not the query is reported with an
  // empty label: it is a medium all the same, and the user should hear of it.
  const std::string volumeRoot = std::string(1, letter) + ":\\";
  drives.VolumeLabel(volumeRoot, label);

  return LabelNotExcluded(options.Exclusions, label);
}

// The checked entries of the drive list, in list order.
void CheckListedDrives(const TCheckOptions& options, platform::Drives& drives,
                       const MediumFound& found) {
  // By index: the entries never change, but the options may be edited
  // while a warning box is open, and each step reads them as they are then.
  for (std::size_t i = 0; i < options.Drives.size(); ++i) {
    const TDriveEntry& entry = options.Drives[i];
    if (!entry.Checked) continue;
    std::string label;
    if (MediumToReport(options, entry.Letter(), entry.RootPath(), drives, label)) {
      found(label, entry.Letter());
    }
  }
}

// The checked entry of the list that names the letter, or null.
const TDriveEntry* CheckedEntryOf(const TCheckOptions& options, char letter) {
  for (const TDriveEntry& entry : options.Drives) {
    if (entry.Checked && entry.Letter() == letter) return &entry;
  }
  return nullptr;
}

bool RemovableOrCd(unsigned type) {
  return type == platform::kDriveRemovable || type == platform::kDriveCdrom;
}

// The letters A to Z in order, each checked at most once: when a checked
// entry of the list names it, or when it exists now and Windows reports it
// removable or a CD/DVD drive. A stick is mostly plugged in after the
// program started, so nothing here comes from the list made at the start:
// the letters that exist are asked at the start of the run and again after
// each box (the user may plug one in while reading it), and each letter's
// type when the walk reaches it.
void CheckEveryLetter(const TCheckOptions& options, platform::Drives& drives,
                      const MediumFound& found) {
  std::uint32_t existing = drives.LogicalDrives();
  for (int bit = 0; bit < 26; ++bit) {
    const char letter = static_cast<char>('A' + bit);
    const std::string root = std::string(1, letter) + ":\\";
    std::string rootPath;
    if (const TDriveEntry* entry = CheckedEntryOf(options, letter)) {
      rootPath = entry->RootPath();
    } else if (options.RemovableDrives && (existing & (1u << bit)) != 0 &&
               RemovableOrCd(drives.DriveType(root))) {
      rootPath = root;
    } else {
      continue;
    }
    std::string label;
    if (MediumToReport(options, letter, rootPath, drives, label) && found(label, letter)) {
      existing = drives.LogicalDrives();
    }
  }
}

// One medium of a run: the log line, the sound and the box with its block
// reason. True when a box was shown, and so time passed.
bool NotifyMedium(const TCheckOptions& options, const std::string& label, char letter,
                  std::string& logBuffer, DiskCheckContext& context, const SessionEndHold* hold) {
  // The administrator hears of every warning, logged or not. The event
  // log is never a reason to stop: its failures stay inside it.
  const char drive[] = {letter, '\0'};
  context.events.Report(platform::kEventlogWarningType, kEventDiskLeft, {drive, label.c_str()});
  if (options.Logging) {
    try {
      context.log.AppendLogLine(logBuffer, options.LogFile, label, letter);
    } catch (const platform::Failure& failure) {
      context.events.Report(platform::kEventlogErrorType, kEventLogNotWritten,
                            {options.LogFile.c_str(), failure.what()});
      throw;
    }
  }
  // Flags 0: play to the end before going on, and let Windows play its
  // default sound when the file cannot be played.
  PlayChosenSound(options, context.sounds, 0, std::nullopt);
  if (options.NoDialog) return false;
  // The label is the bytes Windows reported, in its ANSI code page; the
  // warning is in the user's language, which that code page need not hold.
  const std::string shownLabel = context.locale.Utf8FromAnsi(label);
  BlockReasonScope reason(hold, BlockReasonText(context.texts, shownLabel, letter));
  context.ui.ShowMessageBox(context.boxOwner, WarningText(context.texts, shownLabel, letter),
                            kProductName,
                            platform::kMbOk | platform::kMbIconExclamation |
                                platform::kMbSystemModal);
  return true;
}

}  // namespace

void FindMedia(const TCheckOptions& options, platform::Drives& drives, const MediumFound& found) {
  // Off, the run makes exactly the calls it made before the option existed.
  if (options.RemovableDrives) {
    CheckEveryLetter(options, drives, found);
  } else {
    CheckListedDrives(options, drives, found);
  }
}

std::string CheckedDrivesText(const TCheckOptions& options) {
  std::string text;
  for (const TDriveEntry& entry : options.Drives) {
    if (!entry.Checked) continue;
    if (!text.empty()) text += ", ";
    text += entry.Letter();
    text += ':';
  }
  if (options.RemovableDrives) {
    text += text.empty() ? "every removable drive" : ", every removable drive";
  }
  return text.empty() ? "none" : text;
}

void ReportStart(const TCheckOptions& options, TOptionSet byPolicy, const std::string& language,
                 platform::EventLog& events) {
  // The second text is empty without a policy, and the event's sentence
  // reads as it always did.
  const std::string policies =
      byPolicy == 0 ? std::string() : platform::FormatFailure(kSetByPolicy, OptionNames(byPolicy));
  events.Report(platform::kEventlogInformationType, kEventStarted,
                {CheckedDrivesText(options).c_str(), policies.c_str(), language.c_str()});
}

void PlayChosenSound(const TCheckOptions& options, platform::Sounds& sounds, unsigned waveFlags,
                     std::optional<unsigned> beepForNone) {
  switch (options.Sound) {
    case TSound::NoSound:
      if (beepForNone) sounds.Beep(*beepForNone);
      break;
    case TSound::SoundFile: sounds.PlayWave(options.SoundFile, waveFlags); break;
    case TSound::SoundWindows: sounds.Beep(BeepFor(options.WindowsSound)); break;
  }
}

void RunDiskCheck(const TCheckOptions& options, bool exitRequested, DiskCheckContext& context,
                  const SessionEndHold* hold) {
  std::string logBuffer;  // this run's copy of the log's text
  if (exitRequested) return;
  auto notify = [&](const std::string& label, char letter) {
    return NotifyMedium(options, label, letter, logBuffer, context, hold);
  };
  FindMedia(options, context.drives, MediumFound(notify));
}
