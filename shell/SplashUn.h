#pragma once
// The main window: four seconds of splash, then the hidden owner of the
// notification-area icon, the receiver of its menu, and the window whose
// close query runs the disk check when the Windows session ends.

#include "platform/Shell.h"
#include "platform/win32/Forms.h"

// The message the shell sends for mouse events over the icon.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

class TfmSplash : public platform::TForm {
 public:
  TfmSplash();

 protected:
  void FormCreate() override;
  bool FormCloseQuery() override;
  void FormClose(platform::TCloseAction& action) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void tiVisibleTimer();

  UINT_PTR tiVisible = 0;
  HICON icon_ = nullptr;
};

extern TfmSplash* fmSplash;

// Set by the tray menu's Exit right before it closes the main window, so
// that ending the program that way runs no check.
extern bool ExitRequested;

// The notification-area icon record, filled once by the main window.
extern platform::NotifyIconRecord TrayIconData;

// One run of the disk check with the live options of the settings dialog.
void CheckDrives();
