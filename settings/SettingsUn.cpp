#include "settings/SettingsUn.h"

#include "shell/Services.h"

TfmSettings* fmSettings = nullptr;

namespace {
const char kClassName[] = "TfmSettings";
const char kLogFileName[] = "dvn.dvl";
}  // namespace

void LoadSettings() { fmSettings->LoadSettings(); }

TfmSettings::TfmSettings()
    : store_(Services.registry, Services.files.ApplicationDirectory() + kLogFileName),
      log_(Services.files, Services.clock, Services.locale) {
  platform::RegisterFormClass(kClassName, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(kClassName, "Dorvane 4.0", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
               384, 303);
}

void TfmSettings::FormCreate() {
  ilDrives = BuildDriveList(Options, Services.drives, Services.shell);
  LoadSettings();
}

void TfmSettings::LoadSettings() { store_.LoadSettings(Options); }

LRESULT TfmSettings::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_WININICHANGE) {
    // The user changed the regional settings: the log's dates and times
    // follow them from now on.
    log_.ReadUserFormats();
  }
  return TForm::HandleMessage(message, wParam, lParam);
}
