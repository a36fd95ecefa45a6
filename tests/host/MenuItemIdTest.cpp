#include <gtest/gtest.h>

#include "platform/Layout.h"

namespace {

constexpr layout::MenuItem kMenu[] = {
    {"miShutDown", nullptr, "Shut &Down", nullptr},
    {"miShutDownWindows", "miShutDown", "&Shut Down Windows", nullptr},
    {"N1", nullptr, "-", nullptr},
    {"miShut", nullptr, "&Shut", nullptr},
};

// Known when compiling: the setup takes the Exit command from this.
static_assert(layout::MenuItemId(kMenu, "miShut") == layout::MenuItemId(3));

TEST(MenuItemId, NamesMatchWholeNotByTheirBeginning) {
  struct Case {
    const char* name;
    int id;
  } cases[] = {
      {"miShutDown", layout::kFirstMenuId},
      {"miShutDownWindows", layout::kFirstMenuId + 1},  // a submenu's item counts in table order
      {"N1", layout::kFirstMenuId + 2},
      {"miShut", layout::kFirstMenuId + 3},
      {"miShutDownW", 0},
      {"miShutDownWindowsX", 0},
      {"", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layout::MenuItemId(kMenu, c.name), c.id) << "\"" << c.name << "\"";
  }
}

}  // namespace
