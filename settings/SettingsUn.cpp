#include "settings/SettingsUn.h"

#include "shell/Services.h"

TfmSettings* fmSettings = nullptr;

namespace {
const char kClassName[] = "TfmSettings";
}

TfmSettings::TfmSettings() {
  platform::RegisterFormClass(kClassName, nullptr, ::GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(kClassName, "Dorvane 4.0", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME,
               384, 303);
  log_ = std::make_unique<NotificationLog>(Services.files, Services.clock, Services.locale);
}

void TfmSettings::FormCreate() {
  ilDrives = BuildDriveList(Options, Services.drives, Services.shell);
}
