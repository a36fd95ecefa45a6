#pragma once
// The settings store: the options kept between runs under
// HKEY_LOCAL_MACHINE\SOFTWARE\Kestrome\Dorvane\4.0, one set for the machine.
// Missing or malformed values repair themselves: the load writes the
// defaults and loads again.

#include <string>
#include <vector>

#include "platform/EventLog.h"
#include "platform/Registry.h"
#include "settings/CheckOptions.h"

// The key paths as the program names them; they are opened without the
// leading backslash.
extern const char kSettingsKeyPath[];    // "\SOFTWARE\Kestrome\Dorvane\4.0"
extern const char kExclusionsKeyPath[];  // "\SOFTWARE\Kestrome\Dorvane\4.0\Exclusions"

// The choice that a stored word names ("NoSound", "Exclamation"...),
// compared exactly, letter case included; false, with the choice as it
// was, for any other word.
bool SoundOfWord(const std::string& word, TSound& sound);
bool WindowsSoundOfWord(const std::string& word, TWindowsSound& sound);

// The names of a key's values, in the order in which the registry lists
// them. The default value is listed with the empty name.
std::vector<std::string> ValueNames(platform::RegistryKey& key);

// The value "Language" of the settings key: a language tag that chooses
// the language of the program's texts over Windows' display language;
// empty where it is empty, missing or no text. Read once, at the start.
std::string StoredLanguage(platform::Registry& registry);

class SettingsStore {
 public:
  // `defaultLogFile` is the application directory followed by "dvn.dvl".
  // Each repair, and each repair that could not be made, is reported to
  // `events`.
  SettingsStore(platform::Registry& registry, std::string defaultLogFile,
                platform::EventLog& events);

  const std::string& DefaultLogFile() const { return defaultLogFile_; }

  // Fills every field of `options` from the store, resetting a damaged
  // store to the defaults first. Where the user may only read the store,
  // a damaged one stays as it is and `options` takes the defaults that the
  // reset would have written. Throws platform::Failure only when the store
  // refuses the reset's writes.
  void Load(TCheckOptions& options);

  // Writes every field, then the labels, then the drive string, then
  // "RemovableDrives" and "RemindWhenAway"; the options of `keep` (those a
  // policy sets) are left as stored. Stops with platform::Failure at the
  // first write the store refuses; where the user may not change the store
  // at all, before the first, with the text "Error.Administrator".
  void Save(const TCheckOptions& options, TOptionSet keep = 0);

  // Replaces the stored label list by the labels of `options`.
  void RegWriteExclusions(const TCheckOptions& options);

 private:
  // Stores the defaults and loads them; false, with the defaults put into
  // `options` alone, where the user may not change the store.
  bool Reset(TCheckOptions& options);
  void ReportRepair(const std::string& damage, const char* outcome);

  platform::Registry& registry_;
  std::string defaultLogFile_;
  platform::EventLog& events_;
};
