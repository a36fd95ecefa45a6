// The disk check against fake drives, sounds and boxes.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/fake/FakeFiles.h"
#include "platform/fake/Fakes.h"
#include "shell/AwayReminder.h"
#include "resources/Texts.h"
#include "shell/DiskCheck.h"
#include "tests/texts/EnglishTexts.h"

namespace {

// The log is never reached in these tests: logging stays off.
class UnusedFiles : public platform::Files {
 public:
  platform::ReadResult ReadAll(const std::string&, std::string&) override {
    ADD_FAILURE() << "the log was read";
    return platform::ReadResult::Failed;
  }
  platform::ReadResult ReadSmall(const std::string&, std::size_t, std::string&) override {
    ADD_FAILURE() << "a file was read";
    return platform::ReadResult::Failed;
  }
  std::unique_ptr<platform::WritableFile> Create(const std::string&) override {
    ADD_FAILURE() << "the log was written";
    return nullptr;
  }
  std::unique_ptr<platform::WritableFile> CreateBeside(const std::string&, std::string&) override {
    ADD_FAILURE() << "the log was written";
    return nullptr;
  }
  bool Replace(const std::string&, const std::string&) override { return false; }
  bool Delete(const std::string&) override { return false; }
  bool IsReadOnly(const std::string&) override { return false; }
  std::string ApplicationDirectory() override { return "C:\\DVN\\"; }
};
class UnusedClock : public platform::Clock {
 public:
  platform::LocalTime Now() override { return {}; }
};
platform::WindowHandle const kApplicationWindow = reinterpret_cast<platform::WindowHandle>(0xA11);

class DiskCheckTest : public ::testing::Test {
 protected:
  DiskCheckTest() {
    drives.drives['A'] = {true, "MYDISK"};
    drives.drives['C'] = {true, "SYSTEM"};
    drives.drives['D'] = {false, ""};
    BuildDriveList(options, drives, shell);
    journal.clear();
  }

  void Check(bool exitRequested = false) { RunDiskCheck(options, exitRequested, context); }
  void Mark(const std::string& letters) {
    UncheckAllDrives(options);
    CheckDrivesFromString(options, letters);
  }

  platform::Journal journal;
  platform::FakeDrives drives{journal};
  platform::FakeShell shell{drives};
  platform::FakeSounds sounds{journal};
  platform::FakeUserInterface ui{journal};
  UnusedFiles files;
  UnusedClock clock;
  platform::FakeLocale locale;  // turns the labels into the warnings' UTF-8
  NotificationLog log{files, clock, locale};
  TCheckOptions options;
  platform::Journal eventJournal;
  platform::FakeEventLog events{eventJournal};
  DiskCheckContext context{drives, sounds, ui,     kApplicationWindow,
                           log,    events, EnglishTexts(), locale};
};

TEST_F(DiskCheckTest, WarnsAboutADiskInDriveAWithTheExactBox) {
  Check();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "There is still a disk with the label \"MYDISK\" in your A-drive!");
  EXPECT_EQ(ui.boxes[0].caption, "Dorvane 4.0");
  EXPECT_EQ(ui.boxes[0].flags, platform::kMbIconExclamation | platform::kMbSystemModal);
  EXPECT_EQ(ui.boxes[0].owner, kApplicationWindow);
  EXPECT_EQ(journal, (platform::Journal{"probe A:\\", "label A:\\", "box " + ui.boxes[0].text,
                                        "box closed"}));
}

// A translation puts the values in its own order; the label, bytes of the
// system's code page, goes into the UTF-8 of the shown text as the
// character it is there.
TEST_F(DiskCheckTest, TheWarningInTheUsersLanguageCarriesTheLabelAsWindowsGaveIt) {
  platform::Texts german(TextTable(), kTextCount);
  german.Translate(
      "Warning = Im Laufwerk %2: steckt noch \xE2\x80\x9E%1\xE2\x80\x9C!\n"
      "Reminder.More = Laufwerk %2: \xE2\x80\x9E%1\xE2\x80\x9C und %3 weitere.\n");
  DiskCheckContext inGerman{drives, sounds, ui, kApplicationWindow, log, events, german, locale};
  drives.drives['A'].label = "K\xC4SE";  // "KÄSE" in code page 1252
  RunDiskCheck(options, false, inGerman);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Im Laufwerk A: steckt noch \xE2\x80\x9EK\xC3\x84SE\xE2\x80\x9C!");
  EXPECT_EQ(ReminderText(german, "K\xC3\x84SE", 'A', 2),
            "Laufwerk A: \xE2\x80\x9EK\xC3\x84SE\xE2\x80\x9C und 2 weitere.");
  // A text the file lacks stands in English.
  EXPECT_EQ(ReminderText(german, "X", 'B', 1),
            "There is still a disk with the label \"X\" in your B-drive! And 1 more disk.");
}

TEST_F(DiskCheckTest, ExitRequestedTouchesNoDriveAndKeepsTheCurrentDirectory) {
  Mark("ACD");
  Check(true);
  EXPECT_TRUE(journal.empty());
  EXPECT_EQ(drives.currentDirectory, "C:\\WORK\\");
}

TEST_F(DiskCheckTest, NoCheckedDriveDoesNothing) {
  Mark("");
  Check();
  EXPECT_TRUE(journal.empty());
}

TEST_F(DiskCheckTest, ADriveWithoutMediumIsSkippedWithoutQueryingItsVolume) {
  Mark("D");
  Check();
  EXPECT_EQ(journal, (platform::Journal{"probe D:\\"}));
}

TEST_F(DiskCheckTest, ProbesLeaveTheLastReachableRootCurrent) {
  Mark("ACD");
  options.NoDialog = true;
  Check();
  EXPECT_EQ(drives.currentDirectory, "C:\\");
}

TEST_F(DiskCheckTest, TwoDisksWarnInLetterOrderAndTheSecondIsProbedAfterTheFirstBoxCloses) {
  Mark("CA");
  // The user takes the disk out of C: while the box about A: is open.
  ui.onShow = [&](const platform::ShownBox& box) {
    if (box.text.find("A-drive") != std::string::npos) drives.drives['C'].hasMedium = false;
    return platform::kIdOk;
  };
  Check();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(journal.back(), "probe C:\\");

  drives.drives['C'].hasMedium = true;
  ui.onShow = nullptr;
  journal.clear();
  Check();
  ASSERT_EQ(ui.boxes.size(), 3u);
  EXPECT_EQ(journal, (platform::Journal{"probe A:\\", "label A:\\", "box " + ui.boxes[1].text,
                                        "box closed", "probe C:\\", "label C:\\",
                                        "box " + ui.boxes[2].text, "box closed"}));
  EXPECT_NE(ui.boxes[2].text.find("\"SYSTEM\" in your C-drive!"), std::string::npos);
}

TEST_F(DiskCheckTest, AFailedVolumeQueryWarnsWithAnEmptyLabel) {
  drives.drives['A'].volumeQueryFails = true;
  Check();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "There is still a disk with the label \"\" in your A-drive!");
}

TEST_F(DiskCheckTest, AnExcludedLabelIsNotReported) {
  AddExclusion(options, "  mydisk\t");
  Check();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(journal, (platform::Journal{"probe A:\\", "label A:\\"}));
}

TEST_F(DiskCheckTest, EditsMadeWhileABoxIsOpenApplyToTheRestOfTheRun) {
  Mark("AC");
  ui.onShow = [&](const platform::ShownBox&) {
    AddExclusion(options, "SYSTEM");
    return platform::kIdOk;
  };
  Check();
  EXPECT_EQ(ui.boxes.size(), 1u);
}

struct SoundCase {
  const char* name;
  TSound sound;
  TWindowsSound windowsSound;
  const char* expected;  // the journal line of the sound, or "" for none
};

class DiskCheckSoundTest : public DiskCheckTest, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(DiskCheckSoundTest, SoundsBeforeTheBox) {
  options.Sound = GetParam().sound;
  options.WindowsSound = GetParam().windowsSound;
  options.SoundFile = "(None)";
  Check();
  platform::Journal expected{"probe A:\\", "label A:\\"};
  if (*GetParam().expected) expected.push_back(GetParam().expected);
  expected.push_back("box " + WarningText(EnglishTexts(), "MYDISK", 'A'));
  expected.push_back("box closed");
  EXPECT_EQ(journal, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sounds, DiskCheckSoundTest,
    ::testing::Values(
        SoundCase{"None", TSound::NoSound, TWindowsSound::Question, ""},
        SoundCase{"WaveFileSynchronousWithDefault", TSound::SoundFile, TWindowsSound::Error,
                  "wave (None) 0"},
        SoundCase{"Exclamation", TSound::SoundWindows, TWindowsSound::Exclamation,
                  "beep exclamation"},
        SoundCase{"Question", TSound::SoundWindows, TWindowsSound::Question, "beep question"},
        SoundCase{"Error", TSound::SoundWindows, TWindowsSound::Error, "beep hand"},
        SoundCase{"Information", TSound::SoundWindows, TWindowsSound::Information,
                  "beep asterisk"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DiskCheckTest, NoDialogWithSoundOnlySounds) {
  options.NoDialog = true;
  options.Sound = TSound::SoundWindows;
  Check();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(journal, (platform::Journal{"probe A:\\", "label A:\\", "beep exclamation"}));
}

// ---------------------------------------------------------------------------
// The removable drives' option

using platform::Journal;

// What one reported drive adds to the journal, with the box.
Journal Warned(char letter, const std::string& label) {
  const std::string root = std::string(1, letter) + ":\\";
  return {"probe " + root, "label " + root, "box " + WarningText(EnglishTexts(), label, letter), "box closed"};
}

Journal operator+(Journal a, const Journal& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class RemovableDrivesTest : public DiskCheckTest {
 protected:
  RemovableDrivesTest() {
    // A: a floppy drive, C: a hard disk, D: an empty CD drive; E: and F:
    // are plugged in later, after the list was made.
    drives.drives['A'].type = platform::kDriveRemovable;
    drives.drives['D'].type = platform::kDriveCdrom;
    options.RemovableDrives = true;
  }
  void PlugIn(char letter, const std::string& label, unsigned type = platform::kDriveRemovable) {
    platform::FakeDrive drive;
    drive.label = label;
    drive.type = type;
    drives.drives[letter] = drive;
  }
};

TEST_F(RemovableDrivesTest, WithTheOptionOffTheRunMakesTheSameCallsAsBefore) {
  PlugIn('E', "STICK");
  options.RemovableDrives = false;
  Mark("AC");
  Check();
  EXPECT_EQ(journal, Warned('A', "MYDISK") + Warned('C', "SYSTEM"));
}

TEST_F(RemovableDrivesTest, WalksTheLettersMergingTheListInLetterOrder) {
  // F: is a stick plugged in after the list was made; C: is checked in the
  // list; A: is both checked and removable.
  PlugIn('F', "STICK");
  Mark("CA");
  Check();
  const Journal expected = Journal{"drives"} + Warned('A', "MYDISK") + Journal{"drives"} +
                           Warned('C', "SYSTEM") +
                           Journal{"drives", "type D:\\", "probe D:\\", "type F:\\"} +
                           Warned('F', "STICK") + Journal{"drives"};
  EXPECT_EQ(journal, expected);
}

TEST_F(RemovableDrivesTest, EachLetterIsProbedAndWarnedAtMostOnce) {
  // Every entry of the list checked, A: and D: removable or CD as well, and
  // E: a stick that the list does not hold.
  PlugIn('E', "STICK");
  Mark("\\");
  options.NoDialog = true;
  Check();
  for (const char* root : {"A:\\", "C:\\", "D:\\", "E:\\"}) {
    EXPECT_EQ(std::count(journal.begin(), journal.end(), std::string("probe ") + root), 1) << root;
    EXPECT_EQ(std::count(journal.begin(), journal.end(), std::string("label ") + root),
              root[0] == 'D' ? 0 : 1)
        << root;
  }
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "type A:\\"), 0)
      << "a letter that the list checks needs no type";
}

TEST_F(RemovableDrivesTest, ADriveThatAppearsBetweenTwoRunsIsCheckedInTheSecond) {
  Mark("");
  drives.drives['A'].hasMedium = false;
  Check();
  EXPECT_TRUE(ui.boxes.empty());
  PlugIn('G', "LATE");
  journal.clear();
  Check();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, WarningText(EnglishTexts(), "LATE", 'G'));
  // The letters and the types are asked anew at each run.
  EXPECT_EQ(journal, (Journal{"drives", "type A:\\", "probe A:\\", "type C:\\", "type D:\\",
                              "probe D:\\", "type G:\\"} +
                      Warned('G', "LATE") + Journal{"drives"}));
}

TEST_F(RemovableDrivesTest, AStickPluggedInWhileABoxIsOpenIsCheckedInTheSameRun) {
  Mark("");
  ui.onShow = [&](const platform::ShownBox&) {
    if (drives.drives.count('H') == 0) PlugIn('H', "WHILEOPEN");
    return platform::kIdOk;
  };
  Check();
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, WarningText(EnglishTexts(), "MYDISK", 'A'));
  EXPECT_EQ(ui.boxes[1].text, WarningText(EnglishTexts(), "WHILEOPEN", 'H'));
}

TEST_F(RemovableDrivesTest, AnExcludedLabelOnAStickStaysSilent) {
  PlugIn('E', "BACKUP");
  AddExclusion(options, "backup");
  Mark("");
  drives.drives['A'].hasMedium = false;
  options.Sound = TSound::SoundWindows;
  Check();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "beep exclamation"), 0);
  EXPECT_EQ(journal.back(), "label E:\\");
}

TEST_F(RemovableDrivesTest, AnEmptyCdDriveIsProbedOnceAndSkipped) {
  Mark("");
  drives.drives['A'].hasMedium = false;
  Check();
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(journal, (Journal{"drives", "type A:\\", "probe A:\\", "type C:\\", "type D:\\",
                              "probe D:\\"}));
}

struct TypeCase {
  const char* name;
  unsigned type;
  bool checked;
};

class RemovableDriveTypeTest : public RemovableDrivesTest,
                               public ::testing::WithParamInterface<TypeCase> {};

TEST_P(RemovableDriveTypeTest, OnlyRemovableAndCdDrivesAreAdded) {
  Mark("");
  drives.drives['A'].hasMedium = false;
  PlugIn('K', "MEDIUM", GetParam().type);
  Check();
  EXPECT_EQ(ui.boxes.size(), GetParam().checked ? 1u : 0u);
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "probe K:\\"), GetParam().checked ? 1 : 0);
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "type K:\\"), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Types, RemovableDriveTypeTest,
    ::testing::Values(TypeCase{"Removable", platform::kDriveRemovable, true},
                      TypeCase{"Cdrom", platform::kDriveCdrom, true},
                      TypeCase{"FixedAsAUsbHardDisk", platform::kDriveFixed, false},
                      TypeCase{"Remote", platform::kDriveRemote, false},
                      TypeCase{"RamDisk", platform::kDriveRamDisk, false},
                      TypeCase{"Unknown", platform::kDriveUnknown, false},
                      TypeCase{"NoRootDir", platform::kDriveNoRootDir, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A fixed drive, such as a USB hard disk that Windows reports as fixed, is
// still checked when the list checks it.
TEST_F(RemovableDrivesTest, AFixedDriveIsCheckedWhenTheListChecksIt) {
  Mark("C");
  drives.drives['A'].hasMedium = false;
  Check();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, WarningText(EnglishTexts(), "SYSTEM", 'C'));
}

// ---------------------------------------------------------------------------
// The reminder when the computer is locked or goes to sleep

platform::WindowHandle const kMainWindow = reinterpret_cast<platform::WindowHandle>(0x5A1);

struct AwayCase {
  const char* name;
  std::function<void(TCheckOptions&, platform::FakeDrives&, platform::FakeShell&)> arrange;
  // What reaches the user: the journal without the probes and queries.
  Journal expected;
};

class AwayReminderTest : public DiskCheckTest, public ::testing::WithParamInterface<AwayCase> {
 protected:
  AwayReminderTest() {
    options.RemindWhenAway = true;
    // Logging and the box are on: the reminder must use neither (the
    // files fail the test if the log is touched).
    options.Logging = true;
    options.LogFile = "C:\\DVN\\dvn.dvl";
    shell.journal = &journal;
    shell.icons.insert({kMainWindow, 1});
    icon.window = kMainWindow;
    icon.id = 1;
  }
  platform::NotifyIconRecord icon;
};

TEST_P(AwayReminderTest, OneSoundAndOneBalloonForTheMediaFound) {
  GetParam().arrange(options, drives, shell);
  RunAwayReminder(options, context, shell, icon);
  Journal reached;
  for (const std::string& line : journal) {
    if (line.rfind("probe ", 0) != 0 && line.rfind("label ", 0) != 0 &&
        line.rfind("type ", 0) != 0 && line != "drives") {
      reached.push_back(line);
    }
  }
  EXPECT_EQ(reached, GetParam().expected);
  EXPECT_TRUE(ui.boxes.empty());
  // Whatever the walk found, the process's current directory is back where
  // it was: none of the drives it probed is held.
  EXPECT_EQ(drives.currentDirectory, "C:\\WORK\\");
}

const std::string kBalloonA = "icon balloon Dorvane 4.0: " + WarningText(EnglishTexts(), "MYDISK", 'A');

INSTANTIATE_TEST_SUITE_P(
    Cases, AwayReminderTest,
    ::testing::Values(
        AwayCase{"ADiskWithNoSoundChosenSoundsTheExclamation",
                 [](auto&, auto&, auto&) {}, {"beep exclamation", kBalloonA}},
        AwayCase{"TheChosenSystemSound",
                 [](auto& o, auto&, auto&) {
                   o.Sound = TSound::SoundWindows;
                   o.WindowsSound = TWindowsSound::Question;
                 },
                 {"beep question", kBalloonA}},
        AwayCase{"TheChosenFilePlaysWithoutWaiting",
                 [](auto& o, auto&, auto&) {
                   o.Sound = TSound::SoundFile;
                   o.SoundFile = "C:\\ding.wav";
                 },
                 {"wave C:\\ding.wav 1", kBalloonA}},
        AwayCase{"NoMedium", [](auto&, auto& d, auto&) { d.drives['A'].hasMedium = false; }, {}},
        AwayCase{"AnExcludedLabel", [](auto& o, auto&, auto&) { AddExclusion(o, " mydisk"); },
                 {}},
        AwayCase{"TheOptionOff", [](auto& o, auto&, auto&) { o.RemindWhenAway = false; }, {}},
        AwayCase{"TwoDisksOneReminderNamingTheFirst",
                 [](auto& o, auto&, auto&) { CheckDrivesFromString(o, "C"); },
                 {"beep exclamation", kBalloonA + " And 1 more disk."}},
        AwayCase{"TheRemovableDrivesOptionAddsAStick",
                 [](auto& o, auto& d, auto&) {
                   o.RemovableDrives = true;
                   CheckDrivesFromString(o, "C");
                   d.drives['E'] = {true, "STICK", false, 0, platform::kDriveRemovable};
                 },
                 {"beep exclamation", kBalloonA + " And 2 more disks."}},
        AwayCase{"NoIconYetTheSoundAlone",
                 [](auto&, auto&, auto& s) { s.icons.clear(); },
                 {"beep exclamation", kBalloonA + " refused"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReminderTextTest, CountsTheOtherDisksUpToTwentyFive) {
  EXPECT_EQ(ReminderText(EnglishTexts(), "", 'B', 0),
            "There is still a disk with the label \"\" in your B-drive!");
  EXPECT_EQ(ReminderText(EnglishTexts(), "X", 'A', 25),
            "There is still a disk with the label \"X\" in your A-drive! And 25 more disks.");
}

struct LabelCase {
  const char* name;
  std::vector<std::string> exclusions;
  const char* label;
  bool notExcluded;
};

class LabelNotExcludedTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelNotExcludedTest, ComparesFoldedAndTrimmed) {
  EXPECT_EQ(LabelNotExcluded(GetParam().exclusions, GetParam().label), GetParam().notExcluded);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, LabelNotExcludedTest,
    ::testing::Values(
        LabelCase{"EmptyListExcludesNothing", {}, "", true},
        LabelCase{"ExactMatch", {"BACKUP"}, "BACKUP", false},
        LabelCase{"CaseOfAToZIgnored", {"backup"}, "BaCkUp", false},
        LabelCase{"BlanksAndControlsAtTheEndsIgnored", {" \t\x01" "BACKUP\x1f "}, "\nBACKUP", false},
        LabelCase{"InnerBlanksCount", {"BACK UP"}, "BACKUP", true},
        LabelCase{"BlankOnlyExclusionMatchesAnUnlabelledDisk", {"   "}, "", false},
        LabelCase{"EmptyExclusionMatchesAnUnlabelledDisk", {""}, "", false},
        LabelCase{"AccentedLettersAreNotFolded", {"\xe9t\xe9"}, "\xc9T\xc9", true},
        LabelCase{"SameAccentedBytesMatch", {"\xe9t\xe9"}, "\xe9T\xe9", false},
        LabelCase{"ByteAboveBlankIsNotTrimmed", {"DISK\xa0"}, "DISK", true},
        LabelCase{"AnyElementMatches", {"A", "B", "DATA"}, "data", false},
        LabelCase{"PrefixIsNoMatch", {"DAT"}, "DATA", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
