// The check of removable and CD drives at the end of the session. The
// test run makes E: a floppy-type drive, as Windows reports a USB stick or
// a card reader, holding a medium labelled STICK, and H: a CD drive holding
// a disc labelled DISC; A: holds MYDISK. The stored drive string names A:
// only.

#include <gtest/gtest.h>

#include "tests/e2e/Driver.h"

namespace {

// A value the program never reads: only a reset deletes it.
const char kMarker[] = "LeftByAnotherProgram";

std::string Warning(const std::string& label, char letter) {
  return "There is still a disk with the label \"" + label + "\" in your " +
         std::string(1, letter) + "-drive!";
}

class RemovableDrivesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    for (char letter : {'a', 'e', 'h'}) e2e::InsertMedium(letter);
    // A whole store as a save leaves it: the warning box on, drive A: only.
    e2e::StoreWarningOnly("A");
    e2e::SetSettingString(kMarker, "kept unless the store is reset");
  }
  void TearDown() override {
    program.Kill();
    for (char letter : {'a', 'e', 'h'}) e2e::InsertMedium(letter);
  }

  std::vector<std::string> EndOfSessionBoxes() {
    program.Start();
    const e2e::SessionEndReply reply = e2e::AskEndOfSession(program, 120000);
    EXPECT_TRUE(reply.answered);
    EXPECT_EQ(reply.answer, 1);
    return reply.boxes;
  }

  static void ExpectNoReset() {
    EXPECT_EQ(e2e::SettingString(kMarker), "kept unless the store is reset");
    EXPECT_EQ(e2e::SettingString("Drives"), "A");
  }

  e2e::Program program;
};

TEST_F(RemovableDrivesTest, WithTheOptionTheStickAndTheDiscWarnAfterAInLetterOrder) {
  e2e::SetSettingDword("RemovableDrives", 1);
  EXPECT_EQ(EndOfSessionBoxes(), (std::vector<std::string>{
                                     Warning("MYDISK", 'A'), Warning("STICK", 'E'),
                                     Warning("DISC", 'H')}));
  ExpectNoReset();
  EXPECT_EQ(e2e::SettingDword("RemovableDrives"), 1u);
}

// Off, missing, or of another type: the check is the one of the drive
// string alone, and the store is not reset.
TEST_F(RemovableDrivesTest, WithoutTheOptionOnlyAWarns) {
  const struct {
    const char* name;
    std::function<void()> store;
  } cases[] = {
      {"0", [] { e2e::SetSettingDword("RemovableDrives", 0); }},
      {"missing", [] {}},
      {"REG_SZ 1", [] { e2e::SetSettingString("RemovableDrives", "1"); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    c.store();
    EXPECT_EQ(EndOfSessionBoxes(), std::vector<std::string>{Warning("MYDISK", 'A')});
    ExpectNoReset();
    program.Kill();
  }
  EXPECT_EQ(e2e::SettingString("RemovableDrives"), "1") << "the value of another type stays";
}

// Under Wine the letter E: exists from the start and its medium comes
// later, as a card put into a reader does; a letter that appears between
// two checks is the host tests' case.
TEST_F(RemovableDrivesTest, ACardPutIntoTheReaderAfterTheStartIsFound) {
  e2e::SetSettingDword("RemovableDrives", 1);
  e2e::RemoveMedium('e');
  e2e::RemoveMedium('a');
  program.Start();
  ASSERT_TRUE(program.EndSplash());
  e2e::InsertMedium('e');
  const e2e::SessionEndReply reply = e2e::AskEndOfSession(program, 120000);
  ASSERT_TRUE(reply.answered);
  EXPECT_EQ(reply.boxes, (std::vector<std::string>{Warning("STICK", 'E'), Warning("DISC", 'H')}));
}

TEST_F(RemovableDrivesTest, AnExcludedLabelOnTheStickStaysSilent) {
  e2e::SetSettingDword("RemovableDrives", 1);
  e2e::StoreLabel("stick");
  EXPECT_EQ(EndOfSessionBoxes(),
            (std::vector<std::string>{Warning("MYDISK", 'A'), Warning("DISC", 'H')}));
  ExpectNoReset();
}

}  // namespace
