// The notification log against in-memory files, clock and locale.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "platform/Failure.h"
#include "platform/fake/FakeFiles.h"
#include "shell/LogDateTime.h"
#include "shell/NotificationLog.h"

namespace {

using namespace std::string_literals;
using platform::FakeClock;

const char kLog[] = "C:\\DVN\\dvn.dvl";
const platform::LocalTime kNotified = FakeClock::At(2026, 12, 8, 16, 35, 12);
std::string LineFor(const std::string& label, const std::string& time = "4:35:12 PM") {
  return "12/8/2026   -   " + time + "   -   Left a disk with the label \"" + label +
         "\" in the A-drive.";
}
const std::string kLine = LineFor("X");

// "@" in an expected text stands for the line of the notification.
std::string WithLine(const std::string& pattern, const std::string& line = kLine) {
  std::string text;
  for (char c : pattern) text += c == '@' ? line : std::string(1, c);
  return text;
}

class NotificationLogTest : public ::testing::Test {
 protected:
  NotificationLogTest() { clock.readings = {kNotified}; }

  void Append(const std::string& label = "X", const std::string& logFile = kLog) {
    log.AppendLogLine(buffer, logFile, label, 'A');
  }
  std::string Log() const { return files.Bytes(kLog).value_or("<no file>"); }

  platform::Journal journal;
  platform::FakeFiles files{journal};
  FakeClock clock;
  platform::FakeLocale locale;
  NotificationLog log{files, clock, locale};
  std::string buffer;  // one run's log buffer
};

struct AppendCase {
  const char* name;
  std::optional<std::string> before;  // nothing: no log file yet
  std::set<unsigned char> leadBytes;
  std::string after;
};

class AppendTest : public NotificationLogTest, public ::testing::WithParamInterface<AppendCase> {};

TEST_P(AppendTest, AddsTheLineAfterMakingEveryBreakCrLf) {
  if (GetParam().before) files.files[kLog].bytes = *GetParam().before;
  locale.leadBytes = GetParam().leadBytes;
  Append();
  EXPECT_EQ(Log(), WithLine(GetParam().after));
  EXPECT_EQ(buffer, Log());
  EXPECT_EQ(files.Names(), std::vector<std::string>{kLog}) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(
    Files, AppendTest,
    ::testing::Values(
        AppendCase{"NoFile", std::nullopt, {}, "@\r\n"},
        AppendCase{"EmptyFile", ""s, {}, "@\r\n"},
        AppendCase{"EndsWithCrLf", "one\r\ntwo\r\n"s, {}, "one\r\ntwo\r\n@\r\n"},
        AppendCase{"NoFinalBreak", "one\r\ntwo"s, {}, "one\r\ntwo\r\n@"},
        AppendCase{"LfOnly", "one\ntwo\n"s, {}, "one\r\ntwo\r\n@\r\n"},
        AppendCase{"CrOnly", "one\rtwo"s, {}, "one\r\ntwo\r\n@"},
        AppendCase{"MixedBreaks", "a\r\n\n\rb\r\r\n"s, {}, "a\r\n\r\n\r\nb\r\n\r\n@\r\n"},
        AppendCase{"NulBytesKept", "a\0b\r\n"s, {}, "a\0b\r\n@\r\n"s},
        // 0x81 starts a double-byte character: the byte after it is part
        // of the character even when it is 10 or 13, unless a whole CR LF
        // follows; a lead byte at the very end stays as it is.
        AppendCase{"TrailBytesAreNoBreaks", "\x81\n" "A\x81\r" "C\x81\r\n" "B\x81"s, {0x81},
                   "\x81\n" "A\x81\r" "C\x81\r\n" "B\x81\r\n@"},
        AppendCase{"SameBytesInASingleByteCodePage", "\x81\n" "A\x81\r\n" "B\x81"s, {},
                   "\x81\r\n" "A\x81\r\n" "B\x81\r\n@"}),
    [](const auto& info) { return std::string(info.param.name); });

// A file cut short inside a double-byte character ends in a lone lead
// byte, and the program's own break follows it. The next run must read
// that CR LF as the break it is, not take its CR for the character's
// second byte and add another.
TEST_F(NotificationLogTest, ALogEndingInALoneLeadByteKeepsItsBytesAtTheNextRun) {
  locale.leadBytes = {0xC0};
  files.files[kLog].bytes = "one\xC0";
  Append("X");
  EXPECT_EQ(Log(), "one\xC0\r\n" + kLine);
  buffer.clear();  // the next run
  Append("Y");
  EXPECT_EQ(Log(), "one\xC0\r\n" + kLine + "\r\n" + LineFor("Y"));
}

TEST_F(NotificationLogTest, AFileWithoutFinalBreakKeepsEndingWithoutOne) {
  files.files[kLog].bytes = "one";
  Append("X");
  buffer.clear();  // the next run
  Append("Y");
  EXPECT_EQ(Log(), "one\r\n" + kLine + "\r\n" + LineFor("Y"));
}

TEST_F(NotificationLogTest, WritesATemporaryFileBesideTheLogAndReplacesTheLogInOneStep) {
  files.files[kLog].bytes = "old\r\n";
  Append();
  EXPECT_EQ(journal, (platform::Journal{"read C:\\DVN\\dvn.dvl", "create C:\\DVN\\dvn1.tmp",
                                        "write C:\\DVN\\dvn1.tmp", "flush C:\\DVN\\dvn1.tmp",
                                        "close C:\\DVN\\dvn1.tmp",
                                        "replace C:\\DVN\\dvn1.tmp C:\\DVN\\dvn.dvl"}));
}

// The temporary file takes a name that no file of the folder has: files
// of the user's, whatever their names, stay as they are.
TEST_F(NotificationLogTest, NoFileOfTheUsersIsTakenForTheTemporaryFile) {
  files.files[kLog].bytes = "old\r\n";
  files.files["C:\\DVN\\dvn.dvl.tmp"] = {"keep", true};
  files.files["C:\\DVN\\dvn1.tmp"] = {"mine"};
  Append();
  EXPECT_EQ(Log(), WithLine("old\r\n@\r\n"));
  EXPECT_EQ(files.Bytes("C:\\DVN\\dvn.dvl.tmp"), "keep");
  EXPECT_EQ(files.Bytes("C:\\DVN\\dvn1.tmp"), "mine");
  EXPECT_EQ(files.Names().size(), 3u) << "no temporary file is left";
}

// Where users may write the log but not make files in its folder, or the
// new file cannot take the log's place, the log is written in place.
TEST_F(NotificationLogTest, AFolderThatTakesNoNewFileGetsTheLineWrittenInPlace) {
  for (bool sealed : {true, false}) {
    files.files.clear();
    files.files[kLog].bytes = "old\r\n";
    files.sealedFolders = sealed ? std::vector<std::string>{"C:\\DVN"} : std::vector<std::string>{};
    files.replaceFails = !sealed;
    buffer.clear();
    Append();
    EXPECT_EQ(Log(), WithLine("old\r\n@\r\n")) << (sealed ? "sealed" : "replace refused");
    EXPECT_EQ(files.Names(), std::vector<std::string>{kLog}) << "no temporary file is left";
  }
}

// In place, a medium too full for the new text gets the old text back: the
// truncation freed the space it held.
TEST_F(NotificationLogTest, AFullMediumInAFolderThatTakesNoNewFileKeepsTheLog) {
  files.files[kLog].bytes = "old\nlines";
  files.sealedFolders = {"C:\\DVN"};
  files.freeSpace = 4;  // the line does not fit, not even in the old text's freed space
  EXPECT_THROW(Append(), platform::Failure);
  EXPECT_EQ(Log(), "old\nlines");
  EXPECT_EQ(files.Names(), std::vector<std::string>{kLog});
}

// A log whose breaks are all CR LF is taken as it was read, so the text
// given back after a failed write in place is the start of the run's own
// buffer: it must be exactly the old text, not the text with the line.
TEST_F(NotificationLogTest, AFullMediumInPlaceGivesBackACleanLogExactly) {
  files.files[kLog].bytes = "old\r\nlines\r\n";
  files.sealedFolders = {"C:\\DVN"};
  files.freeSpace = 4;
  EXPECT_THROW(Append(), platform::Failure);
  EXPECT_EQ(Log(), "old\r\nlines\r\n");

  files.freeSpace.reset();  // room again: the retry of the next run succeeds
  buffer.clear();
  Append();
  EXPECT_EQ(Log(), WithLine("old\r\nlines\r\n@\r\n"));
}

TEST_F(NotificationLogTest, TwoNotificationsOfOneRunEachReadTheClockTwice) {
  clock.readings = {kNotified, kNotified, FakeClock::At(2026, 12, 8, 16, 35, 40),
                    FakeClock::At(2026, 12, 8, 16, 35, 41)};
  Append("X");
  Append("Y");
  EXPECT_EQ(clock.readCount, 4);
  EXPECT_EQ(Log(), kLine + "\r\n" + LineFor("Y", "4:35:41 PM") + "\r\n");
}

TEST_F(NotificationLogTest, EachNotificationReadsTheFileAgainAndAMissingFileIsMadeFromTheRun) {
  Append();
  files.files[kLog].bytes = "edited\n";  // another program changed it meanwhile
  Append();
  EXPECT_EQ(Log(), WithLine("edited\r\n@\r\n"));

  files.files.clear();  // and then deleted it
  Append();
  EXPECT_EQ(Log(), WithLine("edited\r\n@\r\n@\r\n"));
}

TEST_F(NotificationLogTest, TheDateComesFromTheFirstReadingAndTheTimeFromTheSecond) {
  clock.readings = {FakeClock::At(2026, 12, 8, 23, 59, 59), FakeClock::At(2026, 12, 9, 0, 0, 0)};
  Append();
  EXPECT_EQ(Log().substr(0, 30), "12/8/2026   -   12:00:00 AM   ");
}

TEST_F(NotificationLogTest, TheLabelIsWrittenAsTheBytesWindowsReported) {
  Append("\xc4\xd6\xdc\x01 ");
  EXPECT_EQ(Log(), LineFor("\xc4\xd6\xdc\x01 ") + "\r\n");
}

TEST_F(NotificationLogTest, ReadsTheThreadLocaleAtStartAndTheUserDefaultOnRequest) {
  locale.threadLocale = 0x407;
  locale.values[0x407] = {{platform::kLocaleITime, "1"}, {platform::kLocaleSTime, "."}};
  NotificationLog started(files, clock, locale);
  EXPECT_EQ(FormatLongTime(started.Formats(), kNotified), "16.35.12");

  started.ReadUserFormats();
  EXPECT_EQ(FormatLongTime(started.Formats(), kNotified), "4:35:12 PM");
  started.ReadThreadFormats();
  EXPECT_EQ(FormatLongTime(started.Formats(), kNotified), "16.35.12");
}

// --- failures: the log keeps exactly what it held ---

struct FailureCase {
  const char* name;
  std::function<void(platform::FakeFiles&)> arrange;
  const char* message;
  const char* logFile = kLog;
};

class AppendFailureTest : public NotificationLogTest,
                          public ::testing::WithParamInterface<FailureCase> {};

TEST_P(AppendFailureTest, FailsWithTheMessageAndLeavesTheFilesAsTheyWere) {
  files.files[kLog].bytes = "old\nlines";
  GetParam().arrange(files);
  const auto before = files.files;
  try {
    Append("X", GetParam().logFile);
    FAIL() << "the append succeeded";
  } catch (const platform::Failure& failure) {
    EXPECT_STREQ(failure.what(), GetParam().message);
  }
  ASSERT_EQ(files.Names(), [&] {
    std::vector<std::string> names;
    for (const auto& entry : before) names.push_back(entry.first);
    return names;
  }());
  for (const auto& [name, file] : before) EXPECT_EQ(files.files[name].bytes, file.bytes) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Failures, AppendFailureTest,
    ::testing::Values(
        FailureCase{"ReadOnlyLog", [](auto& f) { f.files[kLog].readOnly = true; },
                    "Cannot create file C:\\DVN\\dvn.dvl"},
        // Another program holds the log open for writing: its text cannot
        // be read, and must not be written over.
        FailureCase{"HeldOpenByAnotherProgram", [](auto& f) { f.files[kLog].heldOpen = true; },
                    "Cannot create file C:\\DVN\\dvn.dvl"},
        // Reading is refused but writing is not: the text the run holds
        // must still not replace what the log holds.
        FailureCase{"UnreadableLog", [](auto& f) { f.files[kLog].unreadable = true; },
                    "Cannot create file C:\\DVN\\dvn.dvl"},
        FailureCase{"MediumFullMidWrite", [](auto& f) { f.freeSpace = 12; },
                    "Stream write error"},
        FailureCase{"FlushFails", [](auto& f) { f.flushFails = true; }, "Stream write error"},
        // Each attempt makes a temporary file, then writes in place.
        FailureCase{"BothAttemptsFail", [](auto& f) { f.failingCreates = 4; },
                    "Cannot create file C:\\DVN\\dvn.dvl"},
        FailureCase{"MissingFolder",
                    [](auto& f) {
                      f.files.clear();
                      f.unwritableFolders = {"c:\\dvn"};
                    },
                    "Cannot create file C:\\DVN\\dvn.dvl"},
        FailureCase{"EmptyName", [](auto&) {}, "Cannot create file ", ""},
        FailureCase{"FolderName", [](auto&) {}, "Cannot create file C:\\DVN\\", "C:\\DVN\\"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NotificationLogTest, AFailedWriteAfterASuccessfulReadIsTriedOnceMore) {
  files.files[kLog].bytes = "old\r\n";
  files.failingCreates = 1;
  Append();
  EXPECT_EQ(Log(), WithLine("old\r\n@\r\n"));
}

TEST_F(NotificationLogTest, AFailedWriteOfANewFileIsNotTriedAgain) {
  files.failingCreates = 2;  // the temporary file, then the log in place
  EXPECT_THROW(Append(), platform::Failure);
  EXPECT_TRUE(files.files.empty());
  EXPECT_EQ(files.failingCreates, 0);
  EXPECT_EQ(std::count_if(journal.begin(), journal.end(),
                          [](const std::string& step) { return step.rfind("create ", 0) == 0; }),
            2);
}

}  // namespace
