#pragma once
// The settings dialog as laid out: a page control with four pages above the
// Cancel, OK and Help buttons.

#include "platform/Layout.h"
#include "resources/Texts.h"

namespace layout {

constexpr Window kSettingsWindow = {"TfmSettings", kProductName, 384, 303};

// The pages fill the page control's display area below the tabs; a page's
// tab order is its place among the tabs. The images are the pages' 32 x 32
// pictures, drawn without their background.
constexpr Control kSettingsLayout[] = {
    {"pcSettings", Kind::PageControl, nullptr, 8, 8, 369, 257, "", 0, 0},
    {"buCancel", Kind::Button, nullptr, 224, 272, 75, 25, TextNamed("Settings.Cancel"), 1, 0},
    {"buOK", Kind::Button, nullptr, 144, 272, 75, 25, TextNamed("Settings.OK"), 2, 0},
    {"buHelp", Kind::Button, nullptr, 304, 272, 75, 25, TextNamed("Settings.Help"), 3, 0},

    {"tsDrives", Kind::TabSheet, "pcSettings", 4, 24, 361, 229, TextNamed("Settings.Drives"), 0, 0},
    {"tsSound", Kind::TabSheet, "pcSettings", 4, 24, 361, 229, TextNamed("Settings.Sound"), 1, 0},
    {"tsLogging", Kind::TabSheet, "pcSettings", 4, 24, 361, 229, TextNamed("Settings.Logging"), 2, 0},
    {"tsOther", Kind::TabSheet, "pcSettings", 4, 24, 361, 229, TextNamed("Settings.Other"), 3, 0},

    {"imDrives", Kind::Image, "tsDrives", 8, 16, 32, 32, "", -1, kTransparent},
    {"lvDrives", Kind::ListView, "tsDrives", 48, 24, 281, 129, "", 0, 0},
    {"laDrives", Kind::Label, "tsDrives", 8, 160, 321, 57,
     TextNamed("Settings.DrivesText"),
     -1, kWordWrap},

    {"imSound", Kind::Image, "tsSound", 8, 16, 32, 32, "", -1, kTransparent},
    {"rbNoSound", Kind::RadioButton, "tsSound", 48, 24, 129, 17, TextNamed("Settings.NoSound"), 1, 0},
    {"rbSoundFile", Kind::RadioButton, "tsSound", 48, 48, 305, 17,
     TextNamed("Settings.SoundFile"), 2, 0},
    {"paSoundFile", Kind::Panel, "tsSound", 64, 72, 289, 49, "", 0, 0},
    {"edSound", Kind::Edit, "paSoundFile", 8, 12, 169, 21, kNoSoundFile, 0, 0},
    {"buBrowse", Kind::Button, "paSoundFile", 184, 12, 25, 21, "...", 1, 0},
    {"buTest", Kind::Button, "paSoundFile", 224, 12, 57, 21, TextNamed("Settings.Test"), 2, 0},
    {"rbSoundWindows", Kind::RadioButton, "tsSound", 48, 128, 249, 17,
     TextNamed("Settings.SoundWindows"), 3, 0},
    {"paSoundWindows", Kind::Panel, "tsSound", 64, 152, 289, 57, "", 4, 0},
    {"rbDefaultExclamation", Kind::RadioButton, "paSoundWindows", 8, 8, 113, 17,
     TextNamed("Settings.Exclamation"), 1, 0},
    {"rbDefaultQuestion", Kind::RadioButton, "paSoundWindows", 8, 32, 113, 17, TextNamed("Settings.Question"),
     0, 0},
    {"rbDefaultError", Kind::RadioButton, "paSoundWindows", 152, 8, 113, 17, TextNamed("Settings.Error"), 2,
     0},
    {"rbDefaultInformation", Kind::RadioButton, "paSoundWindows", 152, 32, 113, 17,
     TextNamed("Settings.Information"), 3, 0},

    {"imLogging", Kind::Image, "tsLogging", 8, 16, 32, 32, "", -1, kTransparent},
    {"chLogging", Kind::CheckBox, "tsLogging", 48, 24, 233, 13,
     TextNamed("Settings.LogFile"), 1, 0},
    {"paLogging", Kind::Panel, "tsLogging", 64, 56, 289, 49, "", 0, 0},
    {"edLogFile", Kind::Edit, "paLogging", 8, 12, 233, 21, "", 0, 0},
    {"buBrowseLogFile", Kind::Button, "paLogging", 248, 12, 25, 21, "...", 1, 0},

    {"imExclusion", Kind::Image, "tsOther", 8, 16, 32, 32, "", -1, kTransparent},
    {"laExclusion", Kind::Label, "tsOther", 48, 24, 263, 26,
     TextNamed("Settings.ExclusionText"), -1, kWordWrap},
    {"paExclusion", Kind::Panel, "tsOther", 64, 64, 233, 89, "", 0, 0},
    {"lbExclusion", Kind::ListBox, "paExclusion", 8, 16, 121, 57, "", 0, 0},
    {"buExclusionAdd", Kind::Button, "paExclusion", 144, 16, 75, 25, TextNamed("Settings.Add"), 1, 0},
    {"buExclusionRemove", Kind::Button, "paExclusion", 144, 48, 75, 25, TextNamed("Settings.Remove"), 2, 0},
    {"chNoDialog", Kind::CheckBox, "tsOther", 48, 168, 241, 17,
     TextNamed("Settings.NoDialog"), 1, 0},
    // Added below the designed controls, none of which moved.
    {"chRemovableDrives", Kind::CheckBox, "tsOther", 48, 192, 305, 17,
     TextNamed("Settings.RemovableDrives"), 2, 0},
    {"chRemindWhenAway", Kind::CheckBox, "tsOther", 48, 210, 305, 17,
     TextNamed("Settings.RemindWhenAway"), 3, 0},
    // One line on each page, shown only while a policy sets an option of
    // the page: in the strip above the designed controls, beside the
    // page's picture, where it moves none of them.
    {"laManagedDrives", Kind::Label, "tsDrives", 48, 4, 305, 13, TextNamed("Settings.Managed"), -1,
     0},
    {"laManagedSound", Kind::Label, "tsSound", 48, 4, 305, 13, TextNamed("Settings.Managed"), -1,
     0},
    {"laManagedLogging", Kind::Label, "tsLogging", 48, 4, 305, 13, TextNamed("Settings.Managed"),
     -1, 0},
    {"laManagedOther", Kind::Label, "tsOther", 48, 4, 305, 13, TextNamed("Settings.Managed"), -1,
     0},
};

// The row of the control named `name`, worked out while compiling: the
// dialog binds its members by it, and a name that the table lacks fails the
// build.
consteval std::size_t SettingsRow(const char* name) { return IndexOf(kSettingsLayout, name); }

// What names a control for screen readers where its own text does not:
// the drive list by the label before it, and each panel by the option
// whose controls it holds, which a screen reader says on entering it.
constexpr NamedBy kSettingsNames[] = {
    {SettingsRow("lvDrives"), SettingsRow("laDrives")},
    {SettingsRow("paSoundFile"), SettingsRow("rbSoundFile")},
    {SettingsRow("paSoundWindows"), SettingsRow("rbSoundWindows")},
    {SettingsRow("paLogging"), SettingsRow("chLogging")},
    {SettingsRow("paExclusion"), SettingsRow("laExclusion")},
};

// The pictures of the pages' images, by image: the image's row in the
// layout, worked out while compiling, so that a misspelt name fails the
// build.
struct ImagePicture {
  std::size_t image;
  const char* picture;  // a bitmap resource
};
constexpr ImagePicture kSettingsPictures[] = {
    {SettingsRow("imDrives"), "TAB_DRIVES"},
    {SettingsRow("imSound"), "TAB_SOUND"},
    {SettingsRow("imLogging"), "TAB_LOGGING"},
    {SettingsRow("imExclusion"), "TAB_OTHER"},
};

}  // namespace layout
