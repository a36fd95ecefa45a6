// Files, clock and locale under the real system, and the log on real
// files. Every test works in a scratch folder of its own under the temp
// folder, made fresh and removed after.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/win32/Win32Files.h"
#include "shell/NotificationLog.h"

namespace {

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = ::FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + name;
      ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryA(folder.c_str());
}

class FixedClock : public platform::Clock {
 public:
  platform::LocalTime Now() override {
    platform::LocalTime time;
    time.year = 2026, time.month = 12, time.day = 8;
    time.hour = 16, time.minute = 35, time.second = 12;
    return time;
  }
};

class Win32FilesTest : public ::testing::Test {
 public:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    ASSERT_NE(::GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = std::string(temp) + "dorvane-files-" + std::to_string(::GetCurrentProcessId()) + "\\";
    RemoveTree(folder_);
    ASSERT_TRUE(::CreateDirectoryA(folder_.c_str(), nullptr));
  }
  void TearDown() override {
    RemoveTree(folder_);
    EXPECT_EQ(::GetFileAttributesA(folder_.c_str()), INVALID_FILE_ATTRIBUTES);
  }

  std::string Path(const std::string& name) const { return folder_ + name; }
  void Put(const std::string& name, const std::string& bytes) {
    HANDLE file = ::CreateFileA(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
  }
  std::string Get(const std::string& name) {
    std::string bytes = "<no file>";
    files.ReadAll(Path(name), bytes);
    return bytes;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder_ + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
  }
  // Another program's handle on a file of the folder.
  HANDLE Hold(const std::string& name, DWORD access, DWORD share) {
    return ::CreateFileA(Path(name).c_str(), access, share, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  // Appends a line for a disk labelled "X" in A: and returns the failure's
  // message, or "" when the line was written.
  std::string Append(const std::string& name) {
    platform::Win32Locale locale;
    FixedClock clock;
    NotificationLog log(files, clock, locale);
    std::string buffer;
    try {
      log.AppendLogLine(buffer, Path(name), "X", 'A');
    } catch (const platform::Failure& failure) {
      return failure.what();
    }
    return "";
  }

  platform::Win32Files files;

 private:
  std::string folder_;
};

const std::string kLine =
    "12/8/2026   -   4:35:12 PM   -   Left a disk with the label \"X\" in the A-drive.";

TEST_F(Win32FilesTest, AMissingFileOrFolderIsNotFoundAndLeavesTheBytes) {
  std::string bytes = "canary";
  EXPECT_EQ(files.ReadAll(Path("none.dvl"), bytes), platform::ReadResult::NotFound);
  EXPECT_EQ(files.ReadAll(Path("none\\dvn.dvl"), bytes), platform::ReadResult::NotFound);
  EXPECT_EQ(bytes, "canary");
  EXPECT_FALSE(files.IsReadOnly(Path("none.dvl")));
}

TEST_F(Win32FilesTest, CreatesOverAnOldFileAndReplacesWithEveryByteKept) {
  std::string text;
  for (int byte = 0; byte < 256; ++byte) text += static_cast<char>(byte);
  text += "\r\n";
  Put("new.tmp", std::string(100000, 'o'));  // longer than the new text
  Put("dvn.dvl", "old");
  {
    std::unique_ptr<platform::WritableFile> file = files.Create(Path("new.tmp"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Write(text.data(), static_cast<std::uint32_t>(text.size())), text.size());
    EXPECT_TRUE(file->Flush());
  }
  ASSERT_TRUE(files.Replace(Path("new.tmp"), Path("dvn.dvl")));
  EXPECT_EQ(Get("dvn.dvl"), text);
  EXPECT_EQ(Names(), std::vector<std::string>{"dvn.dvl"});
  EXPECT_FALSE(files.Replace(Path("new.tmp"), Path("dvn.dvl"))) << "the source is gone";
  EXPECT_TRUE(files.Delete(Path("dvn.dvl")));
  EXPECT_FALSE(files.Delete(Path("dvn.dvl")));
}

// The text is read into a buffer of the file's size: a file larger than
// one read, and one of no bytes, come back exactly.
TEST_F(Win32FilesTest, ReadsLargeAndEmptyFilesWhole) {
  std::string large;
  for (int i = 0; large.size() < 300 * 1024 + 7; ++i) large += std::to_string(i) + "\r\n";
  Put("large.dvl", large);
  EXPECT_EQ(Get("large.dvl"), large);
  Put("empty.dvl", "");
  EXPECT_EQ(Get("empty.dvl"), "");
}

TEST_F(Win32FilesTest, ReadingLetsOthersReadButNotWrite) {
  Put("dvn.dvl", "old");
  std::string bytes;
  HANDLE reader = Hold("dvn.dvl", GENERIC_READ, FILE_SHARE_READ);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.ReadAll(Path("dvn.dvl"), bytes), platform::ReadResult::Ok);
  EXPECT_EQ(bytes, "old");
  ::CloseHandle(reader);

  HANDLE writer = Hold("dvn.dvl", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.ReadAll(Path("dvn.dvl"), bytes), platform::ReadResult::Failed);
  ::CloseHandle(writer);
}

// A small file: read up to its limit, refused above it and when the name
// is a device's, before anything is read.
TEST_F(Win32FilesTest, ASmallFileIsReadOnlyWhenItIsOnADiskAndWithinItsLimit) {
  Put("de.txt", "1234");
  const struct {
    std::string path;
    std::size_t limit;
    platform::ReadResult result;
  } cases[] = {
      {Path("de.txt"), 4, platform::ReadResult::Ok},
      {Path("de.txt"), 3, platform::ReadResult::Failed},
      {Path("none.txt"), 4, platform::ReadResult::NotFound},
      {"NUL", 4, platform::ReadResult::Failed},
  };
  for (const auto& c : cases) {
    std::string bytes = "before";
    EXPECT_EQ(files.ReadSmall(c.path, c.limit, bytes), c.result) << c.path << " " << c.limit;
    EXPECT_EQ(bytes, c.result == platform::ReadResult::Ok ? "1234" : "before") << c.path;
  }
}

TEST_F(Win32FilesTest, AFileBeingWrittenIsSharedWithNobody) {
  std::unique_ptr<platform::WritableFile> file = files.Create(Path("dvn.dvl"));
  ASSERT_NE(file, nullptr);
  HANDLE other = Hold("dvn.dvl", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_EQ(other, INVALID_HANDLE_VALUE);
  if (other != INVALID_HANDLE_VALUE) ::CloseHandle(other);
}

TEST_F(Win32FilesTest, AppendsTheEnglishLineToARealLogWithoutLeavingATemporaryFile) {
  Put("dvn.dvl", "old\nline");
  EXPECT_EQ(Append("dvn.dvl"), "");
  EXPECT_EQ(Get("dvn.dvl"), "old\r\nline\r\n" + kLine);
  EXPECT_EQ(Names(), std::vector<std::string>{"dvn.dvl"});

  EXPECT_EQ(Append("new.dvl"), "");
  EXPECT_EQ(Get("new.dvl"), kLine + "\r\n");
}

// The temporary file is a new file of a name that the folder did not hold:
// nothing of the user's is opened, and the log still gets its line.
TEST_F(Win32FilesTest, TheTemporaryFileNeverTakesTheNameOfAFileOrFolderOfTheUsers) {
  Put("dvn.dvl", "old\r\n");
  ::CreateDirectoryA(Path("dvn.dvl.tmp").c_str(), nullptr);
  std::string first;
  std::string second;
  {
    auto a = files.CreateBeside(Path("dvn.dvl"), first);
    auto b = files.CreateBeside(Path("dvn.dvl"), second);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
  }
  EXPECT_NE(first, second);
  EXPECT_EQ(first.rfind(Path(""), 0), 0u) << first << " is beside the log";
  ::DeleteFileA(first.c_str());
  ::DeleteFileA(second.c_str());

  EXPECT_EQ(Append("dvn.dvl"), "");
  EXPECT_EQ(Get("dvn.dvl"), "old\r\n" + kLine + "\r\n");
  EXPECT_NE(::GetFileAttributesA(Path("dvn.dvl.tmp").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  ::RemoveDirectoryA(Path("dvn.dvl.tmp").c_str());
  EXPECT_EQ(Names(), std::vector<std::string>{"dvn.dvl"}) << "no temporary file is left";
}

// Each row leaves the log "old\r\n" in place and makes the append fail.
struct BlockedCase {
  const char* name;
  void (*arrange)(Win32FilesTest& test, std::vector<HANDLE>& held);
};

class Win32BlockedLogTest : public Win32FilesTest,
                            public ::testing::WithParamInterface<BlockedCase> {};

TEST_P(Win32BlockedLogTest, FailsWithCannotCreateAndKeepsTheLog) {
  Put("dvn.dvl", "old\r\n");
  std::vector<HANDLE> held;
  GetParam().arrange(*this, held);
  const std::vector<std::string> before = Names();
  const DWORD attributes = ::GetFileAttributesA(Path("dvn.dvl").c_str());
  EXPECT_EQ(Append("dvn.dvl"), "Cannot create file " + Path("dvn.dvl"));
  for (HANDLE handle : held) ::CloseHandle(handle);
  EXPECT_EQ(Get("dvn.dvl"), "old\r\n");
  EXPECT_EQ(::GetFileAttributesA(Path("dvn.dvl").c_str()), attributes);
  EXPECT_EQ(Names(), before) << "no temporary file is left";
}

INSTANTIATE_TEST_SUITE_P(
    Blocked, Win32BlockedLogTest,
    ::testing::Values(
        BlockedCase{"ReadOnlyLog",
                    [](Win32FilesTest& test, std::vector<HANDLE>&) {
                      ::SetFileAttributesA(test.Path("dvn.dvl").c_str(), FILE_ATTRIBUTE_READONLY);
                      EXPECT_TRUE(test.files.IsReadOnly(test.Path("dvn.dvl")));
                    }},
        // Read fine, but the log cannot be replaced while another program
        // holds it open at all.
        BlockedCase{"HeldOpenForReading",
                    [](Win32FilesTest& test, std::vector<HANDLE>& held) {
                      held.push_back(test.Hold("dvn.dvl", GENERIC_READ, FILE_SHARE_READ));
                      ASSERT_NE(held.back(), INVALID_HANDLE_VALUE);
                    }},
        BlockedCase{"HeldOpenForWriting",
                    [](Win32FilesTest& test, std::vector<HANDLE>& held) {
                      held.push_back(
                          test.Hold("dvn.dvl", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
                      ASSERT_NE(held.back(), INVALID_HANDLE_VALUE);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32FilesTest, TheApplicationDirectoryIsTheTestProgramsFolder) {
  const std::string directory = files.ApplicationDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(directory.back(), '\\');
  EXPECT_NE(::GetFileAttributesA((directory + "win_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32ClockTest, GivesTheLocalDate) {
  SYSTEMTIME system = {};
  ::GetLocalTime(&system);
  const platform::LocalTime now = platform::Win32Clock().Now();
  EXPECT_EQ(now.year, system.wYear);
  EXPECT_EQ(now.month, system.wMonth);
  EXPECT_EQ(now.day, system.wDay);
  EXPECT_EQ(now.dayOfWeek, system.wDayOfWeek);
}

// A fresh prefix is English (United States) whatever the host's language.
TEST(Win32LocaleTest, AFreshSystemGivesTheEnglishUnitedStatesValues) {
  platform::Win32Locale locale;
  EXPECT_EQ(locale.ThreadLocale(), 0x409u);
  const std::pair<std::uint32_t, const char*> expected[] = {
      {platform::kLocaleSShortDate, "M/d/yyyy"}, {platform::kLocaleSDate, "/"},
      {platform::kLocaleSTime, ":"},            {platform::kLocaleITLZero, "0"},
      {platform::kLocaleITime, "0"},            {platform::kLocaleITimeMarkPosn, "0"},
      {platform::kLocaleS1159, "AM"},           {platform::kLocaleS2359, "PM"}};
  for (std::uint32_t id : {platform::kLocaleUserDefault, locale.ThreadLocale()}) {
    for (const auto& [type, value] : expected) {
      EXPECT_EQ(locale.Info(id, type), value) << "locale " << id << ", value " << type;
    }
  }
  EXPECT_EQ(locale.Info(platform::kLocaleUserDefault, 0xFFFF), "") << "no such value";
  EXPECT_FALSE(locale.IsLeadByte(0x81)) << "code page 1252 has no double-byte characters";
  EXPECT_TRUE(locale.LeadByteRanges().empty()) << "code page 1252 has no lead bytes";
}

}  // namespace
