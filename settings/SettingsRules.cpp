#include "settings/SettingsRules.h"

#include <utility>

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

namespace {

// A chooser of files of one type, "*." followed by `extension`.
TOpenDialog Chooser(const platform::Texts& texts, platform::TextId title, platform::TextId type,
                    const char* extension) {
  return TOpenDialog(texts[title], texts[type] + std::string("|*.") + extension, extension);
}

}  // namespace

TOpenDialog SoundFileChooser(const platform::Texts& texts) {
  return Chooser(texts, TextNamed("SoundFile.Title"), TextNamed("SoundFile.Type"), "wav");
}

TOpenDialog LogFileChooser(const platform::Texts& texts) {
  return Chooser(texts, TextNamed("LogFile.Title"), TextNamed("LogFile.Type"), "dvl");
}
