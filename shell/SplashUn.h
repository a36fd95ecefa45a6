#pragma once
// The main window: four seconds of splash, then the hidden owner of the
// notification-area icon, the receiver of its menu, and the window whose
// close query runs the disk check when the Windows session ends.

#include "platform/Shell.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"

// The message the shell sends for mouse events over the icon.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

class TfmSplash : public platform::TForm {
 public:
  TfmSplash();

  // The two pictures, which the About dialog shows as well.
  HBITMAP LogoPicture() const { return logo_.Get(); }
  HBITMAP KestromePicture() const { return kestrome_.Get(); }

 protected:
  void FormCreate() override;
  bool FormCloseQuery() override;
  void FormClose(platform::TCloseAction& action) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void tiVisibleTimer();
  void TrayNotify(LPARAM mouseMessage);
  void MenuCommand(int id);

  void miSettingsClick();
  void miHelpTopicsClick();
  void miHowtoUseHelpClick();
  void miAboutClick();
  void miRestartComputerClick();
  void miShutDownWindowsClick();
  void miExitClick();

  platform::Icon icon_;
  platform::Icon bigIcon_;
  platform::Font font_;
  platform::Font nameFont_;
  platform::Font noticeFont_;
  platform::Bitmap logo_;
  platform::Bitmap kestrome_;
  platform::ControlSet controls_;
  platform::PopupMenu puMain;
  UINT_PTR tiVisible = 0;
};

extern TfmSplash* fmSplash;

// Set by the tray menu's Exit right before it closes the main window, so
// that ending the program that way runs no check.
extern bool ExitRequested;

// The notification-area icon record, filled once by the main window.
extern platform::NotifyIconRecord TrayIconData;

// One run of the disk check with the live options of the settings dialog.
void CheckDrives();
