#include "settings/SettingsRules.h"

#include <utility>

const char kAddLabelCaption[] = "Add Label";
const char kAddLabelPrompt[] = "Please enter the label to be added:";

SettingsEnabling EnablingFor(const TCheckOptions& options, TOptionSet managed) {
  SettingsEnabling enabling;
  enabling.soundTest = options.Sound == TSound::SoundFile;
  enabling.soundFile = enabling.soundTest && (managed & kOptionSoundFile) == 0;
  enabling.windowsSounds =
      options.Sound == TSound::SoundWindows && (managed & kOptionWindowsSound) == 0;
  enabling.logFile = options.Logging && (managed & kOptionLogFile) == 0;
  return enabling;
}

std::string FilledOnExit(const std::string& text, const std::string& fallback) {
  return text.empty() ? fallback : text;
}

TOpenDialog::TOpenDialog(std::string title, std::string filter, std::string defaultExtension)
    : title_(std::move(title)),
      filter_(std::move(filter)),
      defaultExtension_(std::move(defaultExtension)) {}

bool TOpenDialog::Execute(platform::CommonDialogs& dialogs, platform::WindowHandle owner) {
  platform::OpenFileRequest request;
  request.owner = owner;
  request.title = title_;
  request.filter = filter_;
  request.defaultExtension = defaultExtension_;
  request.fileName = FileName;
  std::string chosen;
  if (!dialogs.OpenFileName(request, chosen)) return false;
  FileName = chosen;
  return true;
}

TOpenDialog SoundFileChooser() {
  return TOpenDialog("Select a wave file", "Wave Files (*.wav)|*.wav", "wav");
}

TOpenDialog LogFileChooser() {
  return TOpenDialog("Select a log file", "Dorvane Log Files (*.dvl)|*.dvl", "dvl");
}
