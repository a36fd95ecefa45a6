// The restart and shut-down commands: confirmation, check, request.

#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/fake/Fakes.h"
#include "resources/Texts.h"
#include "shell/Commands.h"
#include "tests/texts/EnglishTexts.h"

namespace {

class SessionEndCommandTest : public ::testing::Test {
 protected:
  void Run(const SessionEndCommand& command) {
    RunSessionEndCommand(command, EnglishTexts(), ui, owner, session, [&] {
      journal.push_back("check");
      if (checkFails) throw platform::Failure("Stream write error");
    });
  }

  platform::Journal journal;
  platform::FakeUserInterface ui{journal};
  platform::FakeSession session{journal};
  platform::WindowHandle owner = reinterpret_cast<platform::WindowHandle>(0xA11);
  bool checkFails = false;
};

TEST_F(SessionEndCommandTest, YesChecksBeforeAskingWindowsToRestart) {
  ui.onShow = [](const platform::ShownBox&) { return platform::kIdYes; };
  Run(kRestartCommand);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Are you sure you want to restart your computer?");
  EXPECT_EQ(ui.boxes[0].caption, "Restart");
  EXPECT_EQ(ui.boxes[0].flags, platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_EQ(ui.boxes[0].owner, owner);
  EXPECT_EQ(journal, (platform::Journal{"box " + ui.boxes[0].text, "box closed", "check",
                                        "end session reboot 0"}));
}

TEST_F(SessionEndCommandTest, ShutDownAsksItsOwnQuestionAndRequestsAShutDown) {
  ui.onShow = [](const platform::ShownBox&) { return platform::kIdYes; };
  Run(kShutDownCommand);
  EXPECT_EQ(ui.boxes[0].text, "Are you sure you want to shut down Windows?");
  EXPECT_EQ(ui.boxes[0].caption, "Shut Down");
  EXPECT_EQ(journal.back(), "end session shutdown 0");
}

TEST_F(SessionEndCommandTest, NoNeitherChecksNorRequests) {
  ui.onShow = [](const platform::ShownBox&) { return platform::kIdNo; };
  Run(kRestartCommand);
  EXPECT_EQ(journal, (platform::Journal{"box " + ui.boxes[0].text, "box closed"}));
}

TEST_F(SessionEndCommandTest, AFailedCheckRequestsNothingAndPassesItsFailureOn) {
  ui.onShow = [](const platform::ShownBox&) { return platform::kIdYes; };
  checkFails = true;
  EXPECT_THROW(Run(kShutDownCommand), platform::Failure);
  EXPECT_EQ(journal.back(), "check");
}

}  // namespace
