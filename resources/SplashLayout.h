#pragma once
// The main window as laid out: the splash shown for four seconds at start.

#include "platform/Layout.h"
#include "resources/Texts.h"

namespace layout {

constexpr Window kSplashWindow = {"TfmSplash", kProductName, 383, 241};

// The pictures and the two labels size themselves; laVersion keeps its
// right edge at 349. The maker's logo is named by the maker's name for
// screen readers; the product's logo, beside the product's name, is
// decoration.
constexpr Control kSplashLayout[] = {
    {"paBorder", Kind::Panel, nullptr, 10, 10, 362, 191, "", -1, 0},
    {"imKestrome", Kind::Image, "paBorder", 192, 8, 160, 40, kMakerName, -1, kAutoSize},
    {"imLogo", Kind::Image, "paBorder", 16, 32, 132, 138, "", -1, kAutoSize | kTransparent},
    {"laName", Kind::Label, "paBorder", 168, 80, 0, 0, "Dorvane", -1, kAutoSize},
    {"laVersion", Kind::Label, "paBorder", 349, 120, 0, 0, TextNamed("Splash.Version"), -1,
     kAutoSize | kAlignRight},
    {"paCopright", Kind::Panel, nullptr, 10, 199, 362, 30,
     TextNamed("Splash.Notice"), -1, 0},
};

// The row of the control named `name`, worked out while compiling: the
// window binds its members by it, and a name that the table lacks fails the
// build.
consteval std::size_t SplashRow(const char* name) { return IndexOf(kSplashLayout, name); }

// The tray menu, puMain, top to bottom. Menu items get the identifiers
// kFirstMenuId + their index. miSettings is the default item.
constexpr MenuItem kTrayMenu[] = {
    {"miSettings", nullptr, TextNamed("Menu.Settings"), "MI_SETTINGS"},
    {"N2", nullptr, "-", nullptr},
    {"miHelpTopics", nullptr, TextNamed("Menu.HelpTopics"), "MI_HELPTOPICS"},
    {"miHowtoUseHelp", nullptr, TextNamed("Menu.HowToUseHelp"), "MI_HOWTOUSEHELP"},
    {"N3", nullptr, "-", nullptr},
    {"miAbout", nullptr, TextNamed("Menu.About"), "MI_ABOUT"},
    {"N4", nullptr, "-", nullptr},
    {"miShutDown", nullptr, TextNamed("Menu.ShutDown"), "MI_SHUTDOWN"},
    {"miRestartComputer", "miShutDown", TextNamed("Menu.Restart"), nullptr},
    {"N1", "miShutDown", "-", nullptr},
    {"miShutDownWindows", "miShutDown", TextNamed("Menu.ShutDownWindows"), nullptr},
    {"miExit", nullptr, TextNamed("Menu.Exit"), "MI_EXIT"},
};

}  // namespace layout
