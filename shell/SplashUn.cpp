#include "shell/SplashUn.h"

#include <utility>

#include "about/AboutUn.h"
#include "platform/Dpi.h"
#include "resources/Fonts.h"
#include "resources/SplashLayout.h"
#include "settings/SettingsUn.h"
#include "resources/Texts.h"
#include "platform/win32/SharedMessages.h"
#include "shell/Commands.h"
#include "shell/SecondStart.h"
#include "shell/SessionEnd.h"

TfmSplash* fmSplash = nullptr;
bool ExitRequested = false;
platform::NotifyIconRecord TrayIconData;

namespace {

const UINT kVisibleInterval = 4000;

// The command of the tray menu's item of that name, always worked out while
// compiling: a name that the menu lacks fails the build.
consteval int MenuId(const char* name) { return layout::MenuItemId(layout::kTrayMenu, name); }

}  // namespace

void CheckDrives() {
  // A policy that Group Policy applied without telling the windows, or
  // that a script wrote, holds from the next check on.
  fmSettings->ApplyPolicies();
  RunDiskCheck(fmSettings->Options, ExitRequested, fmSplash->DiskCheck(), fmSplash->SessionEnd());
}

void RemindWhenAway() {
  // A lock during the start, before the settings dialog holds the options,
  // has nothing to check by.
  if (ExitRequested || fmSettings == nullptr) return;
  fmSettings->ApplyPolicies();
  RunAwayReminder(fmSettings->Options, fmSplash->DiskCheck(), fmSplash->TrayShell(), TrayIconData);
}

TfmSplash::TfmSplash(const TSplashServices& services)
    : texts_(services.texts),
      shell_(services.shell),
      help_(services.help),
      ui_(services.ui),
      session_(services.session),
      log_(services.files, services.clock, services.locale),
      diskCheck_{services.drives, services.sounds, services.ui, platform::Application.Handle(),
                 log_, services.events, services.texts, services.locale},
      hold_{services.session, nullptr},
      trayIcon_(services.shell, services.timers, TrayIconData),
      sessionWatch_(services.session, services.timers, services.events),
      taskbarCreated_(platform::TaskbarCreatedMessage()),
      showSettings_(platform::RegisteredMessage(kShowSettingsMessage)),
      icon_(platform::LoadSmallIcon("MAINICON")),
      bigIcon_(platform::LoadLargeIcon("MAINICON")) {
  const layout::Window& window = layout::kSplashWindow;
  platform::RegisterFormClass(window.className, icon_.Get(), ::GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(window.className, window.caption.In(texts_), WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
               WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, window.clientWidth, window.clientHeight);
  hold_.window = Handle();
  // The splash time runs from the window's creation, not from its showing.
  tiVisible = ::SetTimer(Handle(), kVisibleTimerId, kVisibleInterval, nullptr);

  MakeFontsAndPictures();
  controls_.Create(Handle(), font_.Get(), Dpi(), texts_);
  ShowFontsAndPictures();
  platform::Application.SetIcons(bigIcon_.Get(), icon_.Get());
}

void TfmSplash::MakeFontsAndPictures() {
  font_ = platform::CreateLayoutFont(layout::ShownFont(layout::kDialogFont, texts_), Dpi());
  nameFont_ = platform::CreateFontByName("Arial", Scaled(33), true);
  // The maker's notice in the windows' face, smaller.
  noticeFont_ = platform::CreateLayoutFont(
      layout::ShownFont({layout::kDialogFont.face, 8, false, false}, texts_), Dpi());
  logo_ = platform::LoadPictureForDpi("LOGO", Dpi());
  kestrome_ = platform::LoadPictureForDpi("KESTROME", Dpi());
}

void TfmSplash::ShowFontsAndPictures() {
  platform::SetControlFont(laName, nameFont_.Get());
  platform::SetControlFont(paCopright, noticeFont_.Get());
  platform::SetImagePicture(imLogo, logo_.Get());
  platform::SetImagePicture(imKestrome, kestrome_.Get());
  MakeMenu();
}

void TfmSplash::MakeMenu() {
  puMain.Create(layout::kTrayMenu, Dpi(), texts_);
  ::SetMenuDefaultItem(puMain.Get(), MenuId("miSettings"), FALSE);
  menuColoursChanged_ = false;
}

void TfmSplash::FormColoursChanged() { menuColoursChanged_ = true; }

void TfmSplash::FormDpiChanged() {
  // The controls hold the fonts and pictures before until they have the
  // new ones; those go at the end.
  platform::Font font = std::move(font_);
  platform::Font nameFont = std::move(nameFont_);
  platform::Font noticeFont = std::move(noticeFont_);
  platform::Bitmap logo = std::move(logo_);
  platform::Bitmap kestrome = std::move(kestrome_);
  MakeFontsAndPictures();
  controls_.Place(Dpi(), font_.Get());
  ShowFontsAndPictures();
  // The notification area shows the icon at the small-icon size of the
  // display's new DPI; the shell has its own copy before the one here goes.
  platform::Icon notifyIcon = std::move(notifyIcon_);
  notifyIcon_ = platform::LoadIconResource("MAINICON", Scaled(platform::kSmallIconSize),
                                           Scaled(platform::kSmallIconSize));
  TrayIconData.icon = notifyIcon_.Get() != nullptr ? notifyIcon_.Get() : icon_.Get();
  trayIcon_.IconChanged();
}

void TfmSplash::FormCreate() {
  ExitRequested = false;

  RECT client;
  ::GetClientRect(Handle(), &client);
  LONG style = ::GetWindowLongA(Handle(), GWL_STYLE);
  ::SetWindowLongA(Handle(), GWL_STYLE, style & ~WS_CAPTION);
  RECT outer;
  ::GetWindowRect(Handle(), &outer);
  // Without its caption bar the window keeps its frame; taking the former
  // client height as the new outer height removes the caption's height.
  ::SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

  TrayIconData.window = Handle();
  TrayIconData.id = TTrayIcon::kIconId;
  TrayIconData.flags = platform::kNifMessage | platform::kNifIcon | platform::kNifTip;
  TrayIconData.callbackMessage = WM_TRAYNOTIFY;
  TrayIconData.icon = icon_.Get();
  TrayIconData.tip = kProductName;

  // Windows tells of a lock only the windows that ask for it.
  sessionWatch_.Start(Handle());
}

void TfmSplash::tiVisibleTimer() {
  ::KillTimer(Handle(), tiVisible);
  tiVisible = 0;
  Hide();
  trayIcon_.SplashEnded();
}

bool TfmSplash::FormCloseQuery() {
  CheckDrives();
  return true;
}

void TfmSplash::FormClose(platform::TCloseAction&) {
  trayIcon_.Remove();
  sessionWatch_.Stop();
}

void TfmSplash::TrayNotify(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_RBUTTONDOWN: {
      // The window must be in the foreground or the menu would not close
      // when the user clicks elsewhere; the posted empty message makes the
      // next click on the icon open it again at once.
      ::SetForegroundWindow(Handle());
      if (menuColoursChanged_) MakeMenu();
      POINT cursor;
      ::GetCursorPos(&cursor);
      ::TrackPopupMenu(puMain.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                       Handle(), nullptr);
      ::PostMessageA(Handle(), WM_NULL, 0, 0);
      break;
    }
    case WM_LBUTTONDBLCLK:
      ShowSettingsInFront();
      break;
    default:
      break;
  }
}

void TfmSplash::ShowSettingsInFront() {
  fmSettings->Show();
  ::BringWindowToTop(fmSettings->Handle());
}

void TfmSplash::MenuCommand(int id) {
  switch (id) {
    case MenuId("miSettings"): return miSettingsClick();
    case MenuId("miHelpTopics"): return miHelpTopicsClick();
    case MenuId("miHowtoUseHelp"): return miHowtoUseHelpClick();
    case MenuId("miAbout"): return miAboutClick();
    case MenuId("miRestartComputer"): return miRestartComputerClick();
    case MenuId("miShutDownWindows"): return miShutDownWindowsClick();
    case MenuId("miExit"): return miExitClick();
    default: break;
  }
}

void TfmSplash::miSettingsClick() { fmSettings->Show(); }

void TfmSplash::miHelpTopicsClick() {
  help_.ShowHelp(Handle(), platform::kHelpFinder, 0);
}

void TfmSplash::miHowtoUseHelpClick() {
  help_.ShowHelp(Handle(), platform::kHelpHelpOnHelp, 0);
}

void TfmSplash::miAboutClick() { fmAbout->Show(); }

void TfmSplash::miRestartComputerClick() {
  RunSessionEndCommand(kRestartCommand, texts_, ui_, platform::Application.Handle(), session_,
                       [] { CheckDrives(); });
}

void TfmSplash::miShutDownWindowsClick() {
  RunSessionEndCommand(kShutDownCommand, texts_, ui_, platform::Application.Handle(), session_,
                       [] { CheckDrives(); });
}

void TfmSplash::miExitClick() {
  ExitRequested = true;
  Close();
}

LRESULT TfmSplash::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // Registered messages have their numbers only at run time.
  if (message == taskbarCreated_ && message != 0) {
    trayIcon_.TaskbarCreated();
    return 0;
  }
  if (message == showSettings_ && message != 0) {
    // Asked by a second start; unanswered while the settings dialog does
    // not exist yet (a box during the main window's creation).
    if (fmSettings == nullptr) return 0;
    ShowSettingsInFront();
    return kShowSettingsAnswer;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kVisibleTimerId && tiVisible != 0) tiVisibleTimer();
      if (wParam == TTrayIcon::kRetryTimerId) trayIcon_.RetryTick();
      if (wParam == TSessionWatch::kRetryTimerId) sessionWatch_.RetryTick();
      return 0;
    case WM_TRAYNOTIFY:
      TrayNotify(lParam);
      return 0;
    case WM_COMMAND:
      MenuCommand(LOWORD(wParam));
      return 0;
    case WM_QUERYENDSESSION: {
      struct Count {
        int& queries;
        explicit Count(int& q) : queries(q) { ++queries; }
        ~Count() { --queries; }
      } answering(sessionEndQueries_);
      return SessionMayEnd(static_cast<unsigned>(lParam),
                           [&] { return TForm::HandleMessage(message, wParam, lParam) != 0; })
                 ? 1
                 : 0;
    }
    case WM_WTSSESSION_CHANGE:
      if (wParam == WTS_SESSION_LOCK) RemindWhenAway();
      return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMSUSPEND) RemindWhenAway();
      // Never a refusal, not even of Windows XP's question before a sleep
      // (PBT_APMQUERYSUSPEND): a laptop in a bag must sleep.
      return TRUE;
    case WM_WININICHANGE:
      // The user changed the regional settings: the log's dates and times
      // follow them from now on. Windows tells every top-level window,
      // hidden ones too.
      log_.ReadUserFormats();
      return TForm::HandleMessage(message, wParam, lParam);
    default:
      return TForm::HandleMessage(message, wParam, lParam);
  }
}
