// The settings store against the in-memory registry: loading, the repair of
// a damaged store, the save and the stored label list.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/Failure.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/Fakes.h"
#include "resources/Texts.h"
#include "settings/SettingsStore.h"
#include "tests/figures/StoreCombinations.h"

namespace {

using platform::FakeRegistry;
using Strings = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

const std::string kKey = "SOFTWARE\\Kestrome\\Dorvane\\4.0";
const std::string kLabels = kKey + "\\Exclusions";
const std::string kDefaultLog = "C:\\DVN\\dvn.dvl";

// The message of the failure that `action` ends with.
std::string FailureOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::Failure& failure) {
    return failure.what();
  }
  return "<no failure>";
}

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() {
    // Drives A, C and D, with A checked as the drive list starts.
    for (char letter : {'A', 'C', 'D'}) {
      options.Drives.push_back({std::string(" ") + letter + ":\\", letter == 'A', 0});
    }
    registry.AddKey("SOFTWARE");
  }

  // A store as a save of the defaults leaves it.
  void StoreDefaults() {
    registry.PutText(kKey, "Sound", "NoSound");
    registry.PutText(kKey, "SoundFile", "(None)");
    registry.PutText(kKey, "WindowsSound", "Exclamation");
    registry.PutDword(kKey, "Logging", 0);
    registry.PutText(kKey, "LogFile", kDefaultLog);
    registry.PutDword(kKey, "NoDialog", 0);
    registry.PutText(kKey, "Drives", "A");
    registry.AddKey(kLabels);
  }

  std::string Text(const std::string& name, const std::string& key = kKey) {
    auto value = registry.Value(key, name);
    if (!value) return "<missing>";
    if (value->type != platform::kRegSz) return "<type " + std::to_string(value->type) + ">";
    return std::string(value->data.begin(), value->data.end());  // zero byte included
  }
  Bytes Data(const std::string& name) {
    auto value = registry.Value(kKey, name);
    return value ? value->data : Bytes{};
  }

  void ExpectDefaultsStored() {
    EXPECT_EQ(Text("Sound"), std::string("NoSound", 8));
    EXPECT_EQ(Text("SoundFile"), std::string("(None)", 7));
    EXPECT_EQ(Text("WindowsSound"), std::string("Exclamation", 12));
    EXPECT_EQ(registry.Value(kKey, "Logging")->type, platform::kRegDword);
    EXPECT_EQ(Data("Logging"), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Text("LogFile"), kDefaultLog + '\0');
    EXPECT_EQ(registry.Value(kKey, "NoDialog")->type, platform::kRegDword);
    EXPECT_EQ(Data("NoDialog"), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Text("Drives"), std::string("A", 2));
    EXPECT_TRUE(registry.HasKey(kLabels));
    // The reset writes only the seven values that every store has.
    EXPECT_FALSE(registry.Value(kKey, "RemovableDrives").has_value());
    EXPECT_FALSE(registry.Value(kKey, "RemindWhenAway").has_value());
  }
  void ExpectDefaultsLoaded() {
    EXPECT_EQ(options.Sound, TSound::NoSound);
    EXPECT_EQ(options.SoundFile, "(None)");
    EXPECT_EQ(options.WindowsSound, TWindowsSound::Exclamation);
    EXPECT_FALSE(options.Logging);
    EXPECT_EQ(options.LogFile, kDefaultLog);
    EXPECT_FALSE(options.NoDialog);
    EXPECT_EQ(DriveString(options), "A");
    EXPECT_FALSE(options.RemovableDrives);
    EXPECT_FALSE(options.RemindWhenAway);
  }

  FakeRegistry registry;
  platform::Journal events;
  platform::FakeEventLog eventLog{events};
  SettingsStore store{registry, kDefaultLog, eventLog};
  TCheckOptions options;
};

TEST_F(SettingsStoreTest, FirstRunWritesTheFullDefaultSetAndLoadsIt) {
  options.Sound = TSound::SoundWindows;
  options.WindowsSound = TWindowsSound::Error;
  options.Logging = true;
  options.RemovableDrives = true;
  store.Load(options);

  ExpectDefaultsStored();
  ExpectDefaultsLoaded();
  EXPECT_TRUE(registry.ValueNames(kLabels).empty());
  EXPECT_TRUE(options.Exclusions.empty());
  // No label subkey yet, so nothing to delete before creating it.
  EXPECT_EQ(registry.writes,
            (Strings{"create key " + kKey, "set Sound", "set SoundFile", "set WindowsSound",
                    "set Logging", "create key " + kLabels, "set LogFile", "set NoDialog",
                    "set Drives"}));
}

struct DamageCase {
  const char* name;
  const char* valueName;
  std::uint32_t type;
  Bytes data;
};

class DamagedStoreTest : public SettingsStoreTest,
                         public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedStoreTest, ResetsEverythingButTheLabelsTheRecordHolds) {
  StoreDefaults();
  registry.PutText(kKey, "Drives", "CD");
  registry.PutText(kKey, "Sound", "SoundWindows");
  registry.PutText(kKey, "Extra", "left by another version");
  registry.AddKey(kKey + "\\Other");
  registry.PutText(kLabels, "STORED", "STORED");
  registry.Put(kKey, GetParam().valueName, GetParam().type, GetParam().data);
  // At a close, the record holds the dialog's labels, unsaved ones included.
  AddExclusion(options, "UNSAVED");
  AddExclusion(options, "BACKUP");

  store.Load(options);

  ExpectDefaultsStored();
  ExpectDefaultsLoaded();
  EXPECT_EQ(Text("Extra"), "<missing>");
  EXPECT_TRUE(registry.HasKey(kKey + "\\Other"));
  EXPECT_EQ(registry.ValueNames(kLabels), (Strings{"BACKUP", "UNSAVED"}));
  EXPECT_EQ(Text("UNSAVED", kLabels), std::string("UNSAVED", 8));
  EXPECT_EQ(options.Exclusions, (Strings{"BACKUP", "UNSAVED"}));
  // Every value is deleted before the defaults are written in their order.
  EXPECT_EQ(registry.writes,
            (Strings{"delete Sound", "delete SoundFile", "delete WindowsSound", "delete Logging",
                    "delete LogFile", "delete NoDialog", "delete Drives", "delete Extra",
                    "set Sound", "set SoundFile", "set WindowsSound", "set Logging",
                    "delete key " + kLabels, "create key " + kLabels, "set BACKUP",
                    "set UNSAVED", "set LogFile", "set NoDialog", "set Drives"}));
}

INSTANTIATE_TEST_SUITE_P(
    Values, DamagedStoreTest,
    ::testing::Values(
        DamageCase{"NoDialogAsTextOne", "NoDialog", platform::kRegSz, {'1', 0}},
        DamageCase{"LoggingTooLongForFourBytes", "Logging", platform::kRegDword, {1, 0, 0, 0, 0}},
        DamageCase{"SoundAsDword", "Sound", platform::kRegDword, {0, 0, 0, 0}},
        DamageCase{"SoundFileAsMultiText", "SoundFile", platform::kRegMultiSz, {'a', 0, 0}},
        DamageCase{"LogFileAsBinary", "LogFile", platform::kRegBinary, {'C', ':', 0}},
        DamageCase{"DrivesAsDword", "Drives", platform::kRegDword, {1, 0, 0, 0}},
        DamageCase{"WindowsSoundAsBinary", "WindowsSound", platform::kRegBinary, {'E', 0}}),
    [](const auto& info) { return std::string(info.param.name); });

// Tools and hand-written .reg files store booleans in fewer than four
// bytes ("NoDialog"=hex(4):01,00). Such a number reads zero-extended; only
// more than four bytes is damage.
TEST_F(SettingsStoreTest, ABooleanOfFourBytesOrFewerLoadsZeroExtended) {
  const struct {
    Bytes data;
    bool expected;
  } cases[] = {{{}, false},        {{1}, true},          {{0}, false},
               {{1, 0}, true},     {{0, 1}, true},       {{0, 0, 0}, false},
               {{0, 0, 1}, true},  {{0, 0, 0, 1}, true}, {{0, 0, 0, 0}, false}};
  for (const auto& c : cases) {
    StoreDefaults();
    registry.Put(kKey, "NoDialog", platform::kRegDword, c.data);
    registry.PutText(kKey, "Sound", "SoundWindows");
    options.NoDialog = !c.expected;
    registry.writes.clear();
    store.Load(options);
    EXPECT_EQ(options.NoDialog, c.expected) << c.data.size() << " bytes";
    EXPECT_EQ(options.Sound, TSound::SoundWindows) << "no reset for " << c.data.size() << " bytes";
    EXPECT_EQ(Data("NoDialog"), c.data) << "the value stays as it was";
  }
}

// Each of the seven values missing, of a wrong type or right.
TEST(StoreCombinationsTest, EveryStoreOfTheSevenValuesLoadsAsTheDesignSays) {
  FakeRegistry registry;
  figures::ExpectEveryCombinationAsDesigned(registry, "fake registry");
}

TEST(StoreCombinationsTest, BooleansOfUpToFourBytesReadZeroExtendedAndFiveReset) {
  FakeRegistry registry;
  figures::ExpectBooleanSizesAsDesigned(registry, "fake registry");
}

TEST_F(SettingsStoreTest, AMissingBooleanResetsButMissingTextsDoNot) {
  // Only the two booleans: the texts read as empty, the words keep the
  // earlier choice, and nothing is written.
  registry.PutDword(kKey, "NoDialog", 1);
  registry.PutDword(kKey, "Logging", 0x100);  // any non-zero number is true
  options.Sound = TSound::SoundWindows;
  options.WindowsSound = TWindowsSound::Error;
  store.Load(options);
  EXPECT_TRUE(options.NoDialog);
  EXPECT_TRUE(options.Logging);
  EXPECT_EQ(options.SoundFile, "");
  EXPECT_EQ(options.LogFile, "");
  EXPECT_EQ(DriveString(options), "");
  EXPECT_EQ(options.Sound, TSound::SoundWindows);
  EXPECT_EQ(options.WindowsSound, TWindowsSound::Error);
  EXPECT_EQ(registry.writes, (Strings{"create key " + kLabels}));

  // Without "Logging" the load resets.
  registry.Erase(kKey, "Logging");
  store.Load(options);
  ExpectDefaultsLoaded();
}

struct WordCase {
  const char* name;
  const char* sound;
  const char* windowsSound;
  TSound expectedSound;
  TWindowsSound expectedWindowsSound;
};

class SoundWordTest : public SettingsStoreTest, public ::testing::WithParamInterface<WordCase> {};

TEST_P(SoundWordTest, OnlyExactWordsChangeTheChoiceAndNoneResets) {
  StoreDefaults();
  registry.PutText(kKey, "Sound", GetParam().sound);
  registry.PutText(kKey, "WindowsSound", GetParam().windowsSound);
  options.Sound = TSound::SoundFile;
  options.WindowsSound = TWindowsSound::Information;
  store.Load(options);
  EXPECT_EQ(options.Sound, GetParam().expectedSound);
  EXPECT_EQ(options.WindowsSound, GetParam().expectedWindowsSound);
  EXPECT_TRUE(registry.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Words, SoundWordTest,
    ::testing::Values(
        WordCase{"NoSoundExclamation", "NoSound", "Exclamation", TSound::NoSound,
                 TWindowsSound::Exclamation},
        WordCase{"SoundWindowsQuestion", "SoundWindows", "Question", TSound::SoundWindows,
                 TWindowsSound::Question},
        WordCase{"LowerCaseKeeps", "nosound", "exclamation", TSound::SoundFile,
                 TWindowsSound::Information},
        WordCase{"EmptyKeeps", "", "", TSound::SoundFile, TWindowsSound::Information},
        WordCase{"TrailingBlankKeeps", "NoSound ", "Error ", TSound::SoundFile,
                 TWindowsSound::Information},
        WordCase{"OtherWordKeeps", "SoundFile2", "Beep", TSound::SoundFile,
                 TWindowsSound::Information}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
  const char* name;
  std::uint32_t type;
  Bytes data;
  const char* expected;
};

class StoredTextTest : public SettingsStoreTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(StoredTextTest, ReadsUpToTheFirstZeroWithoutAReset) {
  StoreDefaults();
  registry.Put(kKey, "LogFile", GetParam().type, GetParam().data);
  store.Load(options);
  EXPECT_EQ(options.LogFile, GetParam().expected);
  EXPECT_TRUE(registry.writes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredTextTest,
    ::testing::Values(
        TextCase{"ExpandTextUnexpanded", platform::kRegExpandSz,
                 {'%', 'T', 'E', 'M', 'P', '%', '\\', 'd', 0}, "%TEMP%\\d"},
        TextCase{"WithoutZeroByte", platform::kRegSz, {'C', ':', '\\', 'L'}, "C:\\L"},
        TextCase{"TextAfterAZero", platform::kRegSz, {'A', 'B', 0, 'C', 'D', 0}, "AB"},
        TextCase{"OnlyTheZero", platform::kRegSz, {0}, ""},
        TextCase{"SizeZeroOfAnyType", platform::kRegDword, {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsStoreTest, ValuesTheLoadDoesNotReadSurviveLoadsAndSaves) {
  StoreDefaults();
  registry.PutDword(kKey, "Extra", 7);
  store.Load(options);
  store.Save(options);
  store.Load(options);
  EXPECT_EQ(Data("Extra"), (Bytes{7, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, SaveWritesInItsOrderAndLoadsBackTheSameRecord) {
  StoreDefaults();
  options.Sound = TSound::SoundWindows;
  options.SoundFile = "";
  options.NoDialog = true;
  options.Logging = true;
  options.LogFile = "D:\\logs\\dvn.dvl";
  options.WindowsSound = TWindowsSound::Information;
  options.Drives[0].Checked = false;
  options.Drives[2].Checked = true;
  options.RemovableDrives = true;
  options.RemindWhenAway = true;
  for (const char* label : {"WORK", "Archive", "WORK", "work"}) AddExclusion(options, label);
  registry.writes.clear();

  store.Save(options);

  // The registry knows a name once, whatever its case: the first one wins.
  EXPECT_EQ(registry.writes,
            (Strings{"set Sound", "set SoundFile", "set NoDialog", "set Logging", "set LogFile",
                    "set WindowsSound", "delete key " + kLabels, "create key " + kLabels,
                    "set Archive", "set WORK", "set WORK", "set work", "set Drives",
                    "set RemovableDrives", "set RemindWhenAway"}));
  EXPECT_EQ(Text("Sound"), std::string("SoundWindows", 13));
  EXPECT_EQ(Text("SoundFile"), std::string(1, '\0'));
  EXPECT_EQ(Data("NoDialog"), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(Text("WindowsSound"), std::string("Information", 12));
  EXPECT_EQ(Text("Drives"), std::string("D", 2));
  EXPECT_EQ(registry.Value(kKey, "RemovableDrives")->type, platform::kRegDword);
  EXPECT_EQ(Data("RemovableDrives"), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(registry.Value(kKey, "RemindWhenAway")->type, platform::kRegDword);
  EXPECT_EQ(Data("RemindWhenAway"), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(registry.ValueNames(kLabels), (Strings{"Archive", "WORK"}));

  TCheckOptions loaded;
  loaded.Drives = options.Drives;
  store.Load(loaded);
  EXPECT_EQ(loaded.Sound, TSound::SoundWindows);
  EXPECT_EQ(loaded.SoundFile, "");
  EXPECT_TRUE(loaded.NoDialog);
  EXPECT_TRUE(loaded.Logging);
  EXPECT_EQ(loaded.LogFile, "D:\\logs\\dvn.dvl");
  EXPECT_EQ(loaded.WindowsSound, TWindowsSound::Information);
  EXPECT_EQ(DriveString(loaded), "D");
  EXPECT_EQ(loaded.Exclusions, (Strings{"Archive", "WORK"}));
  EXPECT_TRUE(loaded.RemovableDrives);
  EXPECT_TRUE(loaded.RemindWhenAway);

  // Saved off, they are stored as 0 and load off.
  options.RemovableDrives = false;
  options.RemindWhenAway = false;
  store.Save(options);
  EXPECT_EQ(Data("RemovableDrives"), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Data("RemindWhenAway"), (Bytes{0, 0, 0, 0}));
  store.Load(loaded);
  EXPECT_FALSE(loaded.RemovableDrives);
  EXPECT_FALSE(loaded.RemindWhenAway);
}

TEST_F(SettingsStoreTest, SaveStopsAtTheFirstRefusedWrite) {
  const Strings order = {"Sound",   "SoundFile",    "NoDialog", "Logging",        "LogFile",
                        "WindowsSound", "LABEL", "Drives", "RemovableDrives",
                        "RemindWhenAway"};
  AddExclusion(options, "LABEL");
  for (std::size_t refused = 0; refused < order.size(); ++refused) {
    SCOPED_TRACE(order[refused]);
    FakeRegistry refusing;
    refusing.RefuseWrite(order[refused] == "LABEL" ? kLabels : kKey, order[refused]);
    SettingsStore refusingStore(refusing, kDefaultLog, eventLog);
    EXPECT_EQ(FailureOf([&] { refusingStore.Save(options); }),
              "Failed to set data for '" + order[refused] + "'");
    Strings written;
    for (const std::string& entry : refusing.writes) {
      if (entry.compare(0, 4, "set ") == 0) written.push_back(entry.substr(4));
    }
    Strings expected(order.begin(), order.begin() + refused);
    expected.push_back(order[refused] + " refused");
    EXPECT_EQ(written, expected);
  }
}

TEST_F(SettingsStoreTest, LabelsLoadSortedAndTheDefaultValueIsAnEmptyLabel) {
  StoreDefaults();
  registry.PutText(kLabels, "zeta", "zeta");
  registry.PutText(kLabels, "Alpha", "ignored data");
  registry.PutDword(kLabels, "", 5);  // the key's default value, of any type
  store.Load(options);
  EXPECT_EQ(options.Exclusions, (Strings{"", "Alpha", "zeta"}));
  EXPECT_TRUE(registry.writes.empty());
}

TEST_F(SettingsStoreTest, RegWriteExclusionsRebuildsALabelSubkeyWithNestedSubkeys) {
  registry.PutText(kLabels, "OLD", "OLD");
  registry.PutText(kLabels + "\\a\\B\\c", "x", "x");
  registry.AddKey(kLabels + "\\D");
  AddExclusion(options, "");
  AddExclusion(options, "NEW");
  store.RegWriteExclusions(options);
  // The last subkey first; each from its leaves up.
  EXPECT_EQ(registry.writes,
            (Strings{"delete key " + kLabels + "\\D", "delete key " + kLabels + "\\a\\B\\c",
                    "delete key " + kLabels + "\\a\\B", "delete key " + kLabels + "\\a",
                    "delete key " + kLabels, "create key " + kLabels, "set ", "set NEW"}));
  EXPECT_TRUE(registry.SubKeyNames(kLabels).empty());
  EXPECT_EQ(registry.ValueNames(kLabels), (Strings{"", "NEW"}));
  EXPECT_EQ(Text("", kLabels), std::string(1, '\0'));
}

// Who may change the store, and what state it is in: an administrator's
// store that a standard user may only read is used as it is, and never
// repaired or saved; where writing is allowed, repairs and refused writes
// are as always. Every repair, made or not, is an event.
struct AccessCase {
  const char* name;
  std::function<void(FakeRegistry&)> arrange;  // after a store of "CD", logging on, "BACKUP"
  const char* drivesLoaded;
  bool loggingLoaded;
  std::string loadFailure;  // empty: the load completes
  Strings events;
  std::string saveFailure;  // empty: the save stores
};

const std::string kNotRepairedEvent =
    "|This user may not change them: the defaults are used until an administrator starts "
    "Dorvane.";

class StoreAccessTest : public SettingsStoreTest,
                        public ::testing::WithParamInterface<AccessCase> {};

TEST_P(StoreAccessTest, LoadsRepairsAndSavesAsTheUserMay) {
  StoreDefaults();
  registry.PutText(kKey, "Drives", "CD");
  registry.PutDword(kKey, "Logging", 1);
  registry.PutText(kLabels, "BACKUP", "BACKUP");
  GetParam().arrange(registry);
  options.RemovableDrives = true;
  options.LogFile = "C:\\old.dvl";
  AddExclusion(options, "KEPT");
  registry.writes.clear();

  const std::string loadFailure = FailureOf([&] { store.Load(options); });
  EXPECT_EQ(loadFailure, GetParam().loadFailure.empty() ? "<no failure>" : GetParam().loadFailure);
  EXPECT_EQ(events, GetParam().events);
  if (GetParam().loadFailure.empty()) {
    EXPECT_EQ(DriveString(options), GetParam().drivesLoaded);
    EXPECT_EQ(options.Logging, GetParam().loggingLoaded);
  }
  // Whatever the load did, the user's edits then meet the save.
  const bool readOnly = GetParam().saveFailure == EnglishText(TextNamed("Error.Administrator"));
  const Strings namesBefore = registry.ValueNames(kKey);
  options.NoDialog = true;
  EXPECT_EQ(FailureOf([&] { store.Save(options); }),
            GetParam().saveFailure.empty() ? "<no failure>" : GetParam().saveFailure);
  if (readOnly) {
    // Nothing is even tried, at the load's repair or at the save.
    EXPECT_TRUE(registry.writes.empty()) << ::testing::PrintToString(registry.writes);
    EXPECT_EQ(registry.ValueNames(kKey), namesBefore);
  } else if (GetParam().saveFailure.empty()) {
    EXPECT_EQ(Data("NoDialog"), (Bytes{1, 0, 0, 0}));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoreAccessTest,
    ::testing::Values(
        AccessCase{"ReadOnlyIntact",
                   [](FakeRegistry& r) { r.AllowOnlyReading(kKey); },
                   "CD", true, "", {}, EnglishText(TextNamed("Error.Administrator"))},
        AccessCase{"ReadOnlyDamaged",
                   [](FakeRegistry& r) {
                     r.PutText(kKey, "NoDialog", "1");
                     r.AllowOnlyReading(kKey);
                   },
                   "A", false, "",
                   {"event 1002 warning Invalid data type for 'NoDialog'" + kNotRepairedEvent},
                   EnglishText(TextNamed("Error.Administrator"))},
        AccessCase{"NeitherOpenedNorCreated",
                   [](FakeRegistry& r) { r.RefuseKey(kKey); },
                   "A", false, "",
                   {"event 1002 warning Failed to get data for 'NoDialog'" + kNotRepairedEvent},
                   EnglishText(TextNamed("Error.Administrator"))},
        AccessCase{"WritableIntact", [](FakeRegistry&) {}, "CD", true, "", {}, ""},
        AccessCase{"WritableDamaged",
                   [](FakeRegistry& r) { r.Erase(kKey, "Logging"); },
                   "A", false, "",
                   {"event 1002 warning Failed to get data for 'Logging'|They were reset to the "
                    "defaults."},
                   ""},
        AccessCase{"WritableButRefusingWrites",
                   [](FakeRegistry& r) {
                     r.Erase(kKey, "Logging");
                     r.RefuseWrites(kKey);
                   },
                   "", false, "Failed to set data for 'Sound'",
                   {"event 1002 warning Failed to get data for 'Logging'|The reset failed: "
                    "Failed to set data for 'Sound'"},
                   "Failed to set data for 'Sound'"}),
    [](const ::testing::TestParamInfo<AccessCase>& info) { return info.param.name; });

TEST_F(SettingsStoreTest, AStoreThatNeedsARepairItMayNotWriteRunsOnTheResetsValues) {
  registry.RefuseKey(kKey);
  options.Sound = TSound::SoundWindows;
  options.Logging = true;
  options.RemovableDrives = true;
  options.LogFile = "C:\\old.dvl";
  AddExclusion(options, "KEPT");
  store.Load(options);
  ExpectDefaultsLoaded();
  // The reset would store the labels the record holds.
  EXPECT_EQ(options.Exclusions, (Strings{"KEPT"}));
  EXPECT_TRUE(registry.writes.empty());
  EXPECT_FALSE(registry.HasKey(kKey));
}

TEST_F(SettingsStoreTest, ALabelSubkeyThatCannotBeOpenedLoadsNoLabelsAndKeepsTheRest) {
  StoreDefaults();
  registry.PutText(kLabels, "BACKUP", "BACKUP");
  registry.PutDword(kKey, "Logging", 1);
  registry.RefuseKey(kLabels);
  AddExclusion(options, "STALE");
  store.Load(options);
  EXPECT_TRUE(options.Logging);
  EXPECT_TRUE(options.Exclusions.empty());
  EXPECT_TRUE(registry.writes.empty());

  // Saving labels there then fails, naming the first label.
  AddExclusion(options, "NEW");
  EXPECT_EQ(FailureOf([&] { store.Save(options); }), "Failed to set data for 'NEW'");
}

TEST_F(SettingsStoreTest, ALoadAfterAResetThatFailsAgainReportsItInsteadOfResettingAgain) {
  // Another program puts text into "NoDialog" each time the reset ends
  // (a few times only, so that a store resetting again ends, and fails here).
  int corruptions = 0;
  registry.afterSet = [&](const std::string& name) {
    if (name == "Drives" && ++corruptions <= 5) registry.PutText(kKey, "NoDialog", "1");
  };
  EXPECT_EQ(FailureOf([&] { store.Load(options); }),
            "Invalid data type for 'NoDialog'");
  EXPECT_EQ(std::count(registry.writes.begin(), registry.writes.end(), "set Sound"), 1);
}

// ---------------------------------------------------------------------------
// "RemovableDrives": read by the boolean rule, but never damage. Whatever
// it holds, the load reads the rest as it always did and writes nothing.

struct RemovableCase {
  const char* name;
  bool present;
  std::uint32_t type;
  Bytes data;
  bool expected;
};

class RemovableDrivesValueTest : public SettingsStoreTest,
                                 public ::testing::WithParamInterface<RemovableCase> {};

TEST_P(RemovableDrivesValueTest, ReadsByTheBooleanRuleAndNeverResets) {
  // The reminder's value follows the same rule.
  const std::pair<const char*, bool TCheckOptions::*> optionals[] = {
      {"RemovableDrives", &TCheckOptions::RemovableDrives},
      {"RemindWhenAway", &TCheckOptions::RemindWhenAway}};
  for (const auto& [name, field] : optionals) {
    SCOPED_TRACE(name);
    StoreDefaults();
    registry.PutText(kKey, "Sound", "SoundWindows");  // a reset would make it NoSound
    if (GetParam().present) registry.Put(kKey, name, GetParam().type, GetParam().data);
    options.*field = !GetParam().expected;
    registry.writes.clear();

    store.Load(options);

    EXPECT_EQ(options.*field, GetParam().expected);
    EXPECT_TRUE(registry.writes.empty()) << ::testing::PrintToString(registry.writes);
    EXPECT_EQ(options.Sound, TSound::SoundWindows);
    if (GetParam().present) {
      EXPECT_EQ(registry.Value(kKey, name)->type, GetParam().type);
      EXPECT_EQ(Data(name), GetParam().data) << "the value stays as it was";
      registry.Erase(kKey, name);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, RemovableDrivesValueTest,
    ::testing::Values(
        RemovableCase{"Missing", false, platform::kRegNone, {}, false},
        RemovableCase{"DwordOne", true, platform::kRegDword, {1, 0, 0, 0}, true},
        RemovableCase{"DwordZero", true, platform::kRegDword, {0, 0, 0, 0}, false},
        RemovableCase{"DwordAnyNonZero", true, platform::kRegDword, {0, 0, 0x80, 0}, true},
        RemovableCase{"SizeZero", true, platform::kRegDword, {}, false},
        RemovableCase{"SizeOne", true, platform::kRegDword, {1}, true},
        RemovableCase{"SizeOneZero", true, platform::kRegDword, {0}, false},
        RemovableCase{"SizeTwo", true, platform::kRegDword, {0, 1}, true},
        RemovableCase{"SizeThree", true, platform::kRegDword, {0, 0, 1}, true},
        RemovableCase{"SizeThreeZero", true, platform::kRegDword, {0, 0, 0}, false},
        RemovableCase{"SizeFourLastByte", true, platform::kRegDword, {0, 0, 0, 1}, true},
        RemovableCase{"SizeFive", true, platform::kRegDword, {1, 0, 0, 0, 0}, false},
        RemovableCase{"SizeFiveLastByte", true, platform::kRegDword, {0, 0, 0, 0, 1}, false},
        RemovableCase{"TextOne", true, platform::kRegSz, {'1', 0}, false},
        RemovableCase{"ExpandTextOne", true, platform::kRegExpandSz, {'1', 0}, false},
        RemovableCase{"MultiTextOne", true, platform::kRegMultiSz, {'1', 0, 0}, false},
        RemovableCase{"BinaryOne", true, platform::kRegBinary, {1, 0, 0, 0}, false},
        RemovableCase{"NoneTypeOne", true, platform::kRegNone, {1, 0, 0, 0}, false},
        RemovableCase{"BigEndianDwordOne", true, 5, {0, 0, 0, 1}, false},
        RemovableCase{"QwordOne", true, 11, {1, 0, 0, 0, 0, 0, 0, 0}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Each damage resets as before, and the reset takes "RemovableDrives" away
// with every other value and writes the seven back: the option is off.
TEST_P(DamagedStoreTest, TheResetDeletesRemovableDrivesAndWritesOnlyTheSeven) {
  StoreDefaults();
  registry.PutDword(kKey, "RemovableDrives", 1);
  registry.PutDword(kKey, "RemindWhenAway", 1);
  registry.Put(kKey, GetParam().valueName, GetParam().type, GetParam().data);
  options.RemovableDrives = true;
  options.RemindWhenAway = true;
  registry.writes.clear();

  store.Load(options);

  ExpectDefaultsStored();
  ExpectDefaultsLoaded();
  Strings sets;
  for (const std::string& entry : registry.writes) {
    if (entry.compare(0, 4, "set ") == 0) sets.push_back(entry.substr(4));
  }
  EXPECT_EQ(sets, (Strings{"Sound", "SoundFile", "WindowsSound", "Logging", "LogFile", "NoDialog",
                           "Drives"}));
  EXPECT_EQ(std::count(registry.writes.begin(), registry.writes.end(), "delete RemovableDrives"),
            1);
  EXPECT_EQ(std::count(registry.writes.begin(), registry.writes.end(), "delete RemindWhenAway"),
            1);
}

TEST_F(SettingsStoreTest, AMissingBooleanResetsAwayAStoredRemovableDrives) {
  StoreDefaults();
  registry.PutDword(kKey, "RemovableDrives", 1);
  registry.Erase(kKey, "NoDialog");
  store.Load(options);
  ExpectDefaultsStored();
  ExpectDefaultsLoaded();
}

// What the setup writes on a fresh install with its box ticked: the
// defaults together with the option. The program's first load takes it as
// it stands and writes nothing, so the option stays on.
TEST_F(SettingsStoreTest, TheDefaultsWithRemovableDrivesOnLoadWithoutAWrite) {
  StoreDefaults();
  registry.PutDword(kKey, "RemovableDrives", 1);
  registry.writes.clear();
  store.Load(options);
  EXPECT_TRUE(options.RemovableDrives);
  EXPECT_EQ(DriveString(options), "A");
  EXPECT_TRUE(registry.writes.empty()) << ::testing::PrintToString(registry.writes);
  EXPECT_EQ(Data("RemovableDrives"), (Bytes{1, 0, 0, 0}));
}

TEST_F(SettingsStoreTest, ARefusedResetLeavesRemovableDrivesAsItWas) {
  registry.RefuseWrites(kKey);
  options.RemovableDrives = true;
  EXPECT_EQ(FailureOf([&] { store.Load(options); }), "Failed to set data for 'Sound'");
  EXPECT_TRUE(options.RemovableDrives);
}

}  // namespace
