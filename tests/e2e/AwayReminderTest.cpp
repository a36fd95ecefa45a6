// The reminder when the computer is locked or goes to sleep. Wine sends no
// session or power messages by itself, so the tests send them to the main
// window as Windows would; what the program sounds and tells the icon is
// read from Wine's relay trace by check-away-reminder.sh. Here: no box,
// the program runs on, and a sleep is never refused.

#include <gtest/gtest.h>

#include "tests/e2e/Driver.h"

namespace {

class AwayReminderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    // A whole store as a save leaves it: no sound chosen, the warning box
    // and the log on, drive A: only.
    e2e::SetSettingString("Sound", "NoSound");
    e2e::SetSettingString("SoundFile", "(None)");
    e2e::SetSettingString("WindowsSound", "Exclamation");
    e2e::SetSettingDword("Logging", 1);
    e2e::SetSettingString("LogFile", e2e::ProgramFolder() + "away.dvl");
    e2e::SetSettingDword("NoDialog", 0);
    e2e::SetSettingString("Drives", "A");
  }
  void TearDown() override {
    program.Kill();
    e2e::InsertMedium('a');
  }

  // Starts the program and waits until it is resident, with its icon.
  void StartResident() {
    program.Start();
    ASSERT_TRUE(program.EndSplash());
  }

  // Sends a lock, then a sleep, each handled before the send returns (a
  // box would hold its send), then holds once: no box, no log, and the
  // program runs on.
  void LockAndSleep() {
    const struct {
      UINT message;
      WPARAM event;
    } events[] = {{WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK}, {WM_POWERBROADCAST, PBT_APMSUSPEND}};
    for (const auto& event : events) {
      SCOPED_TRACE(event.message);
      DWORD_PTR answer = 0;
      EXPECT_NE(::SendMessageTimeoutA(program.MainWindow(), event.message, event.event, 0,
                                      SMTO_NORMAL, 10000, &answer),
                0)
          << "the program answers at once";
    }
    EXPECT_TRUE(e2e::HoldsOnceHandled(program.MainWindow(), [&] {
      return !e2e::FindMessageBox(program.ProcessId()) && program.Running();
    }));
    EXPECT_FALSE(e2e::ReadFileBytes("C:\\Dorvane\\away.dvl").has_value()) << "nothing is logged";
  }

  e2e::Program program;
};

TEST_F(AwayReminderTest, ALockAndASleepWithADiskInARemindWithoutABox) {
  e2e::SetSettingDword("RemindWhenAway", 1);
  StartResident();
  LockAndSleep();
  EXPECT_EQ(e2e::SettingDword("RemindWhenAway"), 1u);
}

// The probe makes each drive's root the current directory; a process whose
// current directory is on a stick keeps Windows from ejecting it. After a
// lock that found the disk in A:, the directory is the one before; the
// end of the session's check keeps its own rule and leaves A:\.
// (Not among the cases whose sounds the trace counts: the check at the
// end adds none, but its name would match them.)
TEST_F(AwayReminderTest, TheCurrentDirectoryAfterALockIsTheOneBefore) {
  e2e::SetSettingDword("RemindWhenAway", 1);
  e2e::SetSettingDword("NoDialog", 1);
  e2e::SetSettingDword("Logging", 0);  // the other cases find no log
  StartResident();
  const std::optional<std::string> before = program.CurrentDirectory();
  ASSERT_TRUE(before.has_value());
  ASSERT_NE(*before, "A:\\");
  DWORD_PTR answer = 0;
  ASSERT_NE(::SendMessageTimeoutA(program.MainWindow(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0,
                                  SMTO_ABORTIFHUNG, 10000, &answer),
            0);
  EXPECT_EQ(program.CurrentDirectory(), before) << "after the reminder";
  const e2e::SessionEndReply reply = e2e::AskEndOfSession(program);
  ASSERT_TRUE(reply.answered);
  EXPECT_EQ(program.CurrentDirectory(), std::optional<std::string>("A:\\"))
      << "after the end of the session's check";
}

// The first question of Windows XP before a sleep, and any other power
// event, is answered with consent.
TEST_F(AwayReminderTest, ASleepIsNeverRefused) {
  e2e::SetSettingDword("RemindWhenAway", 1);
  StartResident();
  for (WPARAM event : {PBT_APMQUERYSUSPEND, PBT_APMSUSPEND, PBT_APMRESUMESUSPEND}) {
    SCOPED_TRACE(event);
    DWORD_PTR answer = 0;
    ASSERT_NE(::SendMessageTimeoutA(program.MainWindow(), WM_POWERBROADCAST, event, 0,
                                    SMTO_ABORTIFHUNG, 10000, &answer),
              0);
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  }
}

// Without the option, or without a disk: nothing at all (the trace shows no
// sound and no change of the icon).
TEST_F(AwayReminderTest, WithoutTheValueOrWithoutADiskNothingHappens) {
  StartResident();
  LockAndSleep();
  program.Kill();
  e2e::SetSettingDword("RemindWhenAway", 1);
  e2e::RemoveMedium('a');
  StartResident();
  LockAndSleep();
}

}  // namespace
