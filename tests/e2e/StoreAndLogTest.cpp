// The settings store and the notification log as a user meets them: the
// first start, a damaged store, and a log beside the reported disk.

#include <gtest/gtest.h>

#include <cstring>

#include "resources/SettingsLayout.h"
#include "tests/e2e/Driver.h"

namespace {

class StoreAndLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::DeleteSettings();
    e2e::InsertMedium('a');
  }
  void TearDown() override {
    program.Kill();
    ::DeleteFileA(LogOnTheDisk().c_str());
  }

  // Logging on into a bare file name, no box: the line goes to the root
  // of the drive that is reported.
  static void StoreLoggingToTheDisk() { e2e::StoreLoggingOnly("disk.dvl"); }

  static std::string LogOnTheDisk() { return e2e::MediaFolder() + "\\a\\disk.dvl"; }

  e2e::Program program;
};

TEST_F(StoreAndLogTest, TheFirstStartWritesTheDefaults) {
  program.Start();
  EXPECT_EQ(e2e::SettingString("Sound"), "NoSound");
  EXPECT_EQ(e2e::SettingString("SoundFile"), "(None)");
  EXPECT_EQ(e2e::SettingString("WindowsSound"), "Exclamation");
  EXPECT_EQ(e2e::SettingDword("Logging"), 0u);
  EXPECT_EQ(e2e::SettingString("LogFile"), e2e::ProgramFolder() + "dvn.dvl");
  EXPECT_EQ(e2e::SettingDword("NoDialog"), 0u);
  EXPECT_EQ(e2e::SettingString("Drives"), "A");
  HKEY labels = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Kestrome\\Dorvane\\4.0\\Exclusions", 0,
                            KEY_READ, &labels),
            ERROR_SUCCESS);
  DWORD values = 99;
  ::RegQueryInfoKeyA(labels, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                     nullptr, nullptr, nullptr);
  ::RegCloseKey(labels);
  EXPECT_EQ(values, 0u);
}

TEST_F(StoreAndLogTest, AMalformedBooleanResetsTheStore) {
  e2e::SetSettingString("Sound", "SoundWindows");
  e2e::SetSettingString("Drives", "AC");
  e2e::SetSettingString("Extra", "kept until a reset");
  e2e::SetSettingDword("Logging", 1);
  e2e::SetSettingString("NoDialog", "1");  // a text where a number belongs
  program.Start();
  EXPECT_EQ(e2e::SettingString("Sound"), "NoSound");
  EXPECT_EQ(e2e::SettingString("Drives"), "A");
  EXPECT_EQ(e2e::SettingDword("NoDialog"), 0u);
  EXPECT_EQ(e2e::SettingDword("Logging"), 0u);
  EXPECT_FALSE(e2e::SettingString("Extra").has_value());
}

TEST_F(StoreAndLogTest, ARelativeLogFileLandsInTheRootOfTheReportedDisk) {
  StoreLoggingToTheDisk();
  program.Start();

  e2e::EndSessionQuery query(program.MainWindow());
  ASSERT_TRUE(query.Answered(10000));
  EXPECT_EQ(query.Answer(), 1);
  auto log = e2e::ReadFileBytes(LogOnTheDisk());
  ASSERT_TRUE(log.has_value()) << "the probe made A:\\ the current directory";
  // A new prefix is en-US: "12/8/2026   -   4:35:12 PM   -   ..."
  const std::string tail = "   -   Left a disk with the label \"MYDISK\" in the A-drive.\r\n";
  ASSERT_GT(log->size(), tail.size());
  EXPECT_EQ(log->substr(log->size() - tail.size()), tail);
  EXPECT_NE(log->find("M   -   Left"), std::string::npos) << *log;
  EXPECT_EQ(log->find('\n'), log->size() - 1) << "exactly one line";
  EXPECT_FALSE(e2e::ReadFileBytes(e2e::ProgramFolder() + "disk.dvl").has_value());
}

// Wine keeps the regional settings that a process has read and does not
// see another process change them, so the settings are made before the
// program starts; rereading them on WM_WININICHANGE is covered on the host.
TEST_F(StoreAndLogTest, TheLogWritesDatesAndTimesAsTheRegionalSettingsSay) {
  StoreLoggingToTheDisk();

  HKEY international = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_ALL_ACCESS,
                            &international),
            ERROR_SUCCESS);
  auto set = [&](const char* name, const char* value) {
    ::RegSetValueExA(international, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                     static_cast<DWORD>(strlen(value) + 1));
  };
  set("sShortDate", "dd.MM.yyyy");
  set("sDate", ".");
  // Windows keeps iTime and iTLZero in step with the time format; Wine
  // answers them from the time format alone.
  set("sTimeFormat", "HH:mm:ss");
  set("iTime", "1");
  set("iTLZero", "1");
  program.Start();
  e2e::EndSessionQuery query(program.MainWindow());
  const bool answered = query.Answered(10000);
  auto log = e2e::ReadFileBytes(LogOnTheDisk());

  // The prefix as it was, for the tests that follow.
  set("sShortDate", "M/d/yyyy");
  set("sDate", "/");
  set("sTimeFormat", "h:mm:ss tt");
  set("iTime", "0");
  set("iTLZero", "0");
  ::RegCloseKey(international);

  ASSERT_TRUE(answered);
  ASSERT_TRUE(log.has_value());
  // "08.12.2026   -   16:35:12   -   Left ..."
  ASSERT_GT(log->size(), 38u);
  EXPECT_EQ((*log)[2], '.') << *log;
  EXPECT_EQ((*log)[5], '.') << *log;
  EXPECT_EQ(log->substr(10, 7), "   -   ") << *log;
  EXPECT_EQ((*log)[19], ':') << "two-digit hour of a 24-hour clock: " << *log;
  EXPECT_EQ(log->substr(25, 13), "   -   Left a") << "no designator: " << *log;
}

// The check works from the stored options alone: the settings dialog makes
// its controls only when it is first opened. An excluded label keeps its
// disk out of the log until then; opened, the dialog lists the labels in
// its sorted order. Without the label the same start logs the disk.
TEST_F(StoreAndLogTest, StoredLabelsGovernTheCheckBeforeTheDialogIsFirstOpened) {
  StoreLoggingToTheDisk();
  e2e::StoreLabel("ZZOTHER");
  e2e::StoreLabel("MYDISK");
  program.Start();
  {
    e2e::EndSessionQuery query(program.MainWindow());
    ASSERT_TRUE(query.Answered(10000));
    EXPECT_EQ(query.Answer(), 1);
  }
  EXPECT_FALSE(e2e::ReadFileBytes(LogOnTheDisk()).has_value()) << "an excluded label was logged";

  e2e::SendTrayCommand(program.MainWindow(), "miSettings");
  HWND dialog = program.Window("TfmSettings");
  ASSERT_TRUE(e2e::WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; }, 10000));
  int listId = 0;
  for (const layout::Control& control : layout::kSettingsLayout) {
    if (std::strcmp(control.name, "lbExclusion") == 0) {
      listId = layout::kFirstControlId + static_cast<int>(&control - layout::kSettingsLayout);
    }
  }
  HWND list = e2e::FindControl(dialog, listId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(e2e::ListBoxItems(program.ProcessId(), list),
            (std::vector<std::string>{"MYDISK", "ZZOTHER"}));
  program.Kill();

  e2e::DeleteSettings();
  StoreLoggingToTheDisk();
  e2e::StoreLabel("ZZOTHER");
  program.Start();
  e2e::EndSessionQuery query(program.MainWindow());
  ASSERT_TRUE(query.Answered(10000));
  EXPECT_TRUE(e2e::ReadFileBytes(LogOnTheDisk()).has_value()) << "the disk was not logged";
}

}  // namespace
