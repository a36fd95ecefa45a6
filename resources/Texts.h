#pragma once
// The program's texts. Every text it shows the user is a row of kTexts, in
// English, by the id a language file beside the program names it by
// (README: "Languages"); the windows, boxes and menus take their texts from
// the table through TextNamed("id"), and a language file's translation is shown
// in place of the English wherever it has one. The texts kept for the
// administrator (the event log, the notification log) stay English and are
// not here. The names below the table are shown as they are in every
// language.

#include <string>

#include "platform/Failure.h"
#include "platform/Language.h"
#include "platform/Layout.h"
#include "platform/Text.h"

// The English texts, UTF-8. "%1" to "%9" stand for the values the program
// puts in; a translation may put them in any order. The ampersand marks the
// access key of a caption. The compiler reads the table for TextNamed("id"); the
// running program reads it through TextTable() alone, so that the program
// holds its texts once (a text that two units use would be kept twice).
inline constexpr platform::TextEntry kTexts[] = {
    // The warning at the end of the session: the label and the drive letter.
    {"Warning", "There is still a disk with the label \"%1\" in your %2-drive!"},
    // Windows Vista and later show it while the warning holds the end of
    // the session: the label and the drive letter; the letter alone.
    {"BlockReason", "The disk \"%1\" is still in drive %2:. Take it out before the computer starts "
                    "again."},
    {"BlockReasonNoLabel",
     "A disk without a label is still in drive %1:. Take it out before the computer starts "
     "again."},
    // The note from the icon at a lock or a sleep: the first disk's label and
    // drive letter; with more disks found, how many more.
    {"Reminder.OneMore",
     "There is still a disk with the label \"%1\" in your %2-drive! And 1 more disk."},
    {"Reminder.More",
     "There is still a disk with the label \"%1\" in your %2-drive! And %3 more disks."},

    // The splash.
    {"Splash.Version", "Version 4.0"},
    {"Splash.Notice", "Copyright \xC2\xA9 Kestrome Software. All rights reserved."},

    // The tray menu and the questions of its restart and shut-down.
    {"Menu.Settings", "&Settings..."},
    {"Menu.HelpTopics", "Help &Topics"},
    {"Menu.HowToUseHelp", "&How to use help"},
    {"Menu.About", "&About..."},
    {"Menu.ShutDown", "Shut &Down"},
    {"Menu.Restart", "&Restart the Computer"},
    {"Menu.ShutDownWindows", "&Shut Down Windows"},
    {"Menu.Exit", "E&xit"},
    {"Restart.Question", "Are you sure you want to restart your computer?"},
    {"Restart.Caption", "Restart"},
    {"ShutDown.Question", "Are you sure you want to shut down Windows?"},
    {"ShutDown.Caption", "Shut Down"},

    // The settings dialog: its buttons, its tabs and its pages.
    {"Settings.Cancel", "&Cancel"},
    {"Settings.OK", "&OK"},
    {"Settings.Help", "&Help"},
    {"Settings.Drives", "&Drives"},
    {"Settings.Sound", "&Sound"},
    {"Settings.Logging", "&Logging"},
    {"Settings.Other", "&Other"},
    {"Settings.DrivesText",
     "Select the drives to be checked on shutdown by clicking on the checkboxes next to their "
     "icons. It is recommended to always leave the A-drive (Floppy disk) checked because most "
     "bootviruses come from floppy disks. "},
    {"Settings.NoSound", "&Never play any sound."},
    {"Settings.SoundFile", "Play a sound &file upon notification"},
    {"Settings.Test", "&Test"},
    {"Settings.SoundWindows", "Play a &Windows default sound upon notification."},
    {"Settings.Exclamation", "System &Exclamation"},
    {"Settings.Question", "System &Question"},
    {"Settings.Error", "System E&rror"},
    {"Settings.Information", "System &Information"},
    {"Settings.LogFile", "&Maintain a log-file and log all notifications."},
    {"Settings.ExclusionText", "Don't warn if the label of the detected disk is one of the following:"},
    {"Settings.Add", "&Add"},
    {"Settings.Remove", "&Remove"},
    {"Settings.NoDialog", "&Don't show the warning dialog at all."},
    {"Settings.RemovableDrives", "Also check &USB sticks, memory cards and CDs in any drive."},
    {"Settings.RemindWhenAway", "Remind me when the computer is loc&ked or goes to sleep."},
    // The line of a page that shows an option set by Group Policy.
    {"Settings.Managed", "Some settings are managed by your administrator."},

    // The box that asks for a label to exclude.
    {"AddLabel.Caption", "Add Label"},
    {"AddLabel.Prompt", "Please enter the label to be added:"},
    {"AddLabel.OK", "OK"},
    {"AddLabel.Cancel", "Cancel"},

    // The file choosers: their titles, and the names of their file types.
    {"SoundFile.Title", "Select a wave file"},
    {"SoundFile.Type", "Wave Files (*.wav)"},
    {"LogFile.Title", "Select a log file"},
    {"LogFile.Type", "Dorvane Log Files (*.dvl)"},

    // The About dialog.
    {"About.Caption", "About Dorvane"},
    {"About.Version", "Version 4.0"},
    {"About.OK", "&OK"},
    // What a screen reader says a link's default action is, as Windows
    // names it for the links of its own controls.
    {"About.LinkAction", "Jump"},

    // The error box: a value of the settings, the log file.
    {"Error.GetData", "Failed to get data for '%1'"},
    {"Error.SetData", "Failed to set data for '%1'"},
    {"Error.DataType", "Invalid data type for '%1'"},
    {"Error.CreateFile", "Cannot create file %1"},
    {"Error.WriteFile", "Stream write error"},
    {"Error.InsertLine", "Unable to insert a line"},
    // Windows refused a control of a window, or an item of the tray menu.
    {"Error.CreateWindow", "Error creating window"},
    {"Error.InsertMenuItem", "Unable to insert a menu item"},
    // OK, for a user who may read the settings but not change them. A
    // standard user who started the program from the Start menu while it
    // runs would only reach the running copy's dialog again: it must end
    // first.
    {"Error.Administrator",
     "These settings are the computer's: only an administrator can change them. To change them, "
     "exit Dorvane, then start it with \"Run as administrator\"."},
};

// The text of that id, worked out while compiling: an id that the table
// lacks fails the build.
consteval platform::TextId TextNamed(const char* id) {
  return static_cast<platform::TextId>(layout::IndexOf(kTexts, id));
}

constexpr std::size_t kTextCount = sizeof kTexts / sizeof kTexts[0];

// The rows that word the platform's own failures, in the order of
// platform::PlatformText.
constexpr platform::TextId kPlatformTexts[platform::kPlatformTextCount] = {
    TextNamed("Error.CreateWindow"), TextNamed("Error.InsertMenuItem")};

// The table, as the running program reads it (Texts.cpp).
const platform::TextEntry* TextTable();

// The English text of a row.
inline const char* EnglishText(platform::TextId id) {
  return TextTable()[static_cast<std::size_t>(id)].english;
}

// A caption's English text.
inline const char* EnglishOf(const layout::Caption& caption) {
  return caption.fixed != nullptr ? caption.fixed : EnglishText(caption.id);
}

// A failure whose message the user reads in the error box: in English for
// the event log, in the user's language in the box. `value` (in the system's
// ANSI code page) stands for its "%1".
platform::Failure TextFailure(platform::TextId id, std::string value = std::string());

// The warning's texts, with the disk's label (UTF-8) and drive letter.
inline std::string WarningText(const platform::Texts& texts, const std::string& label,
                               char driveLetter) {
  return texts.Format(TextNamed("Warning"), {label, {&driveLetter, 1}});
}

// What Windows shows for the program while its warning holds the end of
// the session. Windows shows it in its full-screen list of programs that
// keep it from shutting down, which hides the warning box and offers only
// to go on anyway or to cancel: it says what to do before the machine
// starts again, not how to answer the box.
inline std::string BlockReasonText(const platform::Texts& texts, const std::string& label,
                                   char driveLetter) {
  const std::string_view letter(&driveLetter, 1);
  return label.empty() ? texts.Format(TextNamed("BlockReasonNoLabel"), {letter})
                       : texts.Format(TextNamed("BlockReason"), {label, letter});
}

// The note from the icon at a lock or a sleep: the warning of the first
// medium found, and how many more there are.
inline std::string ReminderText(const platform::Texts& texts, const std::string& label,
                                char driveLetter, unsigned more) {
  const platform::TextId text = more == 0   ? TextNamed("Warning")
                                : more == 1 ? TextNamed("Reminder.OneMore")
                                            : TextNamed("Reminder.More");
  return texts.Format(text, {label, {&driveLetter, 1}, platform::DecimalText(more)});
}

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

// The folder beside the program that holds the language files, each named
// by its language tag with this ending: lang\de.txt.
constexpr char kLanguageFolder[] = "lang\\";
constexpr char kLanguageFileEnding[] = ".txt";

// The maker's name, which its logo shows: the name of the logo's pictures
// for screen readers.
constexpr char kMakerName[] = "Kestrome Software";

// The event log's texts, which stay English, for administrators.
// Event 1002 for a policy value that is not of the option's type or
// content (%s: the value's full registry path), and what became of it.
constexpr char kInvalidPolicyValue[] = "Invalid policy value '%s'";
constexpr char kPolicyValueIgnored[] = "It is ignored, as if it were not set.";

// The start event's note of the options set by policy (%s: their names).
constexpr char kSetByPolicy[] = " Options set by policy: %s.";
