#pragma once
// The options the disk check reads, and the list of drives it may check.
// One TCheckOptions exists: the settings dialog owns it, its controls edit
// it directly, and the check reads it live, unsaved edits included.

#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/Shell.h"
#include "resources/Texts.h"

enum class TSound { NoSound, SoundFile, SoundWindows };
enum class TWindowsSound { Exclamation, Question, Error, Information };

struct TDriveEntry {
  std::string Caption;  // " A:\" : a blank, the upper-case letter, ":\"
  bool Checked = false;
  int ImageIndex = 0;

  // The drive letter is the second character of the caption.
  char Letter() const { return Caption.size() > 1 ? Caption[1] : '\0'; }
  // The root path is the caption without its blanks: "A:\".
  std::string RootPath() const;
};

struct TCheckOptions {
  std::vector<TDriveEntry> Drives;      // letter order; the entries never change
  std::vector<std::string> Exclusions;  // labels never warned about; kept sorted
  TSound Sound = TSound::NoSound;
  std::string SoundFile = kNoSoundFile;
  TWindowsSound WindowsSound = TWindowsSound::Exclamation;
  bool Logging = false;
  std::string LogFile;
  bool NoDialog = false;
  // Also check, at each run, every drive that Windows reports as removable
  // or as a CD/DVD drive, whatever its letter and whether or not it is in
  // `Drives` (a stick plugged in after the start included).
  bool RemovableDrives = false;
  // When the user locks the computer or it goes to sleep, find the media
  // as the check does and sound a reminder, with a note on the icon for
  // the user's return. Nothing is held, logged or shown in a box.
  bool RemindWhenAway = false;
};

// One bit for each option, for a set of options: those that a policy sets.
enum TOptionBit : unsigned {
  kOptionDrives = 1u << 0,
  kOptionRemovableDrives = 1u << 1,
  kOptionRemindWhenAway = 1u << 2,
  kOptionLogging = 1u << 3,
  kOptionLogFile = 1u << 4,
  kOptionNoDialog = 1u << 5,
  kOptionSound = 1u << 6,
  kOptionSoundFile = 1u << 7,
  kOptionWindowsSound = 1u << 8,
  kOptionExclusions = 1u << 9,
};
using TOptionSet = unsigned;

// Fills `Drives` from the drives that exist now, drive A checked, and
// returns the system's small-icon list that shows their icons (null when
// the shell has none). The list is shared with the system: never destroy it.
platform::ImageListHandle BuildDriveList(TCheckOptions& options, platform::Drives& drives,
                                         platform::Shell& shell);

// The two halves of BuildDriveList: the entries, each with no icon yet;
// then each entry's icon and the list that holds them. The check needs
// only the first; the icons matter once the list is on the screen.
void BuildDriveEntries(TCheckOptions& options, platform::Drives& drives);
platform::ImageListHandle AssignDriveIcons(TCheckOptions& options, platform::Shell& shell);

void UncheckAllDrives(TCheckOptions& options);

// Checks every entry whose caption contains any character of `drives`. It
// never clears a check mark; callers that want the text to be the whole
// choice call UncheckAllDrives first.
void CheckDrivesFromString(TCheckOptions& options, const std::string& drives);

// The stored form of the drive choice: the letters of the checked entries
// in list order ("AC").
std::string DriveString(const TCheckOptions& options);

// Adds a label at its sorted place; the same label may stand twice.
void AddExclusion(TCheckOptions& options, const std::string& label);
