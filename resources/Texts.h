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

// The line of a settings page that shows an option set by Group Policy.
constexpr char kManagedByAdministrator[] = "Some settings are managed by your administrator.";

// Event 1002 for a policy value that is not of the option's type or
// content (%s: the value's full registry path), and what became of it.
constexpr char kInvalidPolicyValue[] = "Invalid policy value '%s'";
constexpr char kPolicyValueIgnored[] = "It is ignored, as if it were not set.";

// The start event's note of the options set by policy (%s: their names).
constexpr char kSetByPolicy[] = " Options set by policy: %s.";
