#pragma once
// The About dialog as laid out: the product's logo, name and version, the
// maker's logo, and the two links to the maker.

#include "platform/Layout.h"
#include "resources/Fonts.h"
#include "resources/Texts.h"

namespace layout {

constexpr Window kAboutWindow = {"TfmAbout", TextNamed("About.Caption"), 456, 248};

// Where the maker is reached. The links open exactly what they show: the
// web address as it is, the e-mail address behind "mailto:".
constexpr const char kMakerWebSite[] = "http://www.kestrome.com";
constexpr const char kMakerEMail[] = "support@kestrome.com";

// The two images start empty and size themselves to the main window's
// pictures when the dialog is created; the maker's logo is named for
// screen readers by the maker's name it shows, the product's logo, beside
// the product's name, is decoration. The labels size themselves to their
// text: laName and laVersion keep their designed sizes only as long as the
// fonts are the designed ones; laEMail keeps its right edge at 449, in line
// with the ends of the two lines, so a longer address grows to the left.
// The two links take the focus before OK, in reading order, so that the
// keyboard reaches them; OK has it when the dialog shows.
constexpr Control kAboutLayout[] = {
    {"imLogo", Kind::Image, nullptr, 24, 24, 132, 138, "", -1, kAutoSize | kTransparent},
    {"imKestrome", Kind::Image, nullptr, 192, 16, 160, 40, kMakerName, -1, kAutoSize},
    {"laName", Kind::Label, nullptr, 192, 64, 245, 51, "Dorvane", -1, kAutoSize},
    {"laVersion", Kind::Label, nullptr, 195, 112, 53, 13, TextNamed("About.Version"), -1, kAutoSize},
    {"beSeparator", Kind::Bevel, nullptr, 8, 184, 441, 9, "", -1, 0},
    {"laWebSite", Kind::Label, nullptr, 8, 190, 0, 13, kMakerWebSite, 0, kAutoSize | kLink},
    {"laEMail", Kind::Label, nullptr, 449, 190, 0, 13, kMakerEMail, 1,
     kAutoSize | kAlignRight | kLink},
    {"beSep2", Kind::Bevel, nullptr, 8, 209, 441, 7, "", -1, 0},
    {"buOK", Kind::Button, nullptr, 344, 216, 105, 25, TextNamed("About.OK"), 2, 0},
};

// The row of the control named `name`, worked out while compiling: the
// dialog binds its members by it, and a name that the table lacks fails the
// build.
consteval std::size_t AboutRow(const char* name) { return IndexOf(kAboutLayout, name); }

// The dialog's own font, which buOK and laVersion use.
constexpr Font kAboutDialogFont = kDialogFont;
// laName; its colour is the system's window-text colour.
constexpr Font kAboutNameFont = {"Arial", 43, true, false};
// laWebSite and laEMail, blue at rest and red while a button is held on
// them; with high contrast in the system's colour for links.
constexpr Font kAboutLinkFont = {kDialogFont.face, kDialogFont.height, false, true};

}  // namespace layout
