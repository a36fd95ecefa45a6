#include "settings/SettingsStore.h"

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Failure.h"
#include "resources/Events.h"
#include "resources/Texts.h"
#include "settings/StoreValues.h"

const char kSettingsKeyPath[] = "\\SOFTWARE\\Kestrome\\Dorvane\\4.0";
const char kExclusionsKeyPath[] = "\\SOFTWARE\\Kestrome\\Dorvane\\4.0\\Exclusions";

namespace {

using platform::Failure;
using platform::FormatFailure;
using platform::KeyInfo;
using platform::RegistryKey;

constexpr platform::TextId kGetDataFailed = TextNamed("Error.GetData");
constexpr platform::TextId kSetDataFailed = TextNamed("Error.SetData");
constexpr platform::TextId kInvalidDataType = TextNamed("Error.DataType");

// What became of a repair, for the administrator who reads the event.
constexpr char kRepaired[] = "They were reset to the defaults.";
constexpr char kNotRepaired[] =
    "This user may not change them: the defaults are used until an administrator starts Dorvane.";
constexpr char kRepairFailed[] = "The reset failed: ";

// A choice and the word that stores it.
template <class Choice>
struct ChoiceWord {
  Choice choice;
  const char* word;
};
constexpr ChoiceWord<TSound> kSoundWords[] = {
    {TSound::NoSound, "NoSound"},
    {TSound::SoundFile, "SoundFile"},
    {TSound::SoundWindows, "SoundWindows"},
};
constexpr ChoiceWord<TWindowsSound> kWindowsSoundWords[] = {
    {TWindowsSound::Exclamation, "Exclamation"},
    {TWindowsSound::Question, "Question"},
    {TWindowsSound::Error, "Error"},
    {TWindowsSound::Information, "Information"},
};

// The stored word of a choice; every choice has one.
template <class Choice, std::size_t N>
const char* WordOf(Choice choice, const ChoiceWord<Choice> (&words)[N]) {
  for (const ChoiceWord<Choice>& entry : words) {
    if (entry.choice == choice) return entry.word;
  }
  return words[0].word;
}

// The choice a stored word names; an unknown word keeps the earlier choice.
template <class Choice, std::size_t N>
bool ChoiceOf(const std::string& word, const ChoiceWord<Choice> (&words)[N], Choice& choice) {
  for (const ChoiceWord<Choice>& entry : words) {
    if (word == entry.word) {
      choice = entry.choice;
      return true;
    }
  }
  return false;
}

// The key paths name keys from the root; the registry refuses a path that
// starts with a backslash, so it gets the path without it.
std::string RelativePath(const char* path) { return path[0] == '\\' ? path + 1 : path; }

// A key that holds only the values it was made with and refuses every
// change. Without values it stands in for a key that could be neither
// opened nor created, typically for a user who may not write
// HKEY_LOCAL_MACHINE where no administrator has stored settings yet: it
// reads as an empty key, so the load finds the store damaged and the run
// takes the defaults. With the defaults it is what a reset would store,
// read by the load's own rules.
class FixedKey : public RegistryKey {
 public:
  FixedKey() = default;
  explicit FixedKey(const std::string& defaultLogFile) : defaultLogFile_(&defaultLogFile) {}

  long QueryValue(const std::string& name, std::uint32_t& type, std::uint8_t* data,
                  std::uint32_t& size) override {
    if (defaultLogFile_ == nullptr) return platform::kErrorFileNotFound;
    for (const StoreDefault& value : kStoreDefaults) {
      if (name != value.name) continue;
      const bool flag = value.kind == TStoredKind::Flag;
      // The log file's name beside the program: the path the store was given.
      const char* text =
          value.kind == TStoredKind::BesideProgram ? defaultLogFile_->c_str() : value.text;
      const std::uint8_t number[4] = {static_cast<std::uint8_t>(text[0] == '1'), 0, 0, 0};
      const auto* bytes = flag ? number : reinterpret_cast<const std::uint8_t*>(text);
      const auto needed = static_cast<std::uint32_t>(flag ? sizeof number : std::strlen(text) + 1);
      type = flag ? platform::kRegDword : platform::kRegSz;
      const bool fits = data == nullptr || size >= needed;
      if (data != nullptr && fits) std::copy(bytes, bytes + needed, data);
      size = needed;
      return fits ? platform::kErrorSuccess : platform::kErrorMoreData;
    }
    return platform::kErrorFileNotFound;
  }
  long SetValue(const std::string&, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
    return platform::kErrorAccessDenied;
  }
  long QueryInfo(KeyInfo& info) override {
    info = KeyInfo{};
    return platform::kErrorSuccess;
  }
  long EnumValueName(std::uint32_t, std::uint32_t, std::string&) override {
    return platform::kErrorNoMoreItems;
  }
  long EnumKeyName(std::uint32_t, std::uint32_t, std::string&) override {
    return platform::kErrorNoMoreItems;
  }
  long DeleteValue(const std::string&) override { return platform::kErrorAccessDenied; }

 private:
  const std::string* defaultLogFile_ = nullptr;  // null: no values at all
};

// A key of the store, and whether this user may change it.
struct StoreKey {
  std::unique_ptr<RegistryKey> key;  // never null
  bool writable;
};

// Opens a key for changing, creating it if it is missing. A standard user
// may not, where an administrator set the key up for the whole computer
// (and Windows does not divert the writes to a copy of the user's own):
// the key is then opened for reading, so that the administrator's
// settings still count.
StoreKey OpenStoreKey(platform::Registry& registry, const char* path) {
  const std::string relative = RelativePath(path);
  if (std::unique_ptr<RegistryKey> key = registry.CreateKey(relative)) {
    return {std::move(key), true};
  }
  if (std::unique_ptr<RegistryKey> key = registry.OpenKeyForReading(relative)) {
    return {std::move(key), false};
  }
  return {std::make_unique<FixedKey>(), false};
}

std::unique_ptr<RegistryKey> OpenOrCreate(platform::Registry& registry, const char* path) {
  return OpenStoreKey(registry, path).key;
}

// A text value. A missing or empty value is no damage, only an empty text,
// so a store that lacks a path or the drive string loads without a reset.
std::string ReadText(RegistryKey& key, const std::string& name) {
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = 0;
  if (key.QueryValue(name, type, nullptr, size) != platform::kErrorSuccess || size == 0) return {};
  std::vector<std::uint8_t> data(size);
  if (key.QueryValue(name, type, data.data(), size) != platform::kErrorSuccess) {
    throw TextFailure(kGetDataFailed, name);
  }
  // REG_EXPAND_SZ is taken as stored: the user's "%WINDIR%" stays in the path.
  if (type != platform::kRegSz && type != platform::kRegExpandSz) {
    throw TextFailure(kInvalidDataType, name);
  }
  // Another program may have stored the text without its zero byte, or with
  // text after one: the text ends at the first zero or at the data's end.
  const auto end = data.begin() + std::min<std::size_t>(size, data.size());
  return std::string(data.begin(), std::find(data.begin(), end, std::uint8_t{0}));
}

// How a boolean value read: by the rule, a REG_DWORD of at most four bytes.
enum class TBoolRead { Read, NoData, WrongType };

TBoolRead QueryBool(RegistryKey& key, const std::string& name, bool& value) {
  std::uint8_t data[4] = {};
  std::uint32_t type = platform::kRegNone;
  std::uint32_t size = sizeof data;
  // More than four bytes do not fit the buffer: no number of ours.
  if (key.QueryValue(name, type, data, size) != platform::kErrorSuccess) return TBoolRead::NoData;
  if (type != platform::kRegDword) return TBoolRead::WrongType;
  // Tools and hand-written .reg files store numbers in fewer bytes
  // (hex(4):01,00); the bytes not written stay zero, so such a number
  // reads zero-extended. Any non-zero number is true, whichever byte is set.
  value = (data[0] | data[1] | data[2] | data[3]) != 0;
  return TBoolRead::Read;
}

// A boolean value; its absence is damage and starts the reset, which is how
// a fresh installation gets its defaults.
bool ReadBool(RegistryKey& key, const std::string& name) {
  bool value = false;
  switch (QueryBool(key, name, value)) {
    case TBoolRead::NoData:
      throw TextFailure(kGetDataFailed, name);
    case TBoolRead::WrongType:
      throw TextFailure(kInvalidDataType, name);
    case TBoolRead::Read:
      break;
  }
  return value;
}

// The value of an option added after the designed seven (the removable
// drives, the reminder when away), which older stores lack: read by the boolean rule, but whatever it holds it is no damage. A
// missing value, another type or more than four bytes read as false and
// never start the reset, so such a store loads exactly as it always did.
bool ReadOptionalBool(RegistryKey& key, const std::string& name) {
  bool value = false;
  return QueryBool(key, name, value) == TBoolRead::Read && value;
}

void WriteValue(RegistryKey& key, const std::string& name, std::uint32_t type,
                const std::uint8_t* data, std::uint32_t size) {
  if (key.SetValue(name, type, data, size) != platform::kErrorSuccess) {
    throw TextFailure(kSetDataFailed, name);
  }
}

// REG_SZ with its zero byte, which the stored size counts.
void WriteText(RegistryKey& key, const std::string& name, const std::string& text) {
  WriteValue(key, name, platform::kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
             static_cast<std::uint32_t>(text.size() + 1));
}

// REG_DWORD, little-endian: 1 for true, 0 for false.
void WriteBool(RegistryKey& key, const std::string& name, bool value) {
  const std::uint8_t data[4] = {static_cast<std::uint8_t>(value ? 1 : 0), 0, 0, 0};
  WriteValue(key, name, platform::kRegDword, data, sizeof data);
}

}  // namespace

std::vector<std::string> ValueNames(RegistryKey& key) {
  std::vector<std::string> names;
  KeyInfo info;
  if (key.QueryInfo(info) != platform::kErrorSuccess) return names;
  for (std::uint32_t index = 0; index < info.values; ++index) {
    std::string name;
    const long result = key.EnumValueName(index, info.maxValueNameLength + 1, name);
    if (result == platform::kErrorNoMoreItems) break;  // values deleted since the count
    if (result == platform::kErrorSuccess) names.push_back(name);
  }
  return names;
}

namespace {

// RegDeleteKeyA deletes only a key without subkeys, so the tree goes from
// its leaves up. A key that does not exist is nothing to delete.
void DeleteKeyTree(platform::Registry& registry, const std::string& path) {
  {
    std::unique_ptr<RegistryKey> key = registry.OpenKey(path);
    if (!key) return;
    KeyInfo info;
    if (key->QueryInfo(info) == platform::kErrorSuccess) {
      // From the last index to the first, so that each deletion leaves the
      // indexes still to visit where they were.
      for (std::uint32_t index = info.subKeys; index-- > 0;) {
        std::string name;
        if (key->EnumKeyName(index, info.maxSubKeyNameLength + 1, name) ==
            platform::kErrorSuccess) {
          DeleteKeyTree(registry, path + "\\" + name);
        }
      }
    }
  }
  // A key that will not go is left as it is; writing the labels afterwards
  // reports a store that refuses changes.
  registry.DeleteKey(path);
}

// The values of the settings key, in the load's order. Throws at the
// first value that is missing where a boolean is read, or of the wrong
// type; the fields read before it keep what they read.
void ReadValues(RegistryKey& key, TCheckOptions& options) {
  options.SoundFile = ReadText(key, kSoundFileValue);
  options.NoDialog = ReadBool(key, kNoDialogValue);
  options.Logging = ReadBool(key, kLoggingValue);
  options.LogFile = ReadText(key, kLogFileValue);

  const std::string drives = ReadText(key, kDrivesValue);
  UncheckAllDrives(options);
  CheckDrivesFromString(options, drives);

  // Words are compared exactly, letter case included.
  ChoiceOf(ReadText(key, kSoundValue), kSoundWords, options.Sound);
  ChoiceOf(ReadText(key, kWindowsSoundValue), kWindowsSoundWords, options.WindowsSound);

  // Read last, once nothing can throw any more: the other values are read,
  // and a reset started, exactly as in a store without them.
  options.RemovableDrives = ReadOptionalBool(key, kRemovableDrivesValue);
  options.RemindWhenAway = ReadOptionalBool(key, kRemindWhenAwayValue);
}

// One pass over the store: the values, then the labels.
void LoadOnce(platform::Registry& registry, TCheckOptions& options) {
  ReadValues(*OpenOrCreate(registry, kSettingsKeyPath), options);

  // When the label subkey alone cannot be opened or created (its own rights
  // taken away), it reads as an empty key like any key that cannot be
  // opened: the list is empty and the load goes on. A reset would erase
  // the user's other settings without curing the subkey, and an empty list
  // errs on the side of warning about a disk rather than keeping quiet.
  std::unique_ptr<RegistryKey> labels = OpenOrCreate(registry, kExclusionsKeyPath);
  options.Exclusions.clear();
  for (const std::string& label : ValueNames(*labels)) AddExclusion(options, label);
}

}  // namespace

bool SoundOfWord(const std::string& word, TSound& sound) {
  return ChoiceOf(word, kSoundWords, sound);
}

bool WindowsSoundOfWord(const std::string& word, TWindowsSound& sound) {
  return ChoiceOf(word, kWindowsSoundWords, sound);
}

SettingsStore::SettingsStore(platform::Registry& registry, std::string defaultLogFile,
                             platform::EventLog& events)
    : registry_(registry), defaultLogFile_(std::move(defaultLogFile)), events_(events) {}

void SettingsStore::Load(TCheckOptions& options) {
  // A damaged or missing store repairs itself without a word to the user;
  // the administrator reads of it in the event log.
  std::string damage;
  try {
    LoadOnce(registry_, options);
    return;
  } catch (const Failure& failure) {
    damage = failure.what();
  }

  const char* outcome = kRepaired;
  try {
    if (!Reset(options)) outcome = kNotRepaired;
  } catch (const Failure& failure) {
    ReportRepair(damage, (kRepairFailed + std::string(failure.what())).c_str());
    throw;
  }
  ReportRepair(damage, outcome);
}

bool SettingsStore::Reset(TCheckOptions& options) {
  {
    StoreKey settings = OpenStoreKey(registry_, kSettingsKeyPath);
    // The user cannot act on an error box about the computer's settings:
    // the run goes on with what the reset would store, read as the load
    // reads it, and the store stays as the administrator left it. The
    // options the reset does not store are off after it.
    if (!settings.writable) {
      FixedKey defaults(defaultLogFile_);
      ReadValues(defaults, options);
      return false;
    }
    RegistryKey& key = *settings.key;
    // Every value goes, including those another version left,
    // "RemovableDrives" and "RemindWhenAway"; subkeys other than the labels
    // stay. Those options are not written back: after a reset they are off.
    for (const std::string& name : ValueNames(key)) key.DeleteValue(name);

    for (std::size_t i = 0; i < std::size(kStoreDefaults); ++i) {
      // The labels survive a reset: the ones the dialog holds at this moment.
      if (i == kDefaultsBeforeLabels) RegWriteExclusions(options);
      const StoreDefault& value = kStoreDefaults[i];
      switch (value.kind) {
        case TStoredKind::Text: WriteText(key, value.name, value.text); break;
        case TStoredKind::Flag: WriteBool(key, value.name, value.text[0] == '1'); break;
        case TStoredKind::BesideProgram: WriteText(key, value.name, defaultLogFile_); break;
      }
    }
  }

  // The values just written read back without fault. If the store still
  // answers otherwise (another program changing the key meanwhile), this
  // second load's failure goes to the caller and the user sees it: one
  // reset per load, never a loop of resets.
  LoadOnce(registry_, options);
  return true;
}

void SettingsStore::ReportRepair(const std::string& damage, const char* outcome) {
  events_.Report(platform::kEventlogWarningType, kEventSettingOrServiceDamaged, {damage.c_str(), outcome});
}

void SettingsStore::Save(const TCheckOptions& options, TOptionSet keep) {
  StoreKey settings = OpenStoreKey(registry_, kSettingsKeyPath);
  // Refused before the first write, so that a save that cannot be stored
  // stores nothing at all.
  if (!settings.writable) throw TextFailure(TextNamed("Error.Administrator"));
  RegistryKey* key = settings.key.get();
  // An option that a policy sets shows the policy's value: its stored
  // value stays the user's, for the day the policy goes.
  auto stores = [keep](TOptionSet option) { return (keep & option) == 0; };
  if (stores(kOptionSound)) WriteText(*key, kSoundValue, WordOf(options.Sound, kSoundWords));
  if (stores(kOptionSoundFile)) WriteText(*key, kSoundFileValue, options.SoundFile);
  if (stores(kOptionNoDialog)) WriteBool(*key, kNoDialogValue, options.NoDialog);
  if (stores(kOptionLogging)) WriteBool(*key, kLoggingValue, options.Logging);
  if (stores(kOptionLogFile)) WriteText(*key, kLogFileValue, options.LogFile);
  if (stores(kOptionWindowsSound)) {
    WriteText(*key, kWindowsSoundValue, WordOf(options.WindowsSound, kWindowsSoundWords));
  }
  if (stores(kOptionExclusions)) RegWriteExclusions(options);
  if (stores(kOptionDrives)) WriteText(*key, kDrivesValue, DriveString(options));
  // Last, after the values that every store has: a save refused before
  // here leaves it as it was.
  if (stores(kOptionRemovableDrives)) {
    WriteBool(*key, kRemovableDrivesValue, options.RemovableDrives);
  }
  if (stores(kOptionRemindWhenAway)) {
    WriteBool(*key, kRemindWhenAwayValue, options.RemindWhenAway);
  }
}

void SettingsStore::RegWriteExclusions(const TCheckOptions& options) {
  // Rebuilt from nothing, so labels removed in the dialog leave the store.
  DeleteKeyTree(registry_, RelativePath(kExclusionsKeyPath));
  std::unique_ptr<RegistryKey> labels = OpenOrCreate(registry_, kExclusionsKeyPath);
  // The label is the value's name, so a label listed twice is stored once.
  for (const std::string& label : options.Exclusions) WriteText(*labels, label, label);
}

std::string StoredLanguage(platform::Registry& registry) {
  const std::unique_ptr<RegistryKey> key = registry.OpenKeyForReading(RelativePath(kSettingsKeyPath));
  if (key == nullptr) return std::string();
  // Not an option of the check: a value missing or of another type is no
  // damage to repair, only no choice.
  try {
    return ReadText(*key, kLanguageValue);
  } catch (const Failure&) {
    return std::string();
  }
}
