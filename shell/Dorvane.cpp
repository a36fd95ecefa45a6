// The program body: creates the three windows in their order and runs the
// message loop until the main window closes.

#include <windows.h>

#include "about/AboutUn.h"
#include "settings/SettingsUn.h"
#include "shell/Services.h"
#include "shell/SplashUn.h"

TServices Services;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using platform::Application;
  Application.Initialize();
  Application.SetTitle("Dorvane");
  Application.HelpFile = "dvn40.hlp";
  Application.CreateForm(fmSplash);
  Application.CreateForm(fmSettings);
  Application.CreateForm(fmAbout);
  Application.Run();
  return 0;
}
