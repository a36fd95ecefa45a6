#pragma once
// The settings dialog. It owns the one set of options: its controls edit
// them in place, and the disk check reads them live.

#include <memory>

#include "platform/win32/Forms.h"
#include "settings/CheckOptions.h"
#include "settings/SettingsStore.h"
#include "shell/NotificationLog.h"

class TfmSettings : public platform::TForm {
 public:
  TfmSettings();

  TCheckOptions Options;
  // The system's small-icon list, shared: never destroyed.
  platform::ImageListHandle ilDrives = nullptr;

  NotificationLog& Log() { return log_; }
  SettingsStore& Store() { return store_; }

  // Fills the options from the store and brings the controls in line.
  void LoadSettings();

 protected:
  void FormCreate() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  SettingsStore store_;
  NotificationLog log_;
};

extern TfmSettings* fmSettings;

// The load of the one settings dialog.
void LoadSettings();
