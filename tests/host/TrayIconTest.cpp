// The notification-area icon: added when the splash ends, added again when
// Explorer starts again, retried while the notification area refuses it.

#include <gtest/gtest.h>

#include "platform/fake/Fakes.h"
#include "shell/TrayIcon.h"

namespace {

class TrayIconTest : public ::testing::Test {
 protected:
  TrayIconTest() {
    shell.journal = &journal;
    record.window = reinterpret_cast<platform::WindowHandle>(0x5A1);
    record.id = TTrayIcon::kIconId;
  }

  bool Shown() const { return shell.icons.count({record.window, record.id}) != 0; }
  void Ticks(unsigned count) {
    for (unsigned i = 0; i < count; ++i) icon.RetryTick();
  }

  platform::Journal journal;
  platform::FakeDrives drives{journal};
  platform::FakeShell shell{drives};
  platform::FakeTimers timers{journal};
  platform::NotifyIconRecord record;
  TTrayIcon icon{shell, timers, record};
};

TEST_F(TrayIconTest, TheSplashsEndAddsTheIconOnce) {
  icon.SplashEnded();
  EXPECT_EQ(journal, (platform::Journal{"icon add"}));
  EXPECT_TRUE(Shown());
}

TEST_F(TrayIconTest, TaskbarCreatedDuringTheSplashAddsNothing) {
  icon.TaskbarCreated();
  EXPECT_TRUE(journal.empty());
  icon.SplashEnded();
  EXPECT_EQ(journal, (platform::Journal{"icon add"}));
}

TEST_F(TrayIconTest, TaskbarCreatedWhenResidentAddsTheLostIconAgain) {
  icon.SplashEnded();
  shell.ExplorerRestarted();
  journal.clear();
  icon.TaskbarCreated();
  EXPECT_EQ(journal, (platform::Journal{"icon add"}));
  EXPECT_TRUE(Shown());
}

TEST_F(TrayIconTest, AnIconThatExplorerKeptIsFoundThereWithoutRetries) {
  // A change of the screen's DPI: "TaskbarCreated" with the icon still shown.
  icon.SplashEnded();
  journal.clear();
  icon.TaskbarCreated();
  EXPECT_EQ(journal, (platform::Journal{"icon add refused", "icon modify"}));
  EXPECT_TRUE(timers.running.empty());
}

TEST_F(TrayIconTest, ANewIconForANewDpiReplacesTheShownOneOnly) {
  icon.IconChanged();  // during the splash: the add at its end brings it
  EXPECT_TRUE(journal.empty());
  icon.SplashEnded();
  journal.clear();
  icon.IconChanged();
  EXPECT_EQ(journal, (platform::Journal{"icon modify"}));
  shell.areaReady = false;
  icon.TaskbarCreated();
  ASSERT_TRUE(icon.Retrying());
  journal.clear();
  icon.IconChanged();  // retrying: the next add brings it
  EXPECT_TRUE(journal.empty());
}

TEST_F(TrayIconTest, AnAddThatTimedOutButTookNeedsNoRetry) {
  shell.nextAddTimesOut = true;
  icon.SplashEnded();
  EXPECT_EQ(journal, (platform::Journal{"icon add refused", "icon modify"}));
  EXPECT_FALSE(icon.Retrying());
}

TEST_F(TrayIconTest, ARefusedAddIsRetriedEveryTwoSecondsUntilItSucceeds) {
  shell.areaReady = false;
  icon.SplashEnded();
  EXPECT_EQ(journal, (platform::Journal{"icon add refused", "icon modify refused",
                                        "timer 2 every 2000"}));
  journal.clear();
  Ticks(3);
  EXPECT_EQ(journal.size(), 6u) << "each tick tries the add (and the change) again";
  EXPECT_TRUE(icon.Retrying());

  shell.areaReady = true;
  journal.clear();
  icon.RetryTick();
  EXPECT_EQ(journal, (platform::Journal{"icon add", "timer 2 stopped"}));
  EXPECT_TRUE(Shown());
  journal.clear();
  icon.RetryTick();
  EXPECT_TRUE(journal.empty()) << "a late tick of the stopped timer adds nothing";
}

TEST_F(TrayIconTest, RetriesStopAfterTwoMinutes) {
  shell.areaReady = false;
  icon.SplashEnded();
  Ticks(TTrayIcon::kRetries - 1);
  EXPECT_TRUE(icon.Retrying());
  journal.clear();
  icon.RetryTick();
  EXPECT_EQ(journal, (platform::Journal{"icon add refused", "icon modify refused",
                                        "timer 2 stopped"}));
  EXPECT_EQ(TTrayIcon::kRetries * TTrayIcon::kRetryIntervalMs, 120000u);
  journal.clear();
  icon.RetryTick();
  EXPECT_TRUE(journal.empty());
  EXPECT_FALSE(Shown());
}

TEST_F(TrayIconTest, TaskbarCreatedDuringRetriesAddsTheIconAndEndsThem) {
  shell.areaReady = false;
  icon.SplashEnded();
  Ticks(5);
  shell.areaReady = true;
  journal.clear();
  icon.TaskbarCreated();
  EXPECT_EQ(journal, (platform::Journal{"icon add", "timer 2 stopped"}));
  EXPECT_TRUE(timers.running.empty());
}

TEST_F(TrayIconTest, ARefusedAddAfterTaskbarCreatedStartsItsOwnTwoMinutes) {
  icon.SplashEnded();
  shell.ExplorerRestarted();
  shell.areaReady = false;
  journal.clear();
  icon.TaskbarCreated();
  EXPECT_EQ(journal.back(), "timer 2 every 2000");
  Ticks(TTrayIcon::kRetries - 1);
  EXPECT_TRUE(icon.Retrying());
}

TEST_F(TrayIconTest, ClosingDuringRetriesStopsThemAndRemovesTheIcon) {
  shell.areaReady = false;
  icon.SplashEnded();
  shell.areaReady = true;
  journal.clear();
  icon.Remove();
  EXPECT_EQ(journal, (platform::Journal{"timer 2 stopped", "icon delete refused"}));
  EXPECT_FALSE(icon.Retrying());
}

TEST_F(TrayIconTest, ClosingWhenResidentRemovesTheIcon) {
  icon.SplashEnded();
  journal.clear();
  icon.Remove();
  EXPECT_EQ(journal, (platform::Journal{"icon delete"}));
  EXPECT_FALSE(Shown());
}

}  // namespace
