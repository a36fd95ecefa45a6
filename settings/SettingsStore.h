#pragma once
// The settings store: the options kept between runs under
// HKEY_LOCAL_MACHINE\SOFTWARE\Kestrome\Dorvane\4.0, one set for the machine.
// Missing or malformed values repair themselves: the load writes the
// defaults and loads again.

#include <string>

#include "platform/Registry.h"
#include "settings/CheckOptions.h"

// The key paths as the program names them; they are opened without the
// leading backslash.
extern const char kSettingsKeyPath[];    // "\SOFTWARE\Kestrome\Dorvane\4.0"
extern const char kExclusionsKeyPath[];  // "\SOFTWARE\Kestrome\Dorvane\4.0\Exclusions"

class SettingsStore {
 public:
  // `defaultLogFile` is the application directory followed by "dvn.dvl".
  SettingsStore(platform::Registry& registry, std::string defaultLogFile);

  const std::string& DefaultLogFile() const { return defaultLogFile_; }

  // Fills every field of `options` from the store, resetting a damaged
  // store to the defaults first. Throws platform::Failure only when the
  // store refuses the reset's writes.
  void Load(TCheckOptions& options);

  // Writes every field, then the labels, then the drive string, then
  // "RemovableDrives" and "RemindWhenAway". Stops with platform::Failure at the first write the
  // store refuses.
  void Save(const TCheckOptions& options);

  // Replaces the stored label list by the labels of `options`.
  void RegWriteExclusions(const TCheckOptions& options);

 private:
  platform::Registry& registry_;
  std::string defaultLogFile_;
};
