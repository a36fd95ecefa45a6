#pragma once
// The values of the settings key, by name, and the defaults that a reset
// of the store writes: the one list of the program's defaults. The setup
// and the Windows Installer package write theirs from it too
// (setup/StoreDefaults.cpp prints it for them), so that a first install
// stores exactly what the program's own first start would.

#include <cstddef>

#include "resources/Texts.h"

constexpr char kSoundValue[] = "Sound";
constexpr char kSoundFileValue[] = "SoundFile";
constexpr char kWindowsSoundValue[] = "WindowsSound";
constexpr char kLoggingValue[] = "Logging";
constexpr char kLogFileValue[] = "LogFile";
constexpr char kNoDialogValue[] = "NoDialog";
constexpr char kDrivesValue[] = "Drives";
constexpr char kRemovableDrivesValue[] = "RemovableDrives";
constexpr char kRemindWhenAwayValue[] = "RemindWhenAway";
// The language of the program's texts, a language tag; read at the start
// only, and never written: empty or missing, Windows' display language
// decides. No reset writes it.
constexpr char kLanguageValue[] = "Language";
// The subkey of the labels left out, below the settings key and below the
// policy key alike.
constexpr char kExclusionsSubkey[] = "Exclusions";

// The log file's name; the default log file is this name in the
// application directory, beside the program.
constexpr char kLogFileName[] = "dvn.dvl";

enum class TStoredKind {
  Text,            // REG_SZ, the text as it stands
  Flag,            // REG_DWORD, "0" or "1"
  BesideProgram,   // REG_SZ, the application directory followed by the text
};

struct StoreDefault {
  const char* name;
  TStoredKind kind;
  const char* text;
};

// In the order in which the reset writes them. "RemovableDrives" and
// "RemindWhenAway" are not among them: a reset leaves them off.
constexpr StoreDefault kStoreDefaults[] = {
    {kSoundValue, TStoredKind::Text, "NoSound"},
    {kSoundFileValue, TStoredKind::Text, kNoSoundFile},
    {kWindowsSoundValue, TStoredKind::Text, "Exclamation"},
    {kLoggingValue, TStoredKind::Flag, "0"},
    {kLogFileValue, TStoredKind::BesideProgram, kLogFileName},
    {kNoDialogValue, TStoredKind::Flag, "0"},
    {kDrivesValue, TStoredKind::Text, "A"},
};

// The reset rewrites the labels after this many of the values above: after
// "Logging", before "LogFile".
constexpr std::size_t kDefaultsBeforeLabels = 4;
