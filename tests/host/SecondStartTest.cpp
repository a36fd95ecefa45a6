// A second start in the session: it hands over to the running copy, waits
// only a bounded while for a copy that is starting, ending or hung, and
// runs the program itself only where no copy holds the session.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/fake/FakeSingleInstance.h"
#include "shell/SecondStart.h"

namespace {

const std::string kAsk = "ask Kestrome.Dorvane.4.0.ShowSettings 3000";

struct SecondStartCase {
  const char* name;
  bool otherCopy;
  int claimsUntilEnded;
  int lookupsWithoutWindow;
  std::optional<std::intptr_t> answer;
  TStartRole role;
  platform::Journal journal;
};

class SecondStartTest : public ::testing::TestWithParam<SecondStartCase> {};

TEST_P(SecondStartTest, FollowsTheRunningCopy) {
  const SecondStartCase& c = GetParam();
  platform::Journal journal;
  platform::FakeSingleInstance instance{journal};
  instance.otherCopy = c.otherCopy;
  instance.claimsUntilEnded = c.claimsUntilEnded;
  instance.lookupsWithoutWindow = c.lookupsWithoutWindow;
  instance.answer = c.answer;

  EXPECT_EQ(ClaimOrHandOver(instance, "TfmSplash"), c.role);
  EXPECT_EQ(journal, c.journal);
  EXPECT_EQ(instance.claimedName, "Kestrome.Dorvane.4.0");
  if (!instance.askedClass.empty()) {
    EXPECT_EQ(instance.askedClass, "TfmSplash");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecondStartTest,
    ::testing::Values(
        SecondStartCase{"NoneRunsSoThisStartRunsTheProgram", false, -1, 0, std::nullopt,
                        TStartRole::FirstCopy, {"claim won"}},
        SecondStartCase{"TheRunningCopyAnswersAndShowsItsSettings", true, -1, 0,
                        kShowSettingsAnswer, TStartRole::HandedOver,
                        {"claim held", "find window", "allow foreground", kAsk}},
        SecondStartCase{"AHungCopyKeepsTheSessionAndThisStartEnds", true, -1, 0, std::nullopt,
                        TStartRole::NoAnswer,
                        {"claim held", "find window", "allow foreground", kAsk, "claim held"}},
        SecondStartCase{"AnotherProgramsWindowOfThatClassIsNoAnswer", true, -1, 0, 0,
                        TStartRole::NoAnswer,
                        {"claim held", "find window", "allow foreground", kAsk, "claim held"}},
        SecondStartCase{"ACopyThatEndsWhileAskedLeavesTheSessionToThisStart", true, 1, 0,
                        std::nullopt, TStartRole::FirstCopy,
                        {"claim held", "find window", "allow foreground", kAsk, "claim won"}},
        SecondStartCase{"ACopyStillStartingIsAskedOnceItsWindowIsThere", true, -1, 2,
                        kShowSettingsAnswer, TStartRole::HandedOver,
                        {"claim held", "find none", "pause 100", "claim held", "find none",
                         "pause 100", "claim held", "find window", "allow foreground", kAsk}},
        SecondStartCase{"ACopyEndingWithoutItsWindowLeavesTheSessionToThisStart", true, 2, -1,
                        std::nullopt, TStartRole::FirstCopy,
                        {"claim held", "find none", "pause 100", "claim held", "find none",
                         "pause 100", "claim won"}}),
    [](const ::testing::TestParamInfo<SecondStartCase>& info) { return info.param.name; });

// A copy that holds the session but shows no main window here (another
// desktop of the session) must not keep the second start waiting.
TEST(SecondStartWaitTest, ACopyWithoutAMainWindowIsWaitedForTwoSecondsAtMost) {
  platform::Journal journal;
  platform::FakeSingleInstance instance{journal};
  instance.otherCopy = true;
  instance.lookupsWithoutWindow = -1;
  EXPECT_EQ(ClaimOrHandOver(instance, "TfmSplash"), TStartRole::NoAnswer);
  EXPECT_EQ(instance.pausedMs, 2000u);
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "find none"), 20);
  EXPECT_EQ(std::count(journal.begin(), journal.end(), kAsk), 0);
  EXPECT_EQ(journal.back(), "claim held");
}

}  // namespace
