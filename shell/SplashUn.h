#pragma once
// The main window: four seconds of splash, then the hidden owner of the
// notification-area icon, the receiver of its menu, and the window whose
// close query runs the disk check when the Windows session ends.

#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/Help.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Sounds.h"
#include "platform/Timers.h"
#include "platform/UserInterface.h"
#include "platform/win32/Controls.h"
#include "platform/win32/Forms.h"
#include "resources/SplashLayout.h"
#include "shell/AwayReminder.h"
#include "shell/DiskCheck.h"
#include "shell/NotificationLog.h"
#include "shell/SessionWatch.h"
#include "shell/TrayIcon.h"

// The message the shell sends for mouse events over the icon.
constexpr UINT WM_TRAYNOTIFY = WM_USER + 1;

// The platform services the main window works with, given by the program
// body: the tray icon, help and the session's end, and what the disk check
// and its log use, and the icon's retry timer.
struct TSplashServices {
  platform::Shell& shell;
  platform::Help& help;
  platform::UserInterface& ui;
  platform::Session& session;
  platform::Drives& drives;
  platform::Sounds& sounds;
  platform::Files& files;
  platform::Clock& clock;
  platform::Locale& locale;
  platform::Timers& timers;
  platform::EventLog& events;
  const platform::Texts& texts;  // in the user's language
};

class TfmSplash : public platform::TForm {
 public:
  // The timer whose WM_TIMER ends the splash's four seconds.
  static constexpr UINT_PTR kVisibleTimerId = 1;

  explicit TfmSplash(const TSplashServices& services);

  // The two pictures, which the About dialog shows as well.
  HBITMAP LogoPicture() const { return logo_.Get(); }
  HBITMAP KestromePicture() const { return kestrome_.Get(); }

  // What a run of the disk check works with: the drives, the sounds, the
  // boxes (owned by the application window) and the log.
  DiskCheckContext& DiskCheck() { return diskCheck_; }
  // The shell that shows the notification-area icon and its balloons.
  platform::Shell& TrayShell() { return shell_; }
  // While the main window answers the end-of-session query, the check
  // tells Windows why it waits; null otherwise.
  const SessionEndHold* SessionEnd() const { return sessionEndQueries_ > 0 ? &hold_ : nullptr; }

 protected:
  void FormCreate() override;
  bool FormCloseQuery() override;
  void FormClose(platform::TCloseAction& action) override;
  void FormDpiChanged() override;
  void FormColoursChanged() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The fonts and pictures made for the window's DPI, and given to the
  // controls and the tray menu.
  void MakeFontsAndPictures();
  void ShowFontsAndPictures();
  // The tray menu with its pictures drawn on the menu's colour.
  void MakeMenu();
  void tiVisibleTimer();
  void TrayNotify(LPARAM mouseMessage);
  // The settings dialog shown and brought to the front, as after a double
  // click on the icon.
  void ShowSettingsInFront();
  void MenuCommand(int id);

  void miSettingsClick();
  void miHelpTopicsClick();
  void miHowtoUseHelpClick();
  void miAboutClick();
  void miRestartComputerClick();
  void miShutDownWindowsClick();
  void miExitClick();

  const platform::Texts& texts_;
  platform::Shell& shell_;
  platform::Help& help_;
  platform::UserInterface& ui_;
  platform::Session& session_;
  NotificationLog log_;
  DiskCheckContext diskCheck_;
  SessionEndHold hold_;
  int sessionEndQueries_ = 0;  // nested queries, each in a box of the one before
  TTrayIcon trayIcon_;
  TSessionWatch sessionWatch_;
  // Explorer's "TaskbarCreated", and a second start's request to show the
  // settings dialog.
  const UINT taskbarCreated_;
  const UINT showSettings_;
  platform::Icon icon_;
  platform::Icon bigIcon_;
  // The notification area's icon once the DPI has changed; until then it
  // shows icon_.
  platform::Icon notifyIcon_;
  platform::Font font_;
  platform::Font nameFont_;
  platform::Font noticeFont_;
  platform::Bitmap logo_;
  platform::Bitmap kestrome_;
  platform::ControlSet controls_{layout::kSplashLayout};
  platform::TControl paBorder{controls_, layout::SplashRow("paBorder")};
  platform::TControl imKestrome{controls_, layout::SplashRow("imKestrome")};
  platform::TControl imLogo{controls_, layout::SplashRow("imLogo")};
  platform::TControl laName{controls_, layout::SplashRow("laName")};
  platform::TControl laVersion{controls_, layout::SplashRow("laVersion")};
  platform::TControl paCopright{controls_, layout::SplashRow("paCopright")};
  platform::PopupMenu puMain;
  // The menu's pictures are drawn on the system's menu colour as it was:
  // after a change the menu is made again before it next opens, never
  // while it is open.
  bool menuColoursChanged_ = false;
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

// The reminder when the user locks the computer or it goes to sleep, with
// the live options of the settings dialog; nothing while the option is off.
void RemindWhenAway();
