#pragma once
// The settings dialog. It owns the one set of options: its controls edit
// them in place, and the disk check reads them live.

#include <memory>

#include "platform/win32/Forms.h"
#include "settings/CheckOptions.h"
#include "shell/NotificationLog.h"

class TfmSettings : public platform::TForm {
 public:
  TfmSettings();

  TCheckOptions Options;
  // The system's small-icon list, shared: never destroyed.
  platform::ImageListHandle ilDrives = nullptr;

  NotificationLog& Log() { return *log_; }

 protected:
  void FormCreate() override;

 private:
  std::unique_ptr<NotificationLog> log_;
};

extern TfmSettings* fmSettings;
