// The drive list, the drive string and how a stored string selects drives.

#include <gtest/gtest.h>

#include "platform/fake/Fakes.h"
#include "settings/CheckOptions.h"

namespace {

class DriveListTest : public ::testing::Test {
 protected:
  void Build(std::initializer_list<char> letters) {
    for (char letter : letters) drives.drives[letter].iconIndex = 100 + (letter - 'A');
    imageList = BuildDriveList(options, drives, shell);
  }
  std::vector<bool> Marks() const {
    std::vector<bool> marks;
    for (const auto& entry : options.Drives) marks.push_back(entry.Checked);
    return marks;
  }

  platform::Journal journal;
  platform::FakeDrives drives{journal};
  platform::FakeShell shell{drives};
  TCheckOptions options;
  platform::ImageListHandle imageList = nullptr;
};

// The settings dialog makes the entries at start and asks for the icons
// only when it is first shown: the entries alone ask the shell nothing.
TEST_F(DriveListTest, TheEntriesNeedNoIconsAndTheIconsComeLater) {
  for (char letter : {'A', 'C'}) drives.drives[letter].iconIndex = 100 + (letter - 'A');
  BuildDriveEntries(options, drives);
  ASSERT_EQ(options.Drives.size(), 2u);
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false}));
  EXPECT_EQ(options.Drives[1].ImageIndex, 0);
  EXPECT_TRUE(shell.iconQueries.empty());

  EXPECT_EQ(AssignDriveIcons(options, shell), shell.imageList);
  EXPECT_EQ(options.Drives[0].ImageIndex, 100);
  EXPECT_EQ(options.Drives[1].ImageIndex, 102);
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false})) << "the check marks stay";
}

TEST_F(DriveListTest, HoldsEachExistingDriveInLetterOrderWithOnlyACheckedAndItsIcon) {
  Build({'Z', 'C', 'A', 'D'});
  ASSERT_EQ(options.Drives.size(), 4u);
  EXPECT_EQ(options.Drives[0].Caption, " A:\\");
  EXPECT_EQ(options.Drives[1].Caption, " C:\\");
  EXPECT_EQ(options.Drives[3].Caption, " Z:\\");
  EXPECT_EQ(Marks(), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(options.Drives[3].ImageIndex, 125);
  EXPECT_EQ(options.Drives[3].Letter(), 'Z');
  EXPECT_EQ(options.Drives[3].RootPath(), "Z:\\");
  // The icon of each drive is asked for by its root path, not its caption.
  EXPECT_EQ(shell.iconQueries, (std::vector<std::string>{"A:\\", "C:\\", "D:\\", "Z:\\"}));
  EXPECT_EQ(imageList, shell.imageList);
}

TEST_F(DriveListTest, AMachineWithoutDriveAStartsWithNothingChecked) {
  Build({'C', 'D'});
  EXPECT_EQ(Marks(), (std::vector<bool>{false, false}));
  UncheckAllDrives(options);
  CheckDrivesFromString(options, "A");
  EXPECT_EQ(DriveString(options), "");
}

TEST_F(DriveListTest, NoShellImageListLeavesTheEntriesWithoutIcons) {
  shell.imageList = nullptr;
  Build({'A'});
  EXPECT_EQ(imageList, nullptr);
  EXPECT_EQ(options.Drives.size(), 1u);
}

struct SelectionCase {
  const char* name;
  const char* stored;
  const char* expected;  // the drive string after unchecking and selecting
};

class DriveSelectionTest : public DriveListTest,
                           public ::testing::WithParamInterface<SelectionCase> {};

TEST_P(DriveSelectionTest, SelectsTheDrivesAStoredStringNames) {
  Build({'A', 'C', 'D', 'E'});
  UncheckAllDrives(options);
  CheckDrivesFromString(options, GetParam().stored);
  EXPECT_EQ(DriveString(options), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    StoredStrings, DriveSelectionTest,
    ::testing::Values(SelectionCase{"Empty", "", ""},
                      SelectionCase{"OneLetter", "C", "C"},
                      SelectionCase{"OutOfOrderAndRepeated", "EAEA", "AE"},
                      SelectionCase{"LetterOfAMissingDrive", "B", ""},
                      SelectionCase{"LowerCaseSelectsNothing", "a", ""},
                      SelectionCase{"DigitSelectsNothing", "1", ""},
                      SelectionCase{"BlankSelectsEveryDrive", " ", "ACDE"},
                      SelectionCase{"ColonSelectsEveryDrive", ":", "ACDE"},
                      SelectionCase{"BackslashSelectsEveryDrive", "\\", "ACDE"},
                      SelectionCase{"LetterAmongOthers", "xDy", "D"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DriveListTest, SelectingNeverClearsAMark) {
  Build({'A', 'C'});
  CheckDrivesFromString(options, "C");
  EXPECT_EQ(DriveString(options), "AC");
}

TEST(ExclusionListTest, KeepsLabelsSortedAndDuplicatesTwice) {
  TCheckOptions options;
  for (const char* label : {"work", "BACKUP", "Archive", "work"}) AddExclusion(options, label);
  EXPECT_EQ(options.Exclusions,
            (std::vector<std::string>{"Archive", "BACKUP", "work", "work"}));
}

}  // namespace
