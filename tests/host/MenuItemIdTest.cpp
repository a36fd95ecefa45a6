#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <type_traits>

#include "platform/Layout.h"

namespace {

constexpr layout::MenuItem kMenu[] = {
    {"miShutDown", nullptr, "Shut &Down", nullptr},
    {"miShutDownWindows", "miShutDown", "&Shut Down Windows", nullptr},
    {"N1", nullptr, "-", nullptr},
    {"miShut", nullptr, "&Shut", nullptr},
};

constexpr layout::Control kControls[] = {
    {"paBorder", layout::Kind::Panel, nullptr, 0, 0, 10, 10, "", -1, 0},
    {"buOK", layout::Kind::Button, "paBorder", 0, 0, 10, 10, "&OK", 0, 0},
    {"buOKAll", layout::Kind::Button, "paBorder", 0, 0, 10, 10, "OK &All", 1, 0},
};

// Known when compiling: the windows route their commands by these, in case
// labels, and the setup takes the Exit command from them.
static_assert(layout::MenuItemId(kMenu, "miShut") == layout::MenuItemId(3));
static_assert(layout::ControlId(kControls, "buOK") == layout::kFirstControlId + 1);

// A name as a template argument, to ask whether its row is a constant.
template <std::size_t N>
struct Name {
  constexpr Name(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) this->text[i] = text[i];
  }
  char text[N];
};

// Whether a window's member bound to `name` would compile: the windows
// bind their controls to rows worked out while compiling, so a misspelt
// name must fail the build rather than bind nothing.
template <Name name>
constexpr bool kBindable =
    requires { typename std::integral_constant<std::size_t, layout::IndexOf(kControls, name.text)>; };
static_assert(kBindable<"buOKAll">);
static_assert(!kBindable<"buOKA">);

struct IdCase {
  const char* name;
  int id;  // 0: not in the table
};

// The same lookups at run time, where a name that the table lacks throws
// instead of failing the build.
template <typename Lookup>
void ExpectIds(Lookup lookup, std::initializer_list<IdCase> cases) {
  for (const IdCase& c : cases) {
    if (c.id != 0) {
      EXPECT_EQ(lookup(c.name), c.id) << "\"" << c.name << "\"";
    } else {
      EXPECT_THROW(lookup(c.name), const char*) << "\"" << c.name << "\"";
    }
  }
}

TEST(LayoutIds, NamesMatchWholeNotByTheirBeginning) {
  ExpectIds([](const char* name) { return layout::MenuItemId(kMenu, name); },
            {
                {"miShutDown", layout::kFirstMenuId},
                // a submenu's item counts in table order
                {"miShutDownWindows", layout::kFirstMenuId + 1},
                {"N1", layout::kFirstMenuId + 2},
                {"miShut", layout::kFirstMenuId + 3},
                {"miShutDownW", 0},
                {"miShutDownWindowsX", 0},
                {"", 0},
            });
  ExpectIds([](const char* name) { return layout::ControlId(kControls, name); },
            {
                {"paBorder", layout::kFirstControlId},
                {"buOK", layout::kFirstControlId + 1},
                {"buOKAll", layout::kFirstControlId + 2},
                {"buOKA", 0},
                {"bu", 0},
                {"miShut", 0},  // a menu item's name is no control's
            });
}

}  // namespace
