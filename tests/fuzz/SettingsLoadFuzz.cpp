// The settings load over arbitrary registry contents: any of the seven
// values and "RemovableDrives" missing, of any type and size, texts
// without their zero byte or with bytes after it, other values, labels and
// subkeys beside them.
//
// Input: the drives that exist, the choices and labels the options hold
// before the load, then records, each one value or key of the store.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/Fakes.h"
#include "settings/SettingsStore.h"
#include "tests/fuzz/FuzzInput.h"

namespace {

using fuzz::FuzzInput;
using fuzz::Require;
using fuzz::Shown;
using platform::FakeRegistry;
using platform::FakeRegistryValue;

const std::string kKey = "SOFTWARE\\Kestrome\\Dorvane\\4.0";
const std::string kLabels = kKey + "\\Exclusions";
const char kDefaultLog[] = "C:\\DVN\\dvn.dvl";
const char* const kTexts[] = {"Sound", "SoundFile", "WindowsSound", "LogFile", "Drives"};
const char* const kBooleans[] = {"NoDialog", "Logging"};

// A name as the registry takes it from a program: no zero byte, and for a
// key no backslash and not empty.
std::string NameFrom(FuzzInput& input, bool forKey) {
  std::string name;
  for (char c : input.Text(16)) {
    if (c != '\0' && !(forKey && c == '\\')) name += c;
  }
  return forKey && name.empty() ? "k" : name;
}

std::uint32_t TypeFrom(FuzzInput& input) {
  const std::uint8_t type = input.Byte();
  return type < 12 ? type : input.Number32();  // REG_NONE to REG_QWORD, or any number
}

std::vector<std::uint8_t> DataFrom(FuzzInput& input) {
  const std::string bytes = input.Text(40);
  return {bytes.begin(), bytes.end()};
}

std::string Describe(const FakeRegistry& registry) {
  std::string text;
  for (const std::string& name : registry.ValueNames(kKey)) {
    const FakeRegistryValue value = *registry.Value(kKey, name);
    text += "  " + Shown(name) + " type " + std::to_string(value.type) + ": " +
            Shown(std::string(value.data.begin(), value.data.end())) + "\n";
  }
  for (const std::string& name : registry.ValueNames(kLabels))
    text += "  label " + Shown(name) + "\n";
  return text;
}

// What the rules for reading a value make of what is stored.
std::string StoredText(const FakeRegistry& registry, const std::string& name) {
  const auto value = registry.Value(kKey, name);
  if (!value) return {};
  return std::string(value->data.begin(),
                     std::find(value->data.begin(), value->data.end(), std::uint8_t{0}));
}

bool StoredBoolean(const FakeRegistry& registry, const std::string& name) {
  const auto value = registry.Value(kKey, name);
  return std::any_of(value->data.begin(), value->data.end(), [](std::uint8_t b) { return b != 0; });
}

// "RemovableDrives" is on only when it is a REG_DWORD of at most four
// bytes that are not all zero; anything else is off, and no damage.
bool StoredRemovableDrives(const FakeRegistry& registry) {
  const auto value = registry.Value(kKey, "RemovableDrives");
  return value && value->type == platform::kRegDword && value->data.size() <= 4 &&
         StoredBoolean(registry, "RemovableDrives");
}

// The design's one condition for the reset: a boolean that is missing,
// of another type or longer than four bytes, or a text of a type other
// than REG_SZ and REG_EXPAND_SZ that is not empty.
bool NeedsReset(const FakeRegistry& registry) {
  for (const char* name : kBooleans) {
    const auto value = registry.Value(kKey, name);
    if (!value || value->type != platform::kRegDword || value->data.size() > 4) return true;
  }
  for (const char* name : kTexts) {
    const auto value = registry.Value(kKey, name);
    if (value && !value->data.empty() && value->type != platform::kRegSz &&
        value->type != platform::kRegExpandSz) {
      return true;
    }
  }
  return false;
}

bool Changed(const FakeRegistry& registry) {
  return std::any_of(registry.writes.begin(), registry.writes.end(), [](const std::string& write) {
    return write.rfind("set ", 0) == 0 || write.rfind("delete ", 0) == 0;
  });
}

bool Same(const TCheckOptions& a, const TCheckOptions& b) {
  if (a.Drives.size() != b.Drives.size()) return false;
  for (std::size_t k = 0; k < a.Drives.size(); ++k) {
    if (a.Drives[k].Caption != b.Drives[k].Caption || a.Drives[k].Checked != b.Drives[k].Checked ||
        a.Drives[k].ImageIndex != b.Drives[k].ImageIndex) {
      return false;
    }
  }
  return a.Exclusions == b.Exclusions && a.Sound == b.Sound && a.SoundFile == b.SoundFile &&
         a.WindowsSound == b.WindowsSound && a.Logging == b.Logging && a.LogFile == b.LogFile &&
         a.NoDialog == b.NoDialog && a.RemovableDrives == b.RemovableDrives;
}

std::string Describe(const TCheckOptions& options) {
  std::string text = "  drives " + DriveString(options) + ", sound " +
                     std::to_string(static_cast<int>(options.Sound)) + ", file " +
                     Shown(options.SoundFile) + ", windows sound " +
                     std::to_string(static_cast<int>(options.WindowsSound)) + ", logging " +
                     std::to_string(options.Logging) + ", log " + Shown(options.LogFile) +
                     ", no dialog " + std::to_string(options.NoDialog) + ", removable " +
                     std::to_string(options.RemovableDrives) + ", labels";
  for (const std::string& label : options.Exclusions) text += " " + Shown(label);
  return text;
}

template <class Choice>
Choice ChoiceNamed(const std::string& word, const std::vector<std::string>& words, Choice earlier) {
  const auto it = std::find(words.begin(), words.end(), word);
  return it == words.end() ? earlier : static_cast<Choice>(it - words.begin());
}

// The labels a reset leaves: those the options held, once for each name
// the registry tells apart.
std::vector<std::string> LabelsAfterReset(const std::vector<std::string>& held) {
  TCheckOptions kept;
  std::set<std::string> seen;
  for (const std::string& label : held) {
    if (seen.insert(platform::AsciiUpperCase(label)).second) AddExclusion(kept, label);
  }
  return kept.Exclusions;
}

void CheckLoaded(const FakeRegistry& stored, const TCheckOptions& before,
                 const TCheckOptions& options, bool reset,
                 const std::function<std::string()>& detail) {
  Require(static_cast<int>(options.Sound) >= 0 && static_cast<int>(options.Sound) <= 2 &&
              static_cast<int>(options.WindowsSound) >= 0 &&
              static_cast<int>(options.WindowsSound) <= 3,
          "the choices are among their words", detail);
  Require(options.Drives.size() == before.Drives.size(), "the drive list keeps its entries",
          detail);
  for (std::size_t k = 0; k < options.Drives.size(); ++k) {
    Require(options.Drives[k].Caption == before.Drives[k].Caption &&
                options.Drives[k].ImageIndex == before.Drives[k].ImageIndex,
            "the drive list keeps its entries", detail);
  }
  Require(std::is_sorted(options.Exclusions.begin(), options.Exclusions.end(),
                         [](const std::string& a, const std::string& b) {
                           return std::lexicographical_compare(
                               a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                                 return static_cast<unsigned char>(platform::AsciiUpper(x)) <
                                        static_cast<unsigned char>(platform::AsciiUpper(y));
                               });
                         }),
          "the labels are in alphabetical order", detail);

  if (reset) {
    TCheckOptions defaults = before;
    for (TDriveEntry& entry : defaults.Drives) entry.Checked = entry.Caption == " A:\\";
    defaults.Sound = TSound::NoSound;
    defaults.SoundFile = kNoSoundFile;
    defaults.WindowsSound = TWindowsSound::Exclamation;
    defaults.Logging = false;
    defaults.LogFile = kDefaultLog;
    defaults.NoDialog = false;
    defaults.RemovableDrives = false;
    defaults.Exclusions = LabelsAfterReset(before.Exclusions);
    Require(Same(options, defaults), "a reset brings every setting to its default, labels kept",
            detail);
    return;
  }

  const std::vector<std::string> sounds = {"NoSound", "SoundFile", "SoundWindows"};
  const std::vector<std::string> windowsSounds = {"Exclamation", "Question", "Error",
                                                  "Information"};
  std::vector<std::string> labels = stored.ValueNames(kLabels);
  std::vector<std::string> loaded = options.Exclusions;
  std::sort(labels.begin(), labels.end());
  std::sort(loaded.begin(), loaded.end());
  Require(options.SoundFile == StoredText(stored, "SoundFile") &&
              options.LogFile == StoredText(stored, "LogFile") &&
              options.NoDialog == StoredBoolean(stored, "NoDialog") &&
              options.Logging == StoredBoolean(stored, "Logging") &&
              options.RemovableDrives == StoredRemovableDrives(stored) &&
              options.Sound == ChoiceNamed(StoredText(stored, "Sound"), sounds, before.Sound) &&
              options.WindowsSound == ChoiceNamed(StoredText(stored, "WindowsSound"), windowsSounds,
                                                  before.WindowsSound) &&
              loaded == labels,
          "a load without a reset reads every value by the rules", detail);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  TCheckOptions before;
  const std::uint8_t existing = input.Byte();  // drives A to H
  for (int bit = 0; bit < 8; ++bit) {
    if ((existing & (1u << bit)) == 0) continue;
    const char letter = static_cast<char>('A' + bit);
    before.Drives.push_back({std::string(" ") + letter + ":\\", letter == 'A', bit});
  }
  const std::uint8_t choices = input.Byte();
  before.Sound = static_cast<TSound>(choices % 3);
  before.WindowsSound = static_cast<TWindowsSound>(choices / 3 % 4);
  for (int count = input.Byte() % 4; count > 0; --count)
    AddExclusion(before, NameFrom(input, false));

  FakeRegistry registry;
  registry.AddKey("SOFTWARE");
  std::vector<std::string> otherKeys;  // subkeys of the settings key the reset keeps
  while (!input.Empty()) {
    const std::uint8_t kind = input.Byte();
    switch (kind % 8) {
      case 0:
      case 1:
      case 2:
      case 3: {
        // One of the eight values; the registry ignores the case of names.
        const char* const names[] = {"Sound",   "SoundFile", "WindowsSound", "Logging",
                                     "LogFile", "NoDialog",  "Drives",       "RemovableDrives"};
        std::string name = names[((kind >> 3) & 0x0F) % 8];
        if (kind & 0x80) name = platform::AsciiUpperCase(name);
        const std::uint32_t type = TypeFrom(input);
        registry.Put(kKey, name, type, DataFrom(input));
        break;
      }
      case 4: {
        const std::string name = NameFrom(input, false);
        const std::uint32_t type = TypeFrom(input);
        registry.Put(kKey, name, type, DataFrom(input));
        break;
      }
      case 5: {
        const std::string name = NameFrom(input, false);
        const std::uint32_t type = TypeFrom(input);
        registry.Put(kLabels, name, type, DataFrom(input));
        break;
      }
      case 6: {
        // Keys below the labels, which a rewrite of the labels removes.
        std::string path = kLabels + "\\" + NameFrom(input, true);
        if (kind & 0x80) path += "\\" + NameFrom(input, true);
        registry.Put(path, NameFrom(input, false), platform::kRegSz, {});
        break;
      }
      case 7: {
        const std::string name = NameFrom(input, true);
        if (platform::AsciiUpperCase(name) == "EXCLUSIONS") break;
        registry.AddKey(kKey + "\\" + name);
        otherKeys.push_back(kKey + "\\" + name);
        break;
      }
    }
  }

  const bool expectReset = NeedsReset(registry);
  const std::string stored = Describe(registry);
  platform::Journal events;
  platform::FakeEventLog eventLog{events};
  SettingsStore store(registry, kDefaultLog, eventLog);
  TCheckOptions options = before;
  try {
    store.Load(options);
  } catch (const platform::Failure& failure) {
    Require(false, "a store that takes every write always loads", stored + failure.what());
  }
  const bool reset = Changed(registry);
  const auto detail = [&] { return "stored:\n" + stored + "loaded:\n" + Describe(options); };
  Require(reset == expectReset, "the load resets exactly when the design says", detail);
  Require(events.size() == (reset ? 1u : 0u), "each reset, and only a reset, sends an event",
          detail);
  CheckLoaded(registry, before, options, reset, detail);
  if (reset) {
    std::vector<std::string> names = registry.ValueNames(kKey);
    std::sort(names.begin(), names.end());
    Require(names == std::vector<std::string>{"Drives", "LogFile", "Logging", "NoDialog", "Sound",
                                              "SoundFile", "WindowsSound"},
            "a reset leaves the seven values alone", detail);
    Require(registry.SubKeyNames(kLabels).empty(), "a reset rewrites the labels from nothing",
            detail);
    for (const std::string& key : otherKeys) {
      Require(registry.HasKey(key), "a reset keeps the other subkeys",
              [&] { return detail() + key; });
    }
  }

  // What the load left reads back the same, without another reset.
  registry.writes.clear();
  TCheckOptions again = options;
  store.Load(again);
  Require(!Changed(registry) && Same(again, options), "a second load reads the same without reset",
          [&] { return detail() + "\nagain:\n" + Describe(again); });

  // What a save writes loads back as it was saved.
  store.Save(options);
  registry.writes.clear();
  TCheckOptions saved = before;
  store.Load(saved);
  Require(!Changed(registry) && Same(saved, options), "a saved store loads back as it was saved",
          [&] { return detail() + "\nafter the save:\n" + Describe(saved); });
  return 0;
}
