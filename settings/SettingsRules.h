#pragma once
// What the settings dialog decides without a window: which controls are
// enabled for a set of options, what an emptied path box becomes, the
// label input box's limits and the two file choosers.

#include <string>

#include "platform/CommonDialogs.h"
#include "platform/Language.h"
#include "resources/Texts.h"
#include "settings/CheckOptions.h"

// Which of the dependent controls are enabled. The values they hold stay
// as they are while they are disabled: a disabled path is still saved. A
// control whose option a policy sets (`managed`) shows the policy's value
// disabled; the test of the sound file is no setting, and stays.
struct SettingsEnabling {
  bool soundFile = false;      // edSound, buBrowse
  bool soundTest = false;      // buTest
  bool windowsSounds = false;  // the four system-sound buttons
  bool logFile = false;        // edLogFile, buBrowseLogFile
};

SettingsEnabling EnablingFor(const TCheckOptions& options, TOptionSet managed = 0);

// What a path box shows once the focus has left it: an empty text (not
// one of blanks) becomes the fallback, anything else stays.
std::string FilledOnExit(const std::string& text, const std::string& fallback);

// The longest label the box that asks for one takes; FAT and CD volume
// labels are far shorter.
constexpr int kLabelMaxLength = 255;

// One of the dialog's file choosers: the platform's open-file dialog with
// one filter. Its file-name field starts with the chooser's own last
// confirmed choice in this run, not with the text of the box it fills.
class TOpenDialog {
 public:
  TOpenDialog(std::string title, std::string filter, std::string defaultExtension);

  // Runs the chooser modally. True when the user confirmed; FileName is
  // then the chosen full path. A cancelled run changes nothing.
  bool Execute(platform::CommonDialogs& dialogs, platform::WindowHandle owner);

  std::string FileName;

 private:
  std::string title_;
  std::string filter_;
  std::string defaultExtension_;
};

// The two choosers, titled in the user's language.
TOpenDialog SoundFileChooser(const platform::Texts& texts);  // "Select a wave file", *.wav
TOpenDialog LogFileChooser(const platform::Texts& texts);    // "Select a log file", *.dvl
