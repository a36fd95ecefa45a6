// The log on real files that refuse it, under Wine: a full medium, a
// write-protected medium, a read-only log, a log another program holds
// open, a folder that takes no new file, and a log path that names a
// folder. For each: what became of the log, the message the user saw, and
// what the program answered to the end of the session. Each adds its row
// to the failure figures.
//
// run-e2e.sh makes the media as root: drive F: is a small tmpfs, drive G:
// a tmpfs remounted read-only holding dvn.dvl, and the media folder's
// "sealed" folder holds dvn.dvl under chattr +i.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "tests/e2e/Driver.h"
#include "tests/figures/Figures.h"

namespace {

const char kFaults[] = "C:\\DorvaneTests\\faults";
const char kOldText[] = "old line\r\n";

std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::set<std::string> FileNames(const std::string& folder) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (::FindNextFileA(search, &found));
  ::FindClose(search);
  return names;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr) && written == bytes.size();
  ::CloseHandle(file);
  return ok;
}

// One line of the program's, for the disk in A: (a new prefix is en-US:
// "12/8/2026   -   4:35:12 PM   -   Left a disk ...").
bool IsOneLine(const std::string& added) {
  const std::string tail = "M   -   Left a disk with the label \"MYDISK\" in the A-drive.\r\n";
  return added.size() > tail.size() && added.find("\r\n") == added.size() - 2 &&
         added.compare(added.size() - tail.size(), tail.size(), tail) == 0;
}

struct Outcome {
  std::string intact;   // figures::LogIntact's verdict
  std::string message;  // the boxes' texts; empty when none came
  bool sessionMayEnd = false;
};

class LogFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
    ::CreateDirectoryA(kFaults, nullptr);
  }
  void TearDown() override { program.Kill(); }

  // Runs the program with its log at `logFile` and no warning box, asks
  // the end of the session once, and adds the row of what came of it.
  Outcome Run(const std::string& fault, const std::string& logFile) {
    e2e::StoreLoggingOnly(logFile);

    const std::string folder = FolderOf(logFile);
    const std::set<std::string> namesBefore = FileNames(folder);
    const std::string before = e2e::ReadFileBytes(logFile).value_or("");
    program.Start();
    const e2e::SessionEndReply reply = e2e::AskEndOfSession(program);
    program.Kill();

    Outcome outcome;
    int strays = 0;
    for (const std::string& name : FileNames(folder)) {
      if (namesBefore.count(name) == 0 && folder + "\\" + name != logFile) ++strays;
    }
    outcome.intact = figures::LogIntact(before, e2e::ReadFileBytes(logFile).value_or(""),
                                        IsOneLine, strays);
    for (const std::string& box : reply.boxes) {
      outcome.message += (outcome.message.empty() ? "" : " / ") + box;
    }
    outcome.sessionMayEnd = reply.answered && reply.answer != 0;
    figures::AddLogRow("Wine: " + fault, outcome.intact, outcome.message, outcome.sessionMayEnd);
    EXPECT_TRUE(reply.answered) << fault;
    return outcome;
  }

  static void ExpectRefused(const Outcome& outcome, const std::string& message) {
    EXPECT_EQ(outcome.message, message);
    EXPECT_EQ(outcome.intact, "unchanged");
    EXPECT_FALSE(outcome.sessionMayEnd);
  }
  static void ExpectLogged(const Outcome& outcome) {
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(outcome.intact, "one line added");
    EXPECT_TRUE(outcome.sessionMayEnd);
  }

  e2e::Program program;
};

// The medium holds the log and a file that takes every byte left: the
// temporary file is made, but not one byte fits in it.
TEST_F(LogFaultTest, AFullMediumKeepsTheLogAndHoldsTheSession) {
  const std::string log = "F:\\dvn.dvl", filler = "F:\\filler";
  if (::GetFileAttributesA("F:\\") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no drive F:";
  ASSERT_TRUE(WriteWholeFile(log, kOldText));
  HANDLE file = ::CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const std::string block(4096, 'x');
  DWORD written = 0;
  int blocks = 0;
  while (::WriteFile(file, block.data(), 4096, &written, nullptr) && written == 4096) ++blocks;
  const std::string rest(1, 'x');
  while (::WriteFile(file, rest.data(), 1, &written, nullptr) && written == 1) {
  }
  ::CloseHandle(file);
  ASSERT_GT(blocks, 0) << "the medium was full before the test";

  const Outcome outcome = Run("full medium", log);
  ::DeleteFileA(filler.c_str());
  ::DeleteFileA(log.c_str());
  ExpectRefused(outcome, "Stream write error.");
}

TEST_F(LogFaultTest, AWriteProtectedMediumKeepsTheLogAndHoldsTheSession) {
  if (!e2e::ReadFileBytes("G:\\dvn.dvl")) GTEST_SKIP() << "no write-protected medium in G:";
  ASSERT_FALSE(WriteWholeFile("G:\\probe.txt", "")) << "the medium takes new files";
  ExpectRefused(Run("write-protected medium", "G:\\dvn.dvl"), "Cannot create file G:\\dvn.dvl.");
}

TEST_F(LogFaultTest, AReadOnlyLogStaysAsItIs) {
  const std::string log = std::string(kFaults) + "\\readonly.dvl";
  ASSERT_TRUE(WriteWholeFile(log, kOldText));
  ASSERT_TRUE(::SetFileAttributesA(log.c_str(), FILE_ATTRIBUTE_READONLY));
  const Outcome outcome = Run("read-only log (attribute)", log);
  ::SetFileAttributesA(log.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(log.c_str());
  ExpectRefused(outcome, "Cannot create file " + log + ".");
}

// chattr +i: the folder takes no new file and no rename, even from root,
// while the log in it stays writable.
TEST_F(LogFaultTest, AWritableLogInAFolderThatTakesNoNewFileGetsItsLine) {
  const std::string log = e2e::MediaFolder() + "\\sealed\\dvn.dvl";
  if (!e2e::ReadFileBytes(log)) GTEST_SKIP() << "no sealed folder";
  ASSERT_FALSE(WriteWholeFile(e2e::MediaFolder() + "\\sealed\\probe.txt", ""))
      << "the folder takes new files";
  ExpectLogged(Run("folder that takes no new file", log));
}

TEST_F(LogFaultTest, ALogPathThatNamesAFolderMakesNoFile) {
  const std::string folder = kFaults;
  ExpectRefused(Run("log path names a folder", folder), "Cannot create file " + folder + ".");
  ExpectRefused(Run("log path names a folder, with a backslash", folder + "\\"),
                "Cannot create file " + folder + "\\.");
}

// --- another program holds the log open ---

struct HolderCase {
  const char* name;
  DWORD access;
  DWORD share;
  // Whether the sharing rules leave the program any way to the file: its
  // read shares only reading, its in-place write shares nothing, and its
  // replacement needs the holder to share deletion. Where they leave one,
  // either outcome may come, but a consistent one.
  bool mayGetThrough;
};

class LogHeldOpenTest : public LogFaultTest, public ::testing::WithParamInterface<HolderCase> {};

TEST_P(LogHeldOpenTest, TheLogGetsItsLineOrStaysAsItWas) {
  const HolderCase& holder = GetParam();
  const std::string log = std::string(kFaults) + "\\held.dvl";
  ASSERT_TRUE(WriteWholeFile(log, kOldText));

  const std::string event = "dorvane-holder-" + std::to_string(::GetCurrentProcessId());
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, event.c_str());
  char access[16], share[16];
  std::snprintf(access, sizeof access, "%lx", holder.access);
  std::snprintf(share, sizeof share, "%lx", holder.share);
  std::string command = "C:\\DorvaneTests\\LogHolder.exe " + log + " " + access + " " + share +
                        " " + event;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &info));
  ::CloseHandle(info.hThread);
  HANDLE waits[] = {ready, info.hProcess};
  const DWORD opened = ::WaitForMultipleObjects(2, waits, FALSE, 10000);

  Outcome outcome;
  if (opened == WAIT_OBJECT_0) outcome = Run(std::string("log held open: ") + holder.name, log);
  ::TerminateProcess(info.hProcess, 0);
  ::WaitForSingleObject(info.hProcess, 5000);
  ::CloseHandle(info.hProcess);
  ::CloseHandle(ready);
  ::DeleteFileA(log.c_str());
  ASSERT_EQ(opened, WAIT_OBJECT_0) << "the holder did not open the log";

  if (!holder.mayGetThrough) {
    ExpectRefused(outcome, "Cannot create file " + log + ".");
  } else if (outcome.sessionMayEnd) {
    ExpectLogged(outcome);
  } else {
    ExpectRefused(outcome, "Cannot create file " + log + ".");
  }
}

constexpr DWORD kReader = GENERIC_READ;
constexpr DWORD kWriter = GENERIC_READ | GENERIC_WRITE;
constexpr DWORD kR = FILE_SHARE_READ, kW = FILE_SHARE_WRITE, kD = FILE_SHARE_DELETE;

INSTANTIATE_TEST_SUITE_P(
    Holders, LogHeldOpenTest,
    ::testing::Values(
        // A writer makes the read fail, whatever it shares.
        HolderCase{"writer sharing nothing", kWriter, 0, false},
        HolderCase{"writer sharing READ", kWriter, kR, false},
        HolderCase{"writer sharing WRITE", kWriter, kW, false},
        HolderCase{"writer sharing READ|WRITE", kWriter, kR | kW, false},
        HolderCase{"writer sharing DELETE", kWriter, kD, false},
        HolderCase{"writer sharing READ|WRITE|DELETE", kWriter, kR | kW | kD, false},
        HolderCase{"reader sharing nothing", kReader, 0, false},
        HolderCase{"reader sharing READ", kReader, kR, false},
        HolderCase{"reader sharing WRITE", kReader, kW, false},
        HolderCase{"reader sharing READ|WRITE", kReader, kR | kW, false},
        HolderCase{"reader sharing DELETE", kReader, kD, false},
        HolderCase{"reader sharing READ|DELETE", kReader, kR | kD, true},
        HolderCase{"reader sharing READ|WRITE|DELETE", kReader, kR | kW | kD, true}),
    [](const auto& info) { return figures::TestNameOf(info.param.name); });

}  // namespace
