// Group Policy's options over the stored ones, against two in-memory
// registries: the computer's (HKEY_LOCAL_MACHINE) and the user's
// (HKEY_CURRENT_USER).

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/fake/FakeRegistry.h"
#include "platform/fake/Fakes.h"
#include "settings/Policies.h"
#include "settings/SettingsStore.h"

namespace {

using platform::FakeRegistry;
using Strings = std::vector<std::string>;

const std::string kPolicy = "SOFTWARE\\Policies\\Kestrome\\Dorvane\\4.0";
const std::string kPolicyLabels = kPolicy + "\\Exclusions";
// Where a 32-bit tool's writes to the policy key land on 64-bit Windows
// that redirects it; Group Policy never writes there.
const std::string kRedirectedPolicy = "SOFTWARE\\WOW6432Node\\Policies\\Kestrome\\Dorvane\\4.0";
const std::string kKey = "SOFTWARE\\Kestrome\\Dorvane\\4.0";
const std::string kDefaultLog = "C:\\DVN\\dvn.dvl";

// The user's stored settings: a drive, a sound file, a log, no labels.
void StoreSettings(FakeRegistry& registry, const std::string& key, const std::string& drives) {
  registry.PutText(key, "Sound", "SoundFile");
  registry.PutText(key, "SoundFile", "C:\\ding.wav");
  registry.PutText(key, "WindowsSound", "Question");
  registry.PutDword(key, "Logging", 1);
  registry.PutText(key, "LogFile", "C:\\mine.dvl");
  registry.PutDword(key, "NoDialog", 0);
  registry.PutText(key, "Drives", drives);
  registry.AddKey(key + "\\Exclusions");
}

class PoliciesTest : public ::testing::Test {
 protected:
  PoliciesTest() {
    for (char letter : {'A', 'B', 'C'}) {
      options.Drives.push_back({std::string(" ") + letter + ":\\", letter == 'A', 0});
    }
    StoreSettings(machine, kKey, "A");
  }

  // What the settings dialog does at start and at each close.
  void Load() {
    overlay.Withdraw(options);
    store.Load(options);
    overlay.Loaded(options);
  }

  FakeRegistry machine;
  FakeRegistry user;
  platform::Journal events;
  platform::FakeEventLog eventLog{events};
  SettingsStore store{machine, kDefaultLog, eventLog};
  PolicyOverlay overlay{machine, user, eventLog, store.DefaultLogFile()};
  TCheckOptions options;
};

// ---------------------------------------------------------------------------
// Stored value, computer policy, user policy: the option in force

struct InForceCase {
  const char* name;
  std::function<void(FakeRegistry& machine, FakeRegistry& user)> policies;
  TOptionSet set;
  std::function<std::string(const TCheckOptions&)> option;  // what the case looks at
  std::string inForce;
  Strings ignored;  // the values that event 1002 names
};

std::string Drives(const TCheckOptions& o) { return DriveString(o); }
std::string NoDialog(const TCheckOptions& o) { return o.NoDialog ? "on" : "off"; }
std::string LogFile(const TCheckOptions& o) { return o.LogFile; }
std::string SoundFile(const TCheckOptions& o) { return o.SoundFile; }
std::string Sounds(const TCheckOptions& o) {
  return std::to_string(static_cast<int>(o.Sound)) + "/" +
         std::to_string(static_cast<int>(o.WindowsSound));
}
std::string Labels(const TCheckOptions& o) {
  std::string text;
  for (const std::string& label : o.Exclusions) text += label + ";";
  return text;
}
std::string Ignored(const char* root, const char* name) {
  return std::string("event 1002 warning Invalid policy value '") + root + "\\" + kPolicy + "\\" +
         name + "'|It is ignored, as if it were not set.";
}

class InForceTest : public PoliciesTest, public ::testing::WithParamInterface<InForceCase> {};

TEST_P(InForceTest, TheComputersValidValueWinsThenTheUsersThenTheStoredOne) {
  const InForceCase& c = GetParam();
  c.policies(machine, user);
  Load();
  EXPECT_EQ(overlay.Managed(), c.set);
  EXPECT_EQ(c.option(options), c.inForce);
  Strings reported;
  for (const std::string& event : events) {
    if (event.rfind("event 1002", 0) == 0) reported.push_back(event);
  }
  EXPECT_EQ(reported, c.ignored);
  // Only read: nothing written to a policy key, and the store as it was.
  EXPECT_TRUE(machine.writes.empty()) << machine.writes.front();
  EXPECT_TRUE(user.writes.empty());
}

const char kHKLM[] = "HKEY_LOCAL_MACHINE";
const char kHKCU[] = "HKEY_CURRENT_USER";

INSTANTIATE_TEST_SUITE_P(
    Options, InForceTest,
    ::testing::Values(
        InForceCase{"NoPolicy", [](FakeRegistry&, FakeRegistry&) {}, 0, Drives, "A", {}},
        InForceCase{"ComputerDrives",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutText(kPolicy, "Drives", "B"); },
                    kOptionDrives, Drives, "B", {}},
        InForceCase{"UserDrives",
                    [](FakeRegistry&, FakeRegistry& u) { u.PutText(kPolicy, "Drives", "BC"); },
                    kOptionDrives, Drives, "BC", {}},
        InForceCase{"BothTheComputerWins",
                    [](FakeRegistry& m, FakeRegistry& u) {
                      m.PutText(kPolicy, "Drives", "B");
                      u.PutText(kPolicy, "Drives", "C");
                    },
                    kOptionDrives, Drives, "B", {}},
        InForceCase{"AWrongComputerValueLeavesTheUsers",
                    [](FakeRegistry& m, FakeRegistry& u) {
                      m.PutDword(kPolicy, "Drives", 2);
                      u.PutText(kPolicy, "Drives", "C");
                    },
                    kOptionDrives, Drives, "C", {Ignored(kHKLM, "Drives")}},
        InForceCase{"DriveLettersInLowerCase",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutText(kPolicy, "Drives", "bc"); },
                    kOptionDrives, Drives, "BC", {}},
        InForceCase{"NoDriveByItsLetter",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutText(kPolicy, "Drives", ""); },
                    kOptionDrives, Drives, "", {}},
        InForceCase{"ADriveWithItsColonIsNoDriveString",
                    [](FakeRegistry&, FakeRegistry& u) { u.PutText(kPolicy, "Drives", "B:"); },
                    0, Drives, "A", {Ignored(kHKCU, "Drives")}},
        InForceCase{"AFlag", [](FakeRegistry& m,
                                FakeRegistry&) { m.PutDword(kPolicy, "NoDialog", 1); },
                    kOptionNoDialog, NoDialog, "on", {}},
        InForceCase{"AFlagOfTwoBytes",
                    [](FakeRegistry& m, FakeRegistry&) {
                      m.Put(kPolicy, "NoDialog", platform::kRegDword, {1, 0});
                    },
                    kOptionNoDialog, NoDialog, "on", {}},
        InForceCase{"AFlagOfTwoIsNoChoice",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutDword(kPolicy, "NoDialog", 2); },
                    0, NoDialog, "off", {Ignored(kHKLM, "NoDialog")}},
        InForceCase{"AFlagAsText",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutText(kPolicy, "NoDialog", "1"); },
                    0, NoDialog, "off", {Ignored(kHKLM, "NoDialog")}},
        InForceCase{"ALogFile",
                    [](FakeRegistry& m, FakeRegistry&) {
                      m.PutText(kPolicy, "LogFile", "\\\\server\\logs\\dvn.dvl");
                    },
                    kOptionLogFile, LogFile, "\\\\server\\logs\\dvn.dvl", {}},
        InForceCase{"AnEmptyLogFileIsTheDefault",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutText(kPolicy, "LogFile", ""); },
                    kOptionLogFile, LogFile, kDefaultLog, {}},
        InForceCase{"AnEmptySoundFileIsNone",
                    [](FakeRegistry&, FakeRegistry& u) { u.PutText(kPolicy, "SoundFile", ""); },
                    kOptionSoundFile, SoundFile, "(None)", {}},
        InForceCase{"AnExpandableLogFileIsRefused",
                    [](FakeRegistry& m, FakeRegistry&) {
                      m.PutText(kPolicy, "LogFile", "%TEMP%\\dvn.dvl", platform::kRegExpandSz);
                    },
                    0, LogFile, "C:\\mine.dvl", {Ignored(kHKLM, "LogFile")}},
        InForceCase{"APathLongerThanWindowsOpens",
                    [](FakeRegistry& m, FakeRegistry&) {
                      m.PutText(kPolicy, "LogFile", "C:\\" + std::string(257, 'x'));
                    },
                    0, LogFile, "C:\\mine.dvl", {Ignored(kHKLM, "LogFile")}},
        InForceCase{"TheSoundWords",
                    [](FakeRegistry& m, FakeRegistry& u) {
                      m.PutText(kPolicy, "Sound", "SoundWindows");
                      u.PutText(kPolicy, "WindowsSound", "Error");
                    },
                    kOptionSound | kOptionWindowsSound, Sounds, "2/2", {}},
        InForceCase{"AWordInAnotherCase",
                    [](FakeRegistry& m, FakeRegistry&) { m.PutText(kPolicy, "Sound", "nosound"); },
                    0, Sounds, "1/1", {Ignored(kHKLM, "Sound")}},
        InForceCase{"TheLabels",
                    [](FakeRegistry& m, FakeRegistry& u) {
                      m.PutDword(kPolicy, "Exclusions", 1);
                      m.PutText(kPolicyLabels, "SYSTEM", "SYSTEM");
                      m.PutText(kPolicyLabels, "BACKUP", "BACKUP");
                      u.PutDword(kPolicy, "Exclusions", 1);
                      u.PutText(kPolicyLabels, "USER", "USER");
                    },
                    kOptionExclusions, Labels, "BACKUP;SYSTEM;", {}},
        InForceCase{"TheUsersLabels",
                    [](FakeRegistry& m, FakeRegistry& u) {
                      m.PutText(kPolicyLabels, "LEFT", "LEFT");
                      u.PutDword(kPolicy, "Exclusions", 1);
                      u.PutText(kPolicyLabels, "USER", "USER");
                    },
                    kOptionExclusions, Labels, "USER;", {}},
        InForceCase{"DisabledLeavesNoLabelOut",
                    [](FakeRegistry& m, FakeRegistry&) {
                      m.PutDword(kPolicy, "Exclusions", 0);
                      m.PutText(kPolicyLabels, "LEFT", "LEFT");
                    },
                    kOptionExclusions, Labels, "", {}},
        // A 32-bit program on 64-bit Windows: its own settings are under
        // WOW6432Node, Group Policy's values where Group Policy writes them.
        InForceCase{"TheViewGroupPolicyWrites",
                    [](FakeRegistry& m, FakeRegistry&) {
                      m.redirectsSoftware = true;
                      StoreSettings(m, "SOFTWARE\\WOW6432Node\\Kestrome\\Dorvane\\4.0", "C");
                      m.PutText(kRedirectedPolicy, "Drives", "C");
                      m.PutText(kPolicy, "Drives", "B");
                    },
                    kOptionDrives, Drives, "B", {}}),
    [](const ::testing::TestParamInfo<InForceCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------
// The stored settings stay the user's

TEST_F(PoliciesTest, OkLeavesTheManagedStoredValuesAndTheRemovedPolicyGivesThemBack) {
  machine.PutText(kPolicy, "Drives", "B");
  machine.PutDword(kPolicy, "RemovableDrives", 0);
  machine.PutDword(kPolicy, "Exclusions", 1);
  machine.PutText(kPolicyLabels, "POLICY", "POLICY");
  Load();
  ASSERT_EQ(DriveString(options), "B");
  // The user changes what is still theirs, and presses OK.
  options.Logging = false;
  options.NoDialog = true;
  machine.writes.clear();
  store.Save(options, overlay.Managed());
  EXPECT_EQ(machine.writes, (Strings{"set Sound", "set SoundFile", "set NoDialog", "set Logging",
                                     "set LogFile", "set WindowsSound", "set RemindWhenAway"}));
  EXPECT_EQ(machine.Value(kKey, "Drives")->data, (std::vector<std::uint8_t>{'A', 0}));
  EXPECT_EQ(machine.ValueNames(kKey + "\\Exclusions"), Strings{});
  EXPECT_FALSE(machine.Value(kKey, "RemovableDrives").has_value());

  // Group Policy takes the policies away; an unsaved edit stays.
  options.RemindWhenAway = true;
  machine.Erase(kPolicy, "Drives");
  machine.Erase(kPolicy, "RemovableDrives");
  machine.Erase(kPolicy, "Exclusions");
  EXPECT_EQ(overlay.Refresh(options), kOptionDrives | kOptionRemovableDrives | kOptionExclusions);
  EXPECT_EQ(overlay.Managed(), 0u);
  EXPECT_EQ(DriveString(options), "A");
  EXPECT_TRUE(options.Exclusions.empty());
  EXPECT_TRUE(options.RemindWhenAway);
  EXPECT_TRUE(options.NoDialog);
}

TEST_F(PoliciesTest, ARepairCausedByTheStoreWritesTheUsersLabelsNeverThePolicys) {
  machine.PutText(kKey + "\\Exclusions", "MINE", "MINE");
  machine.PutDword(kPolicy, "Exclusions", 1);
  machine.PutText(kPolicyLabels, "POLICY", "POLICY");
  machine.PutDword(kPolicy, "Logging", 0);
  Load();
  ASSERT_EQ(Labels(options), "POLICY;");
  ASSERT_EQ(events, Strings{});

  machine.Erase(kKey, "NoDialog");
  Load();
  EXPECT_EQ(machine.ValueNames(kKey + "\\Exclusions"), Strings{"MINE"});
  EXPECT_EQ(Labels(options), "POLICY;");
  EXPECT_FALSE(options.Logging);
  // The repair's defaults, under the policy's labels and logging.
  EXPECT_EQ(machine.Value(kKey, "Logging")->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(DriveString(options), "A");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].rfind("event 1002 warning Failed to get data for 'NoDialog'", 0), 0u);
}

TEST_F(PoliciesTest, AWrongValueIsReportedOnceUntilItIsMended) {
  machine.PutText(kPolicy, "Logging", "yes");
  Load();
  overlay.Refresh(options);
  Load();
  EXPECT_EQ(events, Strings{Ignored(kHKLM, "Logging")});
  machine.PutDword(kPolicy, "Logging", 0);
  overlay.Refresh(options);
  EXPECT_FALSE(options.Logging);
  machine.PutText(kPolicy, "Logging", "yes");
  overlay.Refresh(options);
  EXPECT_EQ(events, (Strings{Ignored(kHKLM, "Logging"), Ignored(kHKLM, "Logging")}));
  EXPECT_TRUE(options.Logging) << "the stored value again";
}

// The language a policy chooses, which the start reads once.
TEST(PolicyLanguageTest, TheComputersTagWinsThenTheUsersAndAnythingElseIsReported) {
  struct Case {
    const char* name;
    std::function<void(FakeRegistry& machine, FakeRegistry& user)> policies;
    bool chosen;
    std::string language;
    Strings reported;
  };
  const Case cases[] = {
      {"none", [](FakeRegistry& m, FakeRegistry&) { m.PutText(kKey, "Language", "fr"); }, false,
       "", {}},
      {"both", [](FakeRegistry& m, FakeRegistry& u) {
         m.PutText(kPolicy, "Language", "de");
         u.PutText(kPolicy, "Language", "fr");
       }, true, "de", {}},
      {"user", [](FakeRegistry&, FakeRegistry& u) { u.PutText(kPolicy, "Language", "pl-PL"); },
       true, "pl-PL", {}},
      {"empty: Windows decides",
       [](FakeRegistry& m, FakeRegistry& u) {
         m.PutText(kPolicy, "Language", "");
         u.PutText(kPolicy, "Language", "fr");
       }, true, "", {}},
      {"a number", [](FakeRegistry& m, FakeRegistry& u) {
         m.PutDword(kPolicy, "Language", 7);
         u.PutText(kPolicy, "Language", "es");
       }, true, "es", {Ignored(kHKLM, "Language")}},
      {"a path, which is no tag", [](FakeRegistry&, FakeRegistry& u) {
         u.PutText(kPolicy, "Language", "..\\de");
       }, false, "", {Ignored(kHKCU, "Language")}},
  };
  for (const Case& c : cases) {
    FakeRegistry machine;
    FakeRegistry user;
    platform::Journal events;
    platform::FakeEventLog eventLog{events};
    c.policies(machine, user);
    std::string language = "unchanged";
    EXPECT_EQ(PolicyLanguage(machine, user, eventLog, language), c.chosen) << c.name;
    EXPECT_EQ(language, c.chosen ? c.language : "unchanged") << c.name;
    EXPECT_EQ(events, c.reported) << c.name;
  }
}

}  // namespace
