// The window order the controls are made in: screen readers name an edit
// box or a list by the static text just before it. (That the dialog keys
// follow the tab order the end-to-end tests show on the dialog itself.)

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Layout.h"
#include "resources/AboutLayout.h"
#include "resources/SettingsLayout.h"
#include "resources/SplashLayout.h"

namespace {

using layout::Kind;

struct Window {
  const char* name;
  const layout::Control* table;
  std::size_t count;
  const layout::NamedBy* names;
  std::size_t nameCount;
};

template <std::size_t N>
Window WindowOf(const char* name, const layout::Control (&table)[N]) {
  return {name, table, N, nullptr, 0};
}
template <std::size_t N, std::size_t M>
Window WindowOf(const char* name, const layout::Control (&table)[N],
                const layout::NamedBy (&names)[M]) {
  return {name, table, N, names, M};
}

const Window kWindows[] = {
    WindowOf("splash", layout::kSplashLayout),
    WindowOf("settings", layout::kSettingsLayout, layout::kSettingsNames),
    WindowOf("about", layout::kAboutLayout),
};

std::vector<std::size_t> OrderOf(const Window& window) {
  return layout::WindowOrder(window.table, window.count, window.names, window.nameCount);
}

// The rows of the window's children of `parent` (`count`: the window's
// own), in window order.
std::vector<std::size_t> Siblings(const Window& window, std::size_t parent) {
  const std::vector<std::size_t> parents = layout::ParentRows(window.table, window.count);
  std::vector<std::size_t> siblings;
  for (std::size_t row : OrderOf(window)) {
    if (parents[row] == parent) siblings.push_back(row);
  }
  return siblings;
}

TEST(WindowOrderTest, EachLabelThatNamesAControlStandsJustBeforeIt) {
  for (const Window& window : kWindows) {
    const std::vector<std::size_t> parents = layout::ParentRows(window.table, window.count);
    for (std::size_t n = 0; n < window.nameCount; ++n) {
      const layout::NamedBy& named = window.names[n];
      const layout::Control& control = window.table[named.control];
      const layout::Control& by = window.table[named.by];
      SCOPED_TRACE(std::string(window.name) + ": " + control.name + " by " + by.name);
      if (by.kind != Kind::Label) continue;
      // Screen readers look for the label among the control's siblings.
      ASSERT_EQ(parents[named.by], parents[named.control]);
      const std::vector<std::size_t> siblings = Siblings(window, parents[named.control]);
      const auto at = std::find(siblings.begin(), siblings.end(), named.control);
      ASSERT_NE(at, siblings.begin());
      EXPECT_STREQ(window.table[*(at - 1)].name, by.name);
    }
  }
}

// A label that the table lists after another picture is moved to the
// control it names; a label of another container cannot name it that way,
// and nothing is moved for it.
TEST(WindowOrderTest, ALabelIsMovedToTheControlItNamesWithinItsContainer) {
  constexpr layout::Control kTable[] = {
      {"edName", Kind::Edit, nullptr, 0, 40, 100, 21, "", 0, 0},
      {"laName", Kind::Label, nullptr, 0, 20, 100, 13, "Name:", -1, 0},
      {"imPicture", Kind::Image, nullptr, 0, 0, 32, 32, "", -1, 0},
      {"paBox", Kind::Panel, nullptr, 0, 70, 100, 50, "", 1, 0},
      {"lbItems", Kind::ListBox, "paBox", 8, 8, 80, 30, "", 0, 0},
      {"laItems", Kind::Label, nullptr, 0, 60, 100, 13, "Items:", -1, 0},
  };
  constexpr layout::NamedBy kNames[] = {{0, 1}, {4, 5}};
  const std::vector<std::size_t> order = layout::WindowOrder(kTable, 6, kNames, 2);
  std::vector<std::string> names;
  for (std::size_t row : order) names.push_back(kTable[row].name);
  EXPECT_EQ(names, (std::vector<std::string>{"imPicture", "laItems", "laName", "edName", "paBox",
                                             "lbItems"}));
}

}  // namespace
