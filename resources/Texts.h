#pragma once
// The program's own texts that more than one window or module shows, each
// written once here.

// The application window's caption, which the taskbar button and every
// error box carry.
constexpr char kApplicationTitle[] = "Dorvane";

// The product's name with its version: the warning box, the settings
// dialog, the splash and the notification-area icon's tip.
constexpr char kProductName[] = "Dorvane 4.0";

// The help file, beside the program.
constexpr char kHelpFileName[] = "dvn40.hlp";

// What the sound-file box shows, and the store keeps, for "no file".
constexpr char kNoSoundFile[] = "(None)";
