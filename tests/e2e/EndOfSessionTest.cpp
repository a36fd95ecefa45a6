// The end of the Windows session, asked of dorvane.exe as Windows asks it.

#include <gtest/gtest.h>

#include "tests/e2e/Driver.h"

namespace {

using e2e::EndSessionQuery;

class EndOfSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    program.Start();
  }
  void TearDown() override {
    program.Kill();
    e2e::InsertMedium('a');
  }

  // Asks the main window, answers the boxes that come with OK and returns
  // the texts of the boxes and the answer.
  std::vector<std::string> QueryAndAcknowledge(LRESULT& answer) {
    const e2e::SessionEndReply reply = e2e::AskEndOfSession(program, 120000);
    EXPECT_TRUE(reply.answered);
    answer = reply.answer;
    return reply.boxes;
  }

  e2e::Program program;
};

TEST_F(EndOfSessionTest, ADiskInAGivesOneSystemModalWarningThatHoldsTheAnswer) {
  // Resident, as the program mostly is when the session ends.
  ASSERT_TRUE(program.EndSplash());
  EndSessionQuery query(program.MainWindow());
  auto box = e2e::WaitForMessageBox(program.ProcessId(), 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, "There is still a disk with the label \"MYDISK\" in your A-drive!");
  EXPECT_EQ(box->caption, "Dorvane 4.0");
  EXPECT_EQ(box->buttons, (std::vector<std::string>{"OK"}));
  EXPECT_NE(box->exStyle & WS_EX_TOPMOST, 0) << "a system-modal box stays above every window";
  EXPECT_EQ(box->owner, program.ApplicationWindow());
  e2e::SaveScreenshot("warning");

  // The box's own loop answers a message sent now: the program is not
  // hung, it waits for the user, and the query stays unanswered meanwhile.
  ASSERT_TRUE(e2e::Handled(program.MainWindow()));
  EXPECT_FALSE(query.Answered(0)) << "the session waits until the user acknowledges";
  e2e::PressBoxButton(box->hwnd, IDOK);
  ASSERT_TRUE(query.Answered(10000));
  EXPECT_TRUE(query.Delivered());
  EXPECT_EQ(query.Answer(), 1);
  EXPECT_TRUE(e2e::HoldsOnceHandled(program.MainWindow(),
                                    [&] { return !e2e::FindMessageBox(program.ProcessId()); }));
}

TEST_F(EndOfSessionTest, WithTheDiskTakenOutTheSessionMayEndWithoutABox) {
  e2e::RemoveMedium('a');
  LRESULT answer = 0;
  EXPECT_TRUE(QueryAndAcknowledge(answer).empty());
  EXPECT_EQ(answer, 1);
}

TEST_F(EndOfSessionTest, ASessionThatGoesOnLeavesTheProgramRunningAndCheckingAgain) {
  LRESULT answer = 0;
  EXPECT_EQ(QueryAndAcknowledge(answer).size(), 1u);
  EXPECT_EQ(answer, 1);

  // Another program refused: every window hears that the session goes on.
  for (HWND window : {program.MainWindow(), program.ApplicationWindow()}) {
    EndSessionQuery notice(window, WM_ENDSESSION, FALSE, 0);
    ASSERT_TRUE(notice.Answered(5000));
  }
  EXPECT_TRUE(e2e::HoldsOnceHandled(program.MainWindow(), [&] { return program.Running(); }));

  EXPECT_EQ(QueryAndAcknowledge(answer).size(), 1u);
  EXPECT_EQ(answer, 1);
}

TEST_F(EndOfSessionTest, TheOtherWindowsAgreeWithoutChecking) {
  for (const char* cls : {"TfmSettings", "TfmAbout", "TApplication"}) {
    HWND window = program.Window(cls);
    ASSERT_NE(window, nullptr) << cls;
    EndSessionQuery query(window);
    ASSERT_TRUE(query.Answered(5000)) << cls;
    EXPECT_EQ(query.Answer(), 1) << cls;
  }
  EXPECT_FALSE(e2e::FindMessageBox(program.ProcessId()).has_value());
}

TEST_F(EndOfSessionTest, TheEndOfTheSessionEndsTheProgramAtOnce) {
  EndSessionQuery notice(program.ApplicationWindow(), WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(program.WaitForExit(5000));
  EXPECT_FALSE(e2e::FindMessageBox(program.ProcessId()).has_value());
}

// ENDSESSION_CLOSEAPP: Windows' Restart Manager closes the program alone.
constexpr LPARAM kCloseApp = 0x00000001;

TEST_F(EndOfSessionTest, AnInstallerClosingTheProgramMeetsNoWarningWhileTheSessionEndStillWarns) {
  ASSERT_TRUE(program.EndSplash());
  // Windows' Restart Manager, for an installer that must replace a file
  // the program has open, with a disk in drive A:.
  e2e::EndSessionQuery closeApp(program.MainWindow(), WM_QUERYENDSESSION, 0, kCloseApp);
  const bool answered = closeApp.Answered(10000);
  const auto box = e2e::FindMessageBox(program.ProcessId());
  if (box) e2e::PressBoxButton(box->hwnd, IDOK);
  EXPECT_FALSE(box.has_value()) << "a box for an installer: " << (box ? box->text : "");
  ASSERT_TRUE(answered) << "the installer is kept waiting";
  EXPECT_TRUE(closeApp.Delivered());
  EXPECT_EQ(closeApp.Answer(), 1);

  // The end of the session itself still warns.
  LRESULT answer = 0;
  EXPECT_EQ(QueryAndAcknowledge(answer),
            (std::vector<std::string>{
                "There is still a disk with the label \"MYDISK\" in your A-drive!"}));
  EXPECT_EQ(answer, 1);

  // The Restart Manager's WM_ENDSESSION ends the program as any does.
  e2e::EndSessionQuery end(program.ApplicationWindow(), WM_ENDSESSION, TRUE, kCloseApp);
  EXPECT_TRUE(program.WaitForExit(5000));
  EXPECT_FALSE(e2e::FindMessageBox(program.ProcessId()).has_value());
}

TEST_F(EndOfSessionTest, AnEmptyDriveRaisesNoSystemErrorBox) {
  // Without this bit Windows itself asks "There is no disk in the drive"
  // when the check touches an empty floppy drive.
  EXPECT_NE(program.ErrorMode() & SEM_FAILCRITICALERRORS, 0u);
}

}  // namespace
