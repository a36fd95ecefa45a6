// Drives and volumes under the real system. The test run maps drive M: to
// a folder labelled "WINTEST" and N: to a folder that does not exist (see
// scripts/test-all.sh), as a drive with and without a medium; R: is a
// floppy drive holding a disk labelled "WINFLOPPY" and S: a CD drive
// without a disc, as Wine's drive settings make them.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/fake/FakeFiles.h"
#include "platform/fake/Fakes.h"
#include "platform/win32/Win32Services.h"
#include "shell/DiskCheck.h"
#include "tests/texts/EnglishTexts.h"

namespace {

TEST(Win32DrivesTest, ReportsMappedDrivesAndProbesTheirMedium) {
  platform::Win32Drives drives;
  const std::uint32_t mask = drives.LogicalDrives();
  EXPECT_NE(mask & (1u << ('M' - 'A')), 0u);
  EXPECT_NE(mask & (1u << ('N' - 'A')), 0u) << "a drive without medium still exists";

  ASSERT_TRUE(drives.ChangeDirectory("M:\\"));
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STREQ(current, "M:\\");

  EXPECT_FALSE(drives.ChangeDirectory("N:\\"));
  ::GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STREQ(current, "M:\\") << "a failed probe leaves the directory as it was";
}

TEST(Win32DrivesTest, ReadsTheVolumeLabelAndKeepsTheTextWhenTheQueryFails) {
  platform::Win32Drives drives;
  std::string label = "unchanged";
  ASSERT_TRUE(drives.VolumeLabel("M:\\", label));
  EXPECT_EQ(label, "WINTEST");

  // Wine answers the query for a drive whose folder is gone (with an empty
  // label), so a failing query is made with a letter that is not mapped.
  label = "unchanged";
  EXPECT_FALSE(drives.VolumeLabel("Q:\\", label));
  EXPECT_EQ(label, "unchanged");
}

TEST(Win32DrivesTest, TellsFloppyAndCdDrivesFromHardDisks) {
  platform::Win32Drives drives;
  EXPECT_EQ(drives.DriveType("R:\\"), platform::kDriveRemovable);
  EXPECT_EQ(drives.DriveType("S:\\"), platform::kDriveCdrom);
  EXPECT_EQ(drives.DriveType("M:\\"), platform::kDriveFixed);
  EXPECT_EQ(drives.DriveType("C:\\"), platform::kDriveFixed);
  EXPECT_EQ(drives.DriveType("Q:\\"), platform::kDriveNoRootDir) << "a letter without a drive";
  // Asking the type touches no medium: the empty CD drive answers as well,
  // and the current directory stays.
  ASSERT_TRUE(drives.ChangeDirectory("M:\\"));
  EXPECT_EQ(drives.DriveType("S:\\"), platform::kDriveCdrom);
  char current[MAX_PATH] = {};
  ::GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STREQ(current, "M:\\");
}

// The check on the real drives: the floppy drive R:, which the list does
// not check, is reported; the empty CD drive S: is probed and passed over.
TEST(Win32DrivesTest, TheCheckFindsTheFloppyAndPassesOverTheEmptyCdDrive) {
  platform::Journal journal;
  platform::Win32Drives drives;
  platform::FakeSounds sounds{journal};
  platform::FakeUserInterface ui{journal};
  platform::FakeFiles files{journal};
  platform::FakeClock clock;
  platform::FakeLocale locale;
  NotificationLog log{files, clock, locale};
  platform::FakeEventLog events{journal};
  DiskCheckContext context{drives, sounds, ui, nullptr, log, events, EnglishTexts(), locale};
  TCheckOptions options;
  BuildDriveEntries(options, drives);
  UncheckAllDrives(options);
  CheckDrivesFromString(options, "M");

  RunDiskCheck(options, false, context);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, WarningText(EnglishTexts(), "WINTEST", 'M'));

  options.RemovableDrives = true;
  ui.boxes.clear();
  RunDiskCheck(options, false, context);
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[0].text, WarningText(EnglishTexts(), "WINTEST", 'M'));
  EXPECT_EQ(ui.boxes[1].text, WarningText(EnglishTexts(), "WINFLOPPY", 'R'));
}

TEST(Win32ShellTest, GivesTheSharedSmallIconListAndDriveIcons) {
  platform::Win32Shell shell;
  platform::ImageListHandle list = shell.SystemSmallImageList();
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(shell.SystemSmallImageList(), list) << "the system list is one shared list";
  EXPECT_GE(shell.SystemIconIndex("C:\\"), 0);
}

TEST(Win32ProcessTest, ErrorModeOfATestProcessIsUntouchedByTheWrappers) {
  // The wrappers never change the error mode; only the program's start does.
  UINT before = ::SetErrorMode(0);
  ::SetErrorMode(before);
  platform::Win32Drives drives;
  drives.ChangeDirectory("N:\\");
  UINT after = ::SetErrorMode(0);
  ::SetErrorMode(after);
  EXPECT_EQ(before, after);
}

}  // namespace
