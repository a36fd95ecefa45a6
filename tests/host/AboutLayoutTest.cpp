// The About dialog's layout table against the dialog as designed: the
// window, every control with its place, size, text and options, the fonts
// and the two addresses. The end-to-end tests compare the screen with this
// table, so a slip here would go unnoticed there.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resources/AboutLayout.h"

namespace {

using layout::Kind;

struct DesignedControl {
  const char* name;
  Kind kind;
  int left;  // the right edge for a right-aligned label
  int top;
  int width;
  int height;
  const char* text;  // null: checked on its own below
  bool takesFocus;
  unsigned options;
};

// Labels that size themselves keep only their height from the design; the
// links' widths come from their text alone.
const DesignedControl kDesigned[] = {
    {"imLogo", Kind::Image, 24, 24, 132, 138, "", false, layout::kAutoSize | layout::kTransparent},
    {"imKestrome", Kind::Image, 192, 16, 160, 40, "Kestrome Software", false, layout::kAutoSize},
    {"laName", Kind::Label, 192, 64, 245, 51, "Dorvane", false, layout::kAutoSize},
    {"laVersion", Kind::Label, 195, 112, 53, 13, "Version 4.0", false, layout::kAutoSize},
    {"beSeparator", Kind::Bevel, 8, 184, 441, 9, "", false, 0},
    {"laWebSite", Kind::Label, 8, 190, 0, 13, nullptr, true, layout::kAutoSize | layout::kLink},
    {"laEMail", Kind::Label, 449, 190, 0, 13, nullptr, true,
     layout::kAutoSize | layout::kAlignRight | layout::kLink},
    {"beSep2", Kind::Bevel, 8, 209, 441, 7, "", false, 0},
    {"buOK", Kind::Button, 344, 216, 105, 25, "&OK", true, 0},
};

TEST(AboutLayoutTest, TheWindowIsTheDesignedOne) {
  EXPECT_STREQ(layout::kAboutWindow.className, "TfmAbout");
  EXPECT_STREQ(EnglishOf(layout::kAboutWindow.caption), "About Dorvane");
  EXPECT_EQ(layout::kAboutWindow.clientWidth, 456);
  EXPECT_EQ(layout::kAboutWindow.clientHeight, 248);
}

TEST(AboutLayoutTest, EveryControlIsWhereAndWhatItWasDesignedToBe) {
  const size_t count = sizeof layout::kAboutLayout / sizeof layout::kAboutLayout[0];
  ASSERT_EQ(count, sizeof kDesigned / sizeof kDesigned[0]);
  for (size_t i = 0; i < count; ++i) {
    const layout::Control& control = layout::kAboutLayout[i];
    const DesignedControl& designed = kDesigned[i];
    SCOPED_TRACE(designed.name);
    EXPECT_STREQ(control.name, designed.name);
    EXPECT_EQ(control.kind, designed.kind);
    EXPECT_EQ(control.parent, nullptr) << "every control lies on the dialog itself";
    EXPECT_EQ(control.left, designed.left);
    EXPECT_EQ(control.top, designed.top);
    EXPECT_EQ(control.width, designed.width);
    EXPECT_EQ(control.height, designed.height);
    if (designed.text != nullptr) {
      EXPECT_STREQ(EnglishOf(control.text), designed.text);
    }
    EXPECT_EQ(control.tabOrder >= 0, designed.takesFocus) << "the links and OK take the focus";
    EXPECT_EQ(control.options, designed.options);
  }
}

TEST(AboutLayoutTest, TheFontsAreTheDesignedOnes) {
  struct Case {
    const char* use;
    const layout::Font& font;
    const char* face;
    int height;
    bool bold;
    bool underline;
  };
  const Case cases[] = {
      {"dialog", layout::kAboutDialogFont, "MS Sans Serif", 11, false, false},
      {"name", layout::kAboutNameFont, "Arial", 43, true, false},
      {"links", layout::kAboutLinkFont, "MS Sans Serif", 11, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.use);
    EXPECT_STREQ(c.font.face, c.face);
    EXPECT_EQ(c.font.height, c.height);
    EXPECT_EQ(c.font.bold, c.bold);
    EXPECT_EQ(c.font.underline, c.underline);
  }
}

std::string TextOf(const char* name) {
  for (const layout::Control& control : layout::kAboutLayout) {
    if (std::strcmp(control.name, name) == 0) return EnglishOf(control.text);
  }
  return std::string();
}

// The links open exactly what they show, the e-mail link behind "mailto:":
// so the labels must show a complete web address and a bare e-mail address.
TEST(AboutLayoutTest, TheLinksShowTheMakersAddressesReadyToOpen) {
  const std::string web = TextOf("laWebSite");
  const std::string mail = TextOf("laEMail");
  EXPECT_EQ(web, layout::kMakerWebSite);
  EXPECT_EQ(mail, layout::kMakerEMail);

  EXPECT_EQ(web.rfind("http://", 0), 0u) << web;
  EXPECT_NE(web.find("kestrome"), std::string::npos) << web;
  EXPECT_EQ(web.find(' '), std::string::npos) << web;

  EXPECT_EQ(mail.find("mailto:"), std::string::npos) << "the link adds it: " << mail;
  const size_t at = mail.find('@');
  ASSERT_NE(at, std::string::npos) << mail;
  EXPECT_GT(at, 0u);
  EXPECT_EQ(mail.find('@', at + 1), std::string::npos) << mail;
  EXPECT_NE(mail.find("kestrome", at), std::string::npos) << mail;
  EXPECT_EQ(mail.find(' '), std::string::npos) << mail;
}

}  // namespace
