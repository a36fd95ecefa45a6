#include "tests/figures/StoreCombinations.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

#include "platform/fake/Fakes.h"
#include "settings/SettingsStore.h"
#include "tests/figures/Figures.h"

namespace figures {

namespace {

using platform::RegistryKey;

const std::string kKey = kSettingsKeyPath + 1;  // opened without the leading backslash
const char kDefaultLog[] = "C:\\DVN\\dvn.dvl";
// A value the load never reads: only a reset deletes it, so its absence
// after a load is what tells that the store was reset.
const char kMarker[] = "LeftByAnotherVersion";

struct StoredValue {
  const char* name;
  bool boolean;
  const char* right;  // the text of a text value; a boolean's right value is 1
};
const StoredValue kValues[] = {
    {"Sound", false, "SoundWindows"}, {"SoundFile", false, "C:\\Media\\ding.wav"},
    {"WindowsSound", false, "Question"}, {"Logging", true, nullptr},
    {"LogFile", false, "D:\\dvn.dvl"}, {"NoDialog", true, nullptr},
    {"Drives", false, "C"}};
constexpr int kValueCount = sizeof kValues / sizeof kValues[0];
// The eighth value, which a store may lack without damage: stored as a
// boolean (right), as the text "1" (wrong type) or not at all.
const StoredValue kRemovable = {"RemovableDrives", true, nullptr};

void PutText(RegistryKey& key, const std::string& name, const std::string& text) {
  key.SetValue(name, platform::kRegSz, reinterpret_cast<const std::uint8_t*>(text.c_str()),
               static_cast<std::uint32_t>(text.size() + 1));
}

void PutDword(RegistryKey& key, const std::string& name, const std::vector<std::uint8_t>& data) {
  const std::uint8_t none = 0;
  key.SetValue(name, platform::kRegDword, data.empty() ? &none : data.data(),
               static_cast<std::uint32_t>(data.size()));
}

bool HasValue(RegistryKey& key, const std::string& name) {
  std::uint32_t type = 0, size = 0;
  return key.QueryValue(name, type, nullptr, size) == platform::kErrorSuccess;
}

std::unique_ptr<RegistryKey> SettingsKey(platform::Registry& registry) {
  std::unique_ptr<RegistryKey> key = registry.CreateKey(kKey);
  if (!key) throw std::runtime_error("the settings key cannot be created");
  return key;
}

// The settings key holding exactly the marker and the values of `states`.
void Store(platform::Registry& registry, const std::string& states, char removable) {
  std::unique_ptr<RegistryKey> key = SettingsKey(registry);
  for (std::string name; key->EnumValueName(0, 256, name) == platform::kErrorSuccess;) {
    if (key->DeleteValue(name) != platform::kErrorSuccess) break;
  }
  PutText(*key, kMarker, "kept until a reset");
  for (int i = 0; i < kValueCount; ++i) {
    const StoredValue& value = kValues[i];
    const bool right = states[i] == 'r';
    if (states[i] == 'm') continue;
    if (value.boolean == right) {
      PutDword(*key, value.name, {1, 0, 0, 0});  // a right boolean, or a text's wrong type
    } else {
      PutText(*key, value.name, right ? value.right : "1");
    }
  }
  if (removable == 'r') PutDword(*key, kRemovable.name, {1, 0, 0, 0});
  if (removable == 'w') PutText(*key, kRemovable.name, "1");
}

TCheckOptions BeforeTheLoad() {
  TCheckOptions options;
  options.Drives = {{" A:\\", true, 0}, {" C:\\", false, 0}, {" D:\\", false, 0}};
  options.Sound = TSound::SoundFile;
  options.WindowsSound = TWindowsSound::Information;
  options.SoundFile = "stale.wav";
  options.LogFile = "stale.dvl";
  return options;
}

std::string Record(const TCheckOptions& options) {
  return "Sound=" + std::to_string(static_cast<int>(options.Sound)) +
         " SoundFile=" + options.SoundFile +
         " WindowsSound=" + std::to_string(static_cast<int>(options.WindowsSound)) +
         " Logging=" + std::to_string(options.Logging) + " LogFile=" + options.LogFile +
         " NoDialog=" + std::to_string(options.NoDialog) + " Drives=" + DriveString(options) +
         " RemovableDrives=" + std::to_string(options.RemovableDrives);
}

// What the design says the record holds after the load of `states`.
std::string ExpectedRecord(const std::string& states, char removable) {
  TCheckOptions expected = BeforeTheLoad();
  if (DesignResets(states)) {
    expected.Sound = TSound::NoSound;
    expected.SoundFile = "(None)";
    expected.WindowsSound = TWindowsSound::Exclamation;
    expected.Logging = false;
    expected.LogFile = kDefaultLog;
    expected.NoDialog = false;
    CheckDrivesFromString(expected, "A");
    return Record(expected);
  }
  auto right = [&](const char* name) {
    for (int i = 0; i < kValueCount; ++i) {
      if (std::string(kValues[i].name) == name) return states[i] == 'r';
    }
    return false;
  };
  // Missing texts read as empty; unknown or missing words keep the choice.
  if (right("Sound")) expected.Sound = TSound::SoundWindows;
  expected.SoundFile = right("SoundFile") ? "C:\\Media\\ding.wav" : "";
  if (right("WindowsSound")) expected.WindowsSound = TWindowsSound::Question;
  expected.Logging = true;
  expected.NoDialog = true;
  expected.LogFile = right("LogFile") ? "D:\\dvn.dvl" : "";
  UncheckAllDrives(expected);
  if (right("Drives")) CheckDrivesFromString(expected, "C");
  // Read only by a load that did not reset, and only when right.
  expected.RemovableDrives = removable == 'r';
  return Record(expected);
}

}  // namespace

const std::vector<std::string>& ValueNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> list;
    for (const StoredValue& value : kValues) list.push_back(value.name);
    return list;
  }();
  return names;
}

bool DesignResets(const std::string& states) {
  for (int i = 0; i < kValueCount; ++i) {
    if (states[i] == 'w' || (states[i] == 'm' && kValues[i].boolean)) return true;
  }
  return false;
}

std::string CombinationCounts::Summary() const {
  return std::to_string(combinations) + " combinations: " + std::to_string(resets) + " reset, " +
         std::to_string(noResets) + " no reset, " + std::to_string(crashes) + " crashes, " +
         std::to_string(rereadClean) + " re-read without reset, " +
         std::to_string(disagreements) + " against the design";
}

CombinationCounts LoadEveryCombination(platform::Registry& registry, char removable) {
  CombinationCounts counts;
  platform::Journal events;
  platform::FakeEventLog eventLog{events};
  SettingsStore store(registry, kDefaultLog, eventLog);
  int total = 1;
  for (int i = 0; i < kValueCount; ++i) total *= 3;

  for (int combination = 0; combination < total; ++combination) {
    std::string states;
    for (int i = 0, rest = combination; i < kValueCount; ++i, rest /= 3) states += "mwr"[rest % 3];
    ++counts.combinations;
    auto disagree = [&](const std::string& what) {
      ++counts.disagreements;
      if (counts.firstDisagreements.size() < 5) {
        counts.firstDisagreements.push_back(states + ": " + what);
      }
    };
    try {
      Store(registry, states, removable);
      TCheckOptions first = BeforeTheLoad();
      store.Load(first);
      const bool reset = !HasValue(*SettingsKey(registry), kMarker);
      ++(reset ? counts.resets : counts.noResets);
      if (reset != DesignResets(states)) disagree(reset ? "reset" : "no reset");
      if (Record(first) != ExpectedRecord(states, removable)) {
        disagree("loaded " + Record(first));
      }

      // What the first load left is read as it stands.
      PutText(*SettingsKey(registry), kMarker, "kept until a reset");
      TCheckOptions second = BeforeTheLoad();
      store.Load(second);
      if (HasValue(*SettingsKey(registry), kMarker) && Record(second) == Record(first)) {
        ++counts.rereadClean;
      }
    } catch (const std::exception& failure) {
      ++counts.crashes;
      disagree(std::string("failed: ") + failure.what());
    }
  }
  return counts;
}

SizedBoolean LoadBooleanOfSize(platform::Registry& registry, const std::string& name,
                               unsigned size) {
  Store(registry, std::string(kValueCount, 'r'), 'm');
  std::vector<std::uint8_t> data(size, 0);
  if (size > 0) data.back() = 1;
  PutDword(*SettingsKey(registry), name, data);
  TCheckOptions options = BeforeTheLoad();
  platform::Journal events;
  platform::FakeEventLog eventLog{events};
  SettingsStore(registry, kDefaultLog, eventLog).Load(options);
  return {!HasValue(*SettingsKey(registry), kMarker),
          name == kRemovable.name ? options.RemovableDrives : options.NoDialog};
}

void ExpectEveryCombinationAsDesigned(platform::Registry& registry,
                                      const std::string& registryName) {
  // The stores of the seven values, first without the eighth, as stores
  // made before it are, then with it of a wrong type and right: 3 x 2187.
  // The eighth changes no reset and no other field.
  const struct {
    char state;
    const char* name;
  } eighths[] = {{'m', "missing"}, {'w', "REG_SZ"}, {'r', "REG_DWORD 1"}};
  for (const auto& eighth : eighths) {
    SCOPED_TRACE(eighth.name);
    const CombinationCounts counts = LoadEveryCombination(registry, eighth.state);
    AddRow("registry", {registryName, counts.Summary() + ", RemovableDrives " + eighth.name});
    EXPECT_EQ(counts.combinations, 2187);
    EXPECT_EQ(counts.resets, 2155);
    EXPECT_EQ(counts.noResets, 32);
    EXPECT_EQ(counts.crashes, 0);
    EXPECT_EQ(counts.rereadClean, counts.combinations);
    EXPECT_EQ(counts.disagreements, 0) << ::testing::PrintToString(counts.firstDisagreements);
  }
}

void ExpectBooleanSizesAsDesigned(platform::Registry& registry, const std::string& registryName) {
  for (const std::string name : {"NoDialog", "RemovableDrives"}) {
    for (unsigned size = 0; size <= 5; ++size) {
      const SizedBoolean loaded = LoadBooleanOfSize(registry, name, size);
      AddRow("registry", {registryName, "REG_DWORD \"" + name + "\" of " + std::to_string(size) +
                                            " bytes: " + (loaded.reset ? "reset" : "no reset") +
                                            ", reads " + (loaded.value ? "true" : "false")});
      // Five bytes are no number: "NoDialog" resets, "RemovableDrives" is
      // only off. A reset writes false; up to four bytes read zero-extended.
      EXPECT_EQ(loaded.reset, size == 5 && name == "NoDialog") << name << ", " << size << " bytes";
      EXPECT_EQ(loaded.value, size >= 1 && size <= 4) << name << ", " << size << " bytes";
    }
  }
}

}  // namespace figures
