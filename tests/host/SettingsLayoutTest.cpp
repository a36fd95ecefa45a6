// The settings dialog's layout table against the dialog as designed, row
// by row. The end-to-end tests compare the screen with the table, so a
// slip in the table would pass unnoticed there.

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "resources/SettingsLayout.h"

namespace {

using layout::Kind;

struct DesignedControl {
  const char* name;
  Kind kind;
  const char* parent;
  int left;
  int top;
  int width;
  int height;
  const char* text;
  int tabOrder;  // -1: never takes the focus
};

const DesignedControl kDesigned[] = {
    {"pcSettings", Kind::PageControl, nullptr, 8, 8, 369, 257, "", 0},
    {"buCancel", Kind::Button, nullptr, 224, 272, 75, 25, "&Cancel", 1},
    {"buOK", Kind::Button, nullptr, 144, 272, 75, 25, "&OK", 2},
    {"buHelp", Kind::Button, nullptr, 304, 272, 75, 25, "&Help", 3},
    // The Drives page.
    {"imDrives", Kind::Image, "tsDrives", 8, 16, 32, 32, "", -1},
    {"lvDrives", Kind::ListView, "tsDrives", 48, 24, 281, 129, "", 0},
    {"laDrives", Kind::Label, "tsDrives", 8, 160, 321, 57,
     "Select the drives to be checked on shutdown by clicking on the checkboxes next to their "
     "icons. It is recommended to always leave the A-drive (Floppy disk) checked because most "
     "bootviruses come from floppy disks. ",
     -1},
    // The Sound page.
    {"imSound", Kind::Image, "tsSound", 8, 16, 32, 32, "", -1},
    {"rbNoSound", Kind::RadioButton, "tsSound", 48, 24, 129, 17, "&Never play any sound.", 1},
    {"rbSoundFile", Kind::RadioButton, "tsSound", 48, 48, 305, 17,
     "Play a sound &file upon notification", 2},
    {"paSoundFile", Kind::Panel, "tsSound", 64, 72, 289, 49, "", 0},
    {"edSound", Kind::Edit, "paSoundFile", 8, 12, 169, 21, "(None)", 0},
    {"buBrowse", Kind::Button, "paSoundFile", 184, 12, 25, 21, "...", 1},
    {"buTest", Kind::Button, "paSoundFile", 224, 12, 57, 21, "&Test", 2},
    {"rbSoundWindows", Kind::RadioButton, "tsSound", 48, 128, 249, 17,
     "Play a &Windows default sound upon notification.", 3},
    {"paSoundWindows", Kind::Panel, "tsSound", 64, 152, 289, 57, "", 4},
    {"rbDefaultExclamation", Kind::RadioButton, "paSoundWindows", 8, 8, 113, 17,
     "System &Exclamation", 1},
    {"rbDefaultQuestion", Kind::RadioButton, "paSoundWindows", 8, 32, 113, 17, "System &Question",
     0},
    {"rbDefaultError", Kind::RadioButton, "paSoundWindows", 152, 8, 113, 17, "System E&rror", 2},
    {"rbDefaultInformation", Kind::RadioButton, "paSoundWindows", 152, 32, 113, 17,
     "System &Information", 3},
    // The Logging page.
    {"imLogging", Kind::Image, "tsLogging", 8, 16, 32, 32, "", -1},
    {"chLogging", Kind::CheckBox, "tsLogging", 48, 24, 233, 13,
     "&Maintain a log-file and log all notifications.", 1},
    {"paLogging", Kind::Panel, "tsLogging", 64, 56, 289, 49, "", 0},
    {"edLogFile", Kind::Edit, "paLogging", 8, 12, 233, 21, "", 0},
    {"buBrowseLogFile", Kind::Button, "paLogging", 248, 12, 25, 21, "...", 1},
    // The Other page.
    {"imExclusion", Kind::Image, "tsOther", 8, 16, 32, 32, "", -1},
    {"laExclusion", Kind::Label, "tsOther", 48, 24, 263, 26,
     "Don't warn if the label of the detected disk is one of the following:", -1},
    {"paExclusion", Kind::Panel, "tsOther", 64, 64, 233, 89, "", 0},
    {"lbExclusion", Kind::ListBox, "paExclusion", 8, 16, 121, 57, "", 0},
    {"buExclusionAdd", Kind::Button, "paExclusion", 144, 16, 75, 25, "&Add", 1},
    {"buExclusionRemove", Kind::Button, "paExclusion", 144, 48, 75, 25, "&Remove", 2},
    {"chNoDialog", Kind::CheckBox, "tsOther", 48, 168, 241, 17,
     "&Don't show the warning dialog at all.", 1},
};

// Added below the designed controls: the removable drives' check box and
// the reminder's.
const DesignedControl kAdded[] = {
    {"chRemovableDrives", Kind::CheckBox, "tsOther", 48, 192, 305, 17,
     "Also check &USB sticks, memory cards and CDs in any drive.", 2},
    {"chRemindWhenAway", Kind::CheckBox, "tsOther", 48, 210, 305, 17,
     "Remind me when the computer is loc&ked or goes to sleep.", 3},
};

// One line on each page, shown only while a policy sets an option of the
// page; a text, without an access key.
const DesignedControl kManagedLines[] = {
    {"laManagedDrives", Kind::Label, "tsDrives", 48, 4, 305, 13,
     "Some settings are managed by your administrator.", -1},
    {"laManagedSound", Kind::Label, "tsSound", 48, 4, 305, 13,
     "Some settings are managed by your administrator.", -1},
    {"laManagedLogging", Kind::Label, "tsLogging", 48, 4, 305, 13,
     "Some settings are managed by your administrator.", -1},
    {"laManagedOther", Kind::Label, "tsOther", 48, 4, 305, 13,
     "Some settings are managed by your administrator.", -1},
};

// The pages, in the order of their tabs.
const char* const kPages[][2] = {
    {"tsDrives", "&Drives"},
    {"tsSound", "&Sound"},
    {"tsLogging", "&Logging"},
    {"tsOther", "&Other"},
};

const layout::Control* Find(const char* name) {
  for (const layout::Control& control : layout::kSettingsLayout) {
    if (std::strcmp(control.name, name) == 0) return &control;
  }
  return nullptr;
}

std::string OrNone(const char* text) { return text == nullptr ? "(none)" : text; }

TEST(SettingsLayoutTest, TheWindowIsTheDesignedOne) {
  EXPECT_STREQ(layout::kSettingsWindow.className, "TfmSettings");
  EXPECT_STREQ(EnglishOf(layout::kSettingsWindow.caption), "Dorvane 4.0");
  EXPECT_EQ(layout::kSettingsWindow.clientWidth, 384);
  EXPECT_EQ(layout::kSettingsWindow.clientHeight, 303);
}

void ExpectAsDesigned(const DesignedControl& designed) {
  SCOPED_TRACE(designed.name);
  const layout::Control* control = Find(designed.name);
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->kind, designed.kind);
  EXPECT_EQ(OrNone(control->parent), OrNone(designed.parent));
  EXPECT_EQ(control->left, designed.left);
  EXPECT_EQ(control->top, designed.top);
  EXPECT_EQ(control->width, designed.width);
  EXPECT_EQ(control->height, designed.height);
  EXPECT_STREQ(EnglishOf(control->text), designed.text);
  EXPECT_EQ(control->tabOrder, designed.tabOrder);
}

TEST(SettingsLayoutTest, EveryControlHasItsDesignedPlaceSizeTextAndTabOrder) {
  for (const DesignedControl& designed : kDesigned) ExpectAsDesigned(designed);
  for (const DesignedControl& added : kAdded) ExpectAsDesigned(added);
  for (const DesignedControl& line : kManagedLines) ExpectAsDesigned(line);
}

TEST(SettingsLayoutTest, ThePageControlHoldsTheFourPagesInTabOrder) {
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(kPages[i][0]);
    const layout::Control* page = Find(kPages[i][0]);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->kind, Kind::TabSheet);
    EXPECT_STREQ(page->parent, "pcSettings");
    EXPECT_STREQ(EnglishOf(page->text), kPages[i][1]);
    EXPECT_EQ(page->tabOrder, i);
    // The pages share the page control's display area and hold every
    // control of theirs.
    EXPECT_LE(page->left + page->width, Find("pcSettings")->width);
    EXPECT_LE(page->top + page->height, Find("pcSettings")->height);
  }
  // Tab sheets are the table's order of tabs: they come in tab order.
  int previous = -1;
  for (const layout::Control& control : layout::kSettingsLayout) {
    if (control.kind != Kind::TabSheet) continue;
    EXPECT_EQ(control.tabOrder, previous + 1) << control.name;
    previous = control.tabOrder;
  }
}

// The upper-case access key of a caption, or 0.
char AccessKey(const char* text) {
  const char* amp = std::strchr(text, '&');
  if (amp == nullptr) return '\0';
  return static_cast<char>(std::toupper(static_cast<unsigned char>(amp[1])));
}

TEST(SettingsLayoutTest, TheAddedCheckBoxesStandUnderChNoDialogAndFollowItInTabOrder) {
  const char* const added[][2] = {{"chRemovableDrives", "chNoDialog"},
                                  {"chRemindWhenAway", "chRemovableDrives"}};
  for (const auto& [name, aboveName] : added) {
    SCOPED_TRACE(name);
    const layout::Control* box = Find(name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->options, 0u);

    const layout::Control* above = Find(aboveName);
    const layout::Control* page = Find("tsOther");
    EXPECT_EQ(box->left, above->left);
    EXPECT_GE(box->top, above->top + above->height);
    EXPECT_LE(box->left + box->width, page->width);
    EXPECT_LE(box->top + box->height, page->height);
    EXPECT_EQ(box->tabOrder, above->tabOrder + 1);

    // It overlaps no other control of its page, and follows the designed
    // ones in tab order.
    for (const layout::Control& other : layout::kSettingsLayout) {
      if (&other == box || other.parent == nullptr || std::strcmp(other.parent, "tsOther") != 0) {
        continue;
      }
      SCOPED_TRACE(other.name);
      EXPECT_TRUE(other.left + other.width <= box->left || box->left + box->width <= other.left ||
                  other.top + other.height <= box->top || box->top + box->height <= other.top);
    }
    for (const DesignedControl& designed : kDesigned) {
      if (designed.parent != nullptr && std::strcmp(designed.parent, "tsOther") == 0) {
        EXPECT_LT(designed.tabOrder, box->tabOrder) << designed.name;
      }
    }
  }

}

// The page that holds a control, through its panels; null for the
// dialog's own controls and the pages themselves.
const char* PageOf(const layout::Control& control) {
  const layout::Control* at = &control;
  while (at->parent != nullptr) {
    const layout::Control* parent = Find(at->parent);
    if (parent->kind == Kind::TabSheet) return parent->name;
    at = parent;
  }
  return nullptr;
}

// The tabs take their access keys before a page's controls, and a letter
// that two controls of one page share reaches only the first: each control
// that the product added to a page needs a letter of its own. (The designed
// texts keep their designed letters, D and O twice among them.)
TEST(SettingsLayoutTest, EachAddedControlHasAnAccessKeyOfItsOwn) {
  for (const DesignedControl& added : kAdded) {
    SCOPED_TRACE(added.name);
    const layout::Control* control = Find(added.name);
    const char key = AccessKey(EnglishOf(control->text));
    ASSERT_NE(key, '\0');
    for (const layout::Control& other : layout::kSettingsLayout) {
      if (&other == control) continue;
      const char* page = PageOf(other);
      const bool samePage = page != nullptr && std::strcmp(page, PageOf(*control)) == 0;
      const bool dialogWide = other.kind == Kind::TabSheet || other.parent == nullptr;
      if (samePage || dialogWide) {
        EXPECT_NE(AccessKey(EnglishOf(other.text)), key) << other.name;
      }
    }
  }
}

bool Overlap(const layout::Control& a, const layout::Control& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// The line of a managed page stands where no control of the page is, so
// that showing it moves none and covers none.
TEST(SettingsLayoutTest, EachPagesManagedLineCoversNoControlOfThePage) {
  for (const DesignedControl& managed : kManagedLines) {
    SCOPED_TRACE(managed.name);
    const layout::Control* line = Find(managed.name);
    ASSERT_NE(line, nullptr);
    const layout::Control* page = Find(line->parent);
    EXPECT_LE(line->left + line->width, page->width);
    for (const layout::Control& other : layout::kSettingsLayout) {
      if (&other == line || other.parent == nullptr || std::strcmp(other.parent, page->name) != 0) {
        continue;
      }
      EXPECT_FALSE(Overlap(*line, other)) << other.name;
    }
  }
}

TEST(SettingsLayoutTest, TheTableHoldsNothingElse) {
  std::set<std::string> expected;
  for (const DesignedControl& designed : kDesigned) expected.insert(designed.name);
  for (const DesignedControl& added : kAdded) expected.insert(added.name);
  for (const DesignedControl& line : kManagedLines) expected.insert(line.name);
  for (const auto& page : kPages) expected.insert(page[0]);
  std::set<std::string> actual;
  for (const layout::Control& control : layout::kSettingsLayout) {
    EXPECT_TRUE(actual.insert(control.name).second) << "twice: " << control.name;
  }
  EXPECT_EQ(actual, expected);
}

TEST(SettingsLayoutTest, TheImagesAreTheTabPicturesDrawnWithoutTheirBackground) {
  const char* const pictures[][2] = {{"imDrives", "TAB_DRIVES"},
                                     {"imSound", "TAB_SOUND"},
                                     {"imLogging", "TAB_LOGGING"},
                                     {"imExclusion", "TAB_OTHER"}};
  ASSERT_EQ(std::size(layout::kSettingsPictures), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(layout::kSettingsLayout[layout::kSettingsPictures[i].image].name, pictures[i][0]);
    EXPECT_STREQ(layout::kSettingsPictures[i].picture, pictures[i][1]);
    EXPECT_NE(Find(pictures[i][0])->options & layout::kTransparent, 0u) << pictures[i][0];
  }
  // Only the two texts wrap.
  for (const layout::Control& control : layout::kSettingsLayout) {
    const bool wraps = std::strcmp(control.name, "laDrives") == 0 ||
                       std::strcmp(control.name, "laExclusion") == 0;
    EXPECT_EQ((control.options & layout::kWordWrap) != 0, wraps) << control.name;
  }
}

}  // namespace

// Where a control may grow for a longer translation: into the room its page
// or panel leaves free, beside and below it, never over another control.
TEST(SettingsLayoutTest, ALongerTextGrowsIntoTheRoomThePageLeavesFree) {
  struct Case {
    const char* name;
    int width;   // the width it has grown to, for the room below
    int right;   // the right edge it may grow to
    int bottom;  // the bottom edge it may grow to
  };
  const Case cases[] = {
      {"rbNoSound", 129, 353, 44},             // to the page's margin; above rbSoundFile
      {"rbDefaultExclamation", 113, 148, 28},  // before rbDefaultError; above rbDefaultQuestion
      {"rbDefaultError", 113, 281, 28},        // to the panel's margin
      {"laExclusion", 305, 353, 60},           // down to paExclusion
      {"laDrives", 345, 353, 221},             // to the margins of the page
      {"chRemovableDrives", 305, 353, 209},    // no room below: it keeps its height
      {"buOK", 75, 219, 297},                  // the window keeps its size
  };
  constexpr std::size_t kCount = sizeof layout::kSettingsLayout / sizeof layout::kSettingsLayout[0];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const layout::Room room =
        layout::RoomToGrow(layout::kSettingsLayout, kCount,
                           layout::IndexOf(layout::kSettingsLayout, c.name), c.width);
    EXPECT_EQ(room.right, c.right);
    EXPECT_EQ(room.bottom, c.bottom);
  }
}
