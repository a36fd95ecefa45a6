#include "shell/SplashUn.h"

#include "about/AboutUn.h"
#include "settings/SettingsUn.h"
#include "shell/DiskCheck.h"
#include "shell/Services.h"

TfmSplash* fmSplash = nullptr;
bool ExitRequested = false;
platform::NotifyIconRecord TrayIconData;

namespace {

const char kClassName[] = "TfmSplash";
const int kClientWidth = 383;
const int kClientHeight = 241;
const UINT_PTR kVisibleTimerId = 1;
const UINT kVisibleInterval = 4000;

}  // namespace

void CheckDrives() {
  DiskCheckContext context{Services.drives, Services.sounds, Services.ui,
                           platform::Application.Handle(), fmSettings->Log()};
  ::CheckDrives(fmSettings->Options, ExitRequested, context);
}

TfmSplash::TfmSplash() {
  icon_ = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 16,
                                          16, LR_DEFAULTCOLOR));
  platform::RegisterFormClass(kClassName, icon_, ::GetSysColorBrush(COLOR_BTNFACE));
  CreateHandle(kClassName, "Dorvane 4.0", WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN,
               WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, kClientWidth, kClientHeight);
  // The splash time runs from the window's creation, not from its showing.
  tiVisible = ::SetTimer(Handle(), kVisibleTimerId, kVisibleInterval, nullptr);
}

void TfmSplash::FormCreate() {
  ExitRequested = false;

  RECT client;
  ::GetClientRect(Handle(), &client);
  LONG style = ::GetWindowLongA(Handle(), GWL_STYLE);
  ::SetWindowLongA(Handle(), GWL_STYLE, style & static_cast<LONG>(0xFF3FFFFF));
  RECT outer;
  ::GetWindowRect(Handle(), &outer);
  // Without its caption bar the window keeps its frame; taking the former
  // client height as the new outer height removes the caption's height.
  ::SetWindowPos(Handle(), nullptr, 0, 0, outer.right - outer.left, client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);

  TrayIconData.window = Handle();
  TrayIconData.id = 1;
  TrayIconData.flags = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
  TrayIconData.callbackMessage = WM_TRAYNOTIFY;
  TrayIconData.icon = icon_;
  TrayIconData.tip = "Dorvane 4.0";
}

void TfmSplash::tiVisibleTimer() {
  ::KillTimer(Handle(), tiVisible);
  tiVisible = 0;
  Hide();
  Services.shell.NotifyIcon(platform::kNimAdd, TrayIconData);
}

bool TfmSplash::FormCloseQuery() {
  ::CheckDrives();
  return true;
}

void TfmSplash::FormClose(platform::TCloseAction&) {
  Services.shell.NotifyIcon(platform::kNimDelete, TrayIconData);
}

LRESULT TfmSplash::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kVisibleTimerId && tiVisible != 0) tiVisibleTimer();
      return 0;
    default:
      return TForm::HandleMessage(message, wParam, lParam);
  }
}
