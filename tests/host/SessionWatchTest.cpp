// Windows' session notices, asked for at the start: tried again while
// Windows refuses them (at logon, before its session services are up), and
// a final refusal told to the administrator once.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/Fakes.h"
#include "shell/SessionWatch.h"

namespace {

using platform::Journal;

const std::string kRefused = "watch session changes: 1702";  // RPC_S_INVALID_BINDING
const std::string kTimer = "timer 3 every 2000";

struct WatchCase {
  const char* name;
  std::vector<unsigned> answers;  // Windows' answers, in turn
  unsigned ticks;                 // of the retry timer
  Journal expected;
  bool watching;
};

TEST(SessionWatchTest, RefusalsAreRetriedAndTheLastIsReportedOnce) {
  const Journal refusedThrice = {kRefused, kTimer, kRefused, kRefused, "watch session changes",
                                 "timer 3 stopped"};
  Journal spent = {kRefused, kTimer};
  spent.insert(spent.end(), TSessionWatch::kRetries, kRefused);
  spent.push_back("timer 3 stopped");
  spent.push_back(
      "event 1002 warning Windows refused its session notices with error 1702 for five "
      "minutes|No lock of this session is reminded of.");
  const std::vector<unsigned> refusals(TSessionWatch::kRetries + 1, platform::kRpcInvalidBinding);
  const WatchCase cases[] = {
      {"accepted at once", {}, 3, {"watch session changes"}, true},
      {"no such call before Windows XP: nothing to wait for",
       {platform::kErrorProcNotFound}, 3, {"watch session changes: 127"}, false},
      {"refused at logon, accepted on the third retry", {1702, 1702, 1702}, 5, refusedThrice,
       true},
      {"refused for five minutes, and then no more", refusals, TSessionWatch::kRetries + 5,
       spent, false},
  };
  for (const WatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    Journal journal;
    platform::FakeSession session(journal);
    platform::FakeTimers timers(journal);
    platform::FakeEventLog events(journal);
    session.watchAnswers = c.answers;
    TSessionWatch watch(session, timers, events);
    watch.Start(reinterpret_cast<platform::WindowHandle>(0x5A1));
    for (unsigned i = 0; i < c.ticks; ++i) watch.RetryTick();
    EXPECT_EQ(journal, c.expected);
    EXPECT_EQ(watch.Watching(), c.watching);
    EXPECT_TRUE(timers.running.empty());
  }
}

TEST(SessionWatchTest, TheCloseEndsTheRetriesAndGivesUpOnlyNoticesItHas) {
  Journal journal;
  platform::FakeSession session(journal);
  platform::FakeTimers timers(journal);
  platform::FakeEventLog events(journal);
  session.watchAnswers = {platform::kRpcInvalidBinding};
  TSessionWatch watch(session, timers, events);
  watch.Start(reinterpret_cast<platform::WindowHandle>(0x5A1));
  watch.Stop();
  EXPECT_EQ(journal, (Journal{kRefused, kTimer, "timer 3 stopped"}));

  journal.clear();
  watch.Start(reinterpret_cast<platform::WindowHandle>(0x5A1));
  watch.Stop();
  EXPECT_EQ(journal, (Journal{"watch session changes", "stop watching session changes"}));
}

}  // namespace
