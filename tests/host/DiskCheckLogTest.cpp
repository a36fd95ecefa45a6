// The disk check with logging on: the log line comes first, and a log that
// cannot be written ends the run.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/Failure.h"
#include "platform/fake/FakeFiles.h"
#include "platform/fake/Fakes.h"
#include "shell/DiskCheck.h"
#include "shell/SessionEnd.h"
#include "tests/figures/Figures.h"
#include "tests/texts/EnglishTexts.h"

namespace {

const char kLog[] = "C:\\DVN\\dvn.dvl";

class DiskCheckLogTest : public ::testing::Test {
 protected:
  DiskCheckLogTest() {
    drives.drives['A'] = {true, "MYDISK"};
    drives.drives['C'] = {true, "SYSTEM"};
    BuildDriveList(options, drives, shell);
    CheckDrivesFromString(options, "AC");
    options.Logging = true;
    options.LogFile = kLog;
    options.Sound = TSound::SoundWindows;
    clock.readings = {platform::FakeClock::At(2026, 12, 8, 16, 35, 12)};
    journal.clear();
  }

  // The journal with each stretch of file operations shown as one "log".
  platform::Journal Steps() const {
    platform::Journal steps;
    for (const std::string& entry : journal) {
      const std::string verb = entry.substr(0, entry.find(' '));
      const bool fileOperation = verb == "read" || verb == "create" || verb == "write" ||
                                 verb == "flush" || verb == "close" || verb == "replace" ||
                                 verb == "delete";
      if (!fileOperation) {
        steps.push_back(entry);
      } else if (steps.empty() || steps.back() != "log") {
        steps.push_back("log");
      }
    }
    return steps;
  }
  static std::string Line(const std::string& label, char letter) {
    return "12/8/2026   -   4:35:12 PM   -   Left a disk with the label \"" + label +
           "\" in the " + std::string(1, letter) + "-drive.\r\n";
  }

  platform::Journal journal;
  platform::FakeDrives drives{journal};
  platform::FakeShell shell{drives};
  platform::FakeSounds sounds{journal};
  platform::FakeUserInterface ui{journal};
  platform::FakeFiles files{journal};
  platform::FakeClock clock;
  platform::FakeLocale locale;
  NotificationLog log{files, clock, locale};
  TCheckOptions options;
  platform::Journal eventJournal;
  platform::FakeEventLog events{eventJournal};
  DiskCheckContext context{drives, sounds, ui, nullptr, log, events, EnglishTexts(), locale};
};

TEST_F(DiskCheckLogTest, EachDriveIsLoggedThenSoundedThenWarned) {
  RunDiskCheck(options, false, context);
  EXPECT_EQ(Steps(), (platform::Journal{"probe A:\\", "label A:\\", "log", "beep exclamation",
                                        "box " + WarningText(EnglishTexts(), "MYDISK", 'A'), "box closed",
                                        "probe C:\\", "label C:\\", "log", "beep exclamation",
                                        "box " + WarningText(EnglishTexts(), "SYSTEM", 'C'), "box closed"}));
  EXPECT_EQ(files.Bytes(kLog), Line("MYDISK", 'A') + Line("SYSTEM", 'C'));
}

TEST_F(DiskCheckLogTest, ALogThatCannotBeWrittenEndsTheRunBeforeTheSoundAndTheBox) {
  files.files[kLog] = {"old\r\n", true};
  try {
    RunDiskCheck(options, false, context);
    FAIL() << "the check ended normally";
  } catch (const platform::Failure& failure) {
    EXPECT_STREQ(failure.what(), "Cannot create file C:\\DVN\\dvn.dvl");
  }
  EXPECT_EQ(Steps(), (platform::Journal{"probe A:\\", "label A:\\", "log"}));
  EXPECT_EQ(files.Bytes(kLog), "old\r\n");
}

// What the administrator's event log receives from a run: each warning as
// it is logged, whether or not logging is on, and a log that could not be
// written, after which the run ends as before.
struct RunEventsCase {
  const char* name;
  std::function<void(TCheckOptions&, platform::FakeFiles&)> arrange;
  bool exitRequested;
  platform::Journal events;
};

class RunEventsTest : public DiskCheckLogTest,
                      public ::testing::WithParamInterface<RunEventsCase> {};

TEST_P(RunEventsTest, EachWarningAndEachLogFailureIsAnEvent) {
  GetParam().arrange(options, files);
  try {
    RunDiskCheck(options, GetParam().exitRequested, context);
  } catch (const platform::Failure&) {
  }
  EXPECT_EQ(eventJournal, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunEventsTest,
    ::testing::Values(
        RunEventsCase{"Logged", [](TCheckOptions&, platform::FakeFiles&) {}, false,
                      {"event 1000 warning A|MYDISK", "event 1000 warning C|SYSTEM"}},
        RunEventsCase{"NeitherLoggedNorShown",
                      [](TCheckOptions& options, platform::FakeFiles&) {
                        options.Logging = false;
                        options.NoDialog = true;
                      },
                      false, {"event 1000 warning A|MYDISK", "event 1000 warning C|SYSTEM"}},
        RunEventsCase{"LogNotWritable",
                      [](TCheckOptions&, platform::FakeFiles& files) {
                        files.files[kLog] = {"old\r\n", true};
                      },
                      false,
                      {"event 1000 warning A|MYDISK",
                       "event 1001 error C:\\DVN\\dvn.dvl|Cannot create file C:\\DVN\\dvn.dvl"}},
        RunEventsCase{"Excluded",
                      [](TCheckOptions& options, platform::FakeFiles&) {
                        options.Exclusions = {"mydisk"};
                      },
                      false,
                      {"event 1000 warning C|SYSTEM"}},
        RunEventsCase{"ExitRequested", [](TCheckOptions&, platform::FakeFiles&) {}, true, {}}),
    [](const ::testing::TestParamInfo<RunEventsCase>& info) { return info.param.name; });

// The start names the drives that the run will check, the options that a
// policy sets, and the language of the texts; without a policy the second
// text is empty, and the event's sentence reads as it always did.
TEST_F(DiskCheckLogTest, TheStartEventNamesTheCheckedDrivesThePoliciesAndTheLanguage) {
  ReportStart(options, 0, "en", events);
  UncheckAllDrives(options);
  ReportStart(options, 0, "de from lang\\de.txt", events);
  options.RemovableDrives = true;
  ReportStart(options, kOptionRemovableDrives | kOptionDrives | kOptionExclusions, "en", events);
  EXPECT_EQ(eventJournal,
            (platform::Journal{"event 1003 information A:, C:||en",
                               "event 1003 information none||de from lang\\de.txt",
                               "event 1003 information every removable drive| Options set by "
                               "policy: Drives, Exclusions, RemovableDrives.|en"}));
}

// At the end of the session Windows Vista and later list the programs that
// hold it; the reason tells the user which disk to take out, exactly while
// that disk's box is shown.
class SessionEndReasonTest : public DiskCheckLogTest {
 protected:
  platform::FakeSession session{journal};
  platform::WindowHandle mainWindow = reinterpret_cast<platform::WindowHandle>(0x5A1);
  SessionEndHold hold{session, mainWindow};
};

TEST_F(SessionEndReasonTest, EachBoxStandsBetweenItsReasonAndItsWithdrawal) {
  ui.onShow = [&](const platform::ShownBox&) {
    EXPECT_TRUE(session.ReasonShown()) << "the box is up without a reason";
    return platform::kIdOk;
  };
  RunDiskCheck(options, false, context, &hold);
  EXPECT_EQ(Steps(), (platform::Journal{
                         "probe A:\\", "label A:\\", "log", "beep exclamation",
                         "block reason The disk \"MYDISK\" is still in drive A:. Take it out "
                         "before the computer starts again.",
                         "box " + WarningText(EnglishTexts(), "MYDISK", 'A'), "box closed", "reason withdrawn",
                         "probe C:\\", "label C:\\", "log", "beep exclamation",
                         "block reason " + BlockReasonText(EnglishTexts(), "SYSTEM", 'C'),
                         "box " + WarningText(EnglishTexts(), "SYSTEM", 'C'), "box closed", "reason withdrawn"}));
  EXPECT_FALSE(session.ReasonShown());
}

TEST_F(SessionEndReasonTest, NoWarningNoBoxOrALogFailureLeaveNoReason) {
  // Nothing to warn about.
  options.Exclusions = {"mydisk", "system"};
  RunDiskCheck(options, false, context, &hold);
  // Notifications without a box.
  options.Exclusions.clear();
  options.NoDialog = true;
  RunDiskCheck(options, false, context, &hold);
  // A log that cannot be written ends the run before the box.
  options.NoDialog = false;
  files.files[kLog] = {"old\r\n", true};
  EXPECT_THROW(RunDiskCheck(options, false, context, &hold), platform::Failure);

  EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                          [](const std::string& step) { return step.rfind("block", 0) == 0; }),
            0);
  EXPECT_FALSE(session.ReasonShown());
}

TEST_F(SessionEndReasonTest, ACheckFromTheTrayMenuGivesNoReason) {
  RunDiskCheck(options, false, context);
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "reason withdrawn"), 0);
  EXPECT_EQ(ui.boxes.size(), 2u);
}

TEST_F(DiskCheckLogTest, LoggingOffNeverOpensTheLog) {
  options.Logging = false;
  RunDiskCheck(options, false, context);
  const platform::Journal steps = Steps();
  EXPECT_EQ(std::count(steps.begin(), steps.end(), "log"), 0);
  EXPECT_EQ(clock.readCount, 0);
  EXPECT_EQ(ui.boxes.size(), 2u);
}

TEST_F(DiskCheckLogTest, ARelativeLogFileGoesToTheRootOfTheDriveBeingReported) {
  options.LogFile = "dvn.dvl";
  files.currentDirectory = [this] { return drives.currentDirectory; };
  RunDiskCheck(options, false, context);
  EXPECT_EQ(journal[2], "read dvn.dvl") << "the name is passed as the user wrote it";
  EXPECT_EQ(files.Bytes("A:\\dvn.dvl"), Line("MYDISK", 'A'));
  // C: holds no log yet, so it is made from the run's text, A's line included.
  EXPECT_EQ(files.Bytes("C:\\dvn.dvl"), Line("MYDISK", 'A') + Line("SYSTEM", 'C'));
}

// --- each write point of the log failing in turn ---

// Makes the operations of one kind on one file fail, every time they come.
std::function<bool(const std::string&)> Refuse(const std::string& verb, const std::string& file) {
  return [=](const std::string& operation) {
    return operation.rfind(verb + " ", 0) == 0 && operation.find(file) != std::string::npos;
  };
}

std::function<bool(const std::string&)> EitherOf(std::function<bool(const std::string&)> a,
                                                 std::function<bool(const std::string&)> b) {
  return [=](const std::string& operation) { return a(operation) || b(operation); };
}

struct WritePointCase {
  const char* fault;
  std::function<void(platform::FakeFiles&)> arrange;
  const char* message;  // the error box's text; empty when the line is logged
};

class WritePointTest : public DiskCheckLogTest,
                       public ::testing::WithParamInterface<WritePointCase> {};

// What the user meets at the end of the session: the main window answers
// the query after the check, and a failure that leaves the check is shown
// in the error box while the query is answered 0 (the framework's rule).
TEST_P(WritePointTest, TheLogKeepsItsBytesOrGainsTheLine) {
  const std::string before = "old line\r\n";
  files.files[kLog].bytes = before;
  UncheckAllDrives(options);
  CheckDrivesFromString(options, "A");
  GetParam().arrange(files);

  std::string message;
  try {
    RunDiskCheck(options, false, context);
  } catch (const platform::Failure& failure) {
    message = platform::ErrorBoxText(failure.what());
  }
  const bool sessionMayEnd = message.empty();
  const std::string after = files.Bytes(kLog).value_or("<no file>");
  const std::string intact = figures::LogIntact(
      before, after, [](const std::string& added) { return added == Line("MYDISK", 'A'); },
      static_cast<int>(files.Names().size()) - 1);
  figures::AddLogRow(std::string("fake files: ") + GetParam().fault, intact, message,
                     sessionMayEnd);

  EXPECT_EQ(message, GetParam().message);
  EXPECT_EQ(intact, message.empty() ? "one line added" : "unchanged") << after;
  // The line comes before the sound and the box; a failed line ends the run.
  EXPECT_EQ(ui.boxes.size(), message.empty() ? 1u : 0u);
}

const auto kTemporary = ".tmp";
const auto kLogName = "dvn.dvl";

INSTANTIATE_TEST_SUITE_P(
    Faults, WritePointTest,
    ::testing::Values(
        // Where no new file may be made, or the new file cannot take the
        // log's place, the log is written in place and the line is logged.
        WritePointCase{"creating the temporary file",
                       [](auto& f) { f.refuses = Refuse("create", kTemporary); }, ""},
        WritePointCase{"writing the temporary file",
                       [](auto& f) { f.refuses = Refuse("write", kTemporary); },
                       "Stream write error."},
        WritePointCase{"flushing the temporary file",
                       [](auto& f) { f.refuses = Refuse("flush", kTemporary); },
                       "Stream write error."},
        WritePointCase{"replacing the log", [](auto& f) { f.refuses = Refuse("replace", ""); },
                       ""},
        WritePointCase{"creating the log in place",
                       [](auto& f) {
                         f.refuses =
                             EitherOf(Refuse("create", kTemporary), Refuse("create", kLogName));
                       },
                       "Cannot create file C:\\DVN\\dvn.dvl."},
        // The truncation gives the medium the old text's space back, so
        // the old text fits again.
        WritePointCase{"writing the log in place, medium full",
                       [](auto& f) {
                         f.refuses = Refuse("create", kTemporary);
                         f.freeSpace = 4;
                       },
                       "Stream write error."},
        WritePointCase{"flushing the log in place",
                       [](auto& f) {
                         f.refuses =
                             EitherOf(Refuse("create", kTemporary), Refuse("flush", kLogName));
                       },
                       "Stream write error."}),
    [](const auto& info) { return figures::TestNameOf(info.param.fault); });

// The main window's answer to the end-of-session query: the check runs when
// the session ends, not when Windows' Restart Manager closes the program
// alone for an installer or an update (ENDSESSION_CLOSEAPP).
struct QueryCase {
  const char* name;
  unsigned flags;
  bool checks;
};

class SessionEndQueryTest : public DiskCheckLogTest,
                            public ::testing::WithParamInterface<QueryCase> {};

TEST_P(SessionEndQueryTest, ChecksOnlyWhenTheSessionEnds) {
  const QueryCase& c = GetParam();
  const bool answer = SessionMayEnd(c.flags, [&] {
    RunDiskCheck(options, false, context);
    return true;
  });
  EXPECT_TRUE(answer);
  if (c.checks) {
    EXPECT_EQ(Steps(), (platform::Journal{"probe A:\\", "label A:\\", "log", "beep exclamation",
                                          "box " + WarningText(EnglishTexts(), "MYDISK", 'A'), "box closed",
                                          "probe C:\\", "label C:\\", "log", "beep exclamation",
                                          "box " + WarningText(EnglishTexts(), "SYSTEM", 'C'), "box closed"}));
  } else {
    EXPECT_TRUE(journal.empty()) << "no drive touched, no log, no sound, no box";
    EXPECT_FALSE(files.files.count(kLog));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, SessionEndQueryTest,
    ::testing::Values(QueryCase{"ShutDownOrRestart", 0, true},
                      QueryCase{"LogOff", platform::kEndSessionLogoff, true},
                      QueryCase{"CriticalShutDown", platform::kEndSessionCritical, true},
                      QueryCase{"RestartManagerClosesTheProgram", platform::kEndSessionCloseApp,
                                false},
                      QueryCase{"RestartManagerClosesItForcibly",
                                platform::kEndSessionCloseApp | platform::kEndSessionCritical,
                                false}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return info.param.name; });

TEST(SessionEndAnswerTest, AFailedCheckStillHoldsTheEndingSessionButNoInstaller) {
  EXPECT_FALSE(SessionMayEnd(0, [] { return false; }));
  EXPECT_TRUE(SessionMayEnd(platform::kEndSessionCloseApp, [] { return false; }));
}

// What Windows Vista and later show for the program while its warning
// holds the end of the session: the disk and its drive, and what to do on
// a screen that offers only to go on anyway or to cancel.
TEST(BlockReasonTest, NamesTheDiskAndTheDriveAndSaysWhatToDo) {
  EXPECT_EQ(BlockReasonText(EnglishTexts(), "MYDISK", 'A'),
            "The disk \"MYDISK\" is still in drive A:. Take it out before the computer starts "
            "again.");
  EXPECT_EQ(BlockReasonText(EnglishTexts(), "", 'B'),
            "A disk without a label is still in drive B:. Take it out before the computer starts "
            "again.");
}

}  // namespace
