// The program body: builds the platform services, creates the three
// windows in their order, each with the services it uses, and runs the
// message loop until the main window closes.

#include <windows.h>

#include "about/AboutUn.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"
#include "resources/Texts.h"
#include "settings/SettingsUn.h"
#include "shell/Commands.h"
#include "shell/SplashUn.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::RestrictLibrarySearch();

  // One of each service for the whole run; the windows keep references,
  // and none of them outlives the message loop.
  platform::Win32Registry registry;
  platform::Win32Drives drives;
  platform::Win32Files files;
  platform::Win32Clock clock;
  platform::Win32Locale locale;
  platform::Win32Shell shell;
  platform::Win32Sounds sounds;
  platform::Win32UserInterface ui;
  platform::Win32Session session;
  platform::Win32CommonDialogs dialogs;
  platform::Win32Help help([&files] { return HelpFilePath(files.ApplicationDirectory()); });

  using platform::Application;
  Application.Initialize();
  Application.SetTitle(kApplicationTitle);
  Application.CreateForm(fmSplash, TSplashServices{shell, help, ui, session, drives, sounds, files,
                                                   clock, locale});
  Application.CreateForm(fmSettings,
                         TSettingsServices{registry, drives, shell, files, sounds, dialogs, help});
  Application.CreateForm(fmAbout, shell, fmSplash->LogoPicture(), fmSplash->KestromePicture());
  Application.Run();
  return 0;
}
