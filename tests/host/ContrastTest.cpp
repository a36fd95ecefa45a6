// Whether the user has asked for high contrast: the system's answer where
// it has the feature, the setting kept in the user's profile where it does
// not know it (as under Wine, which answers no flag at all).

#include <gtest/gtest.h>

#include "platform/Contrast.h"

namespace {

using platform::kHcfAvailable;
using platform::kHcfHighContrastOn;

TEST(ContrastTest, TheSystemsAnswerWinsWhereItHasTheFeature) {
  struct Case {
    const char* name;
    unsigned systemFlags;
    const char* stored;
    bool on;
  };
  const Case cases[] = {
      {"on", kHcfAvailable | kHcfHighContrastOn, nullptr, true},
      {"off, whatever the profile keeps", kHcfAvailable | 0x7C, "127", false},
      {"not known: on in the profile", 0, "127", true},
      {"not known: off in the profile", 0, "126", false},
      {"not known, nothing kept", 0, nullptr, false},
      {"not known, kept empty", 0, "", false},
      {"not known, kept as no number", 0, "1x7", false},
      {"not known, kept beyond 32 bits", 0, "99999999999", false},
      {"not known, on without the other flags", 0, "1", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::HighContrastOn(c.systemFlags, c.stored), c.on);
  }
}

}  // namespace
