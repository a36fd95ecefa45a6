// The scaling of the layouts to the display's DPI, and the choice of the
// pictures drawn for it.

#include <gtest/gtest.h>

#include "platform/Dpi.h"

namespace {

using platform::ScaleToDpi;

struct ScaleCase {
  const char* name;
  int value;
  int dpi;
  int expected;
};

// One layout row at each DPI, and the edges of the rounding: halves go
// away from zero, as MulDiv rounds them.
const ScaleCase kScaleCases[] = {
    {"dialog width at 100 %", 384, 96, 384},
    {"button width at 125 %", 75, 120, 94},
    {"dialog height at 150 %", 303, 144, 455},
    {"dialog height at 200 %", 303, 192, 606},
    {"a quarter rounds down", 1, 120, 1},
    {"three quarters round up", 3, 120, 4},
    {"a half rounds up", 1, 144, 2},
    {"a negative half rounds down", -1, 144, -2},
    {"a negative quarter rounds up", -1, 120, -1},
    {"a large value does not overflow", 30000000, 192, 60000000},
};

TEST(Dpi, ScalesEachLayoutValueAndRoundsHalvesAwayFromZero) {
  for (const ScaleCase& c : kScaleCases) {
    EXPECT_EQ(ScaleToDpi(c.value, c.dpi), c.expected) << c.name;
  }
}

TEST(Dpi, PicksTheSmallestArtNoSmallerThanTheDpiAsks) {
  constexpr int kFourScales[] = {100, 125, 150, 200};
  const struct {
    int dpi;
    int kept;      // among the scales the program keeps
    int fourWays;  // among four
  } cases[] = {{96, 100, 100}, {97, 200, 125}, {144, 200, 150}, {168, 200, 200}, {288, 200, 200}};
  for (const auto& c : cases) {
    EXPECT_EQ(platform::ArtScaleFor(c.dpi, platform::kArtScales), c.kept) << c.dpi << " DPI";
    EXPECT_EQ(platform::ArtScaleFor(c.dpi, kFourScales), c.fourWays) << c.dpi << " DPI";
  }
}

}  // namespace
