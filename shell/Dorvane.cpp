// The program body: builds the platform services, creates the three
// windows in their order, each with the services it uses, and runs the
// message loop until the main window closes.

#include <windows.h>

#include "about/AboutUn.h"
#include "platform/win32/Win32EventLog.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"
#include "resources/Events.h"
#include "resources/HelpFiles.h"
#include "resources/SplashLayout.h"
#include "resources/Texts.h"
#include "settings/SettingsUn.h"
#include "shell/Commands.h"
#include "shell/SecondStart.h"
#include "shell/SplashUn.h"
#include "settings/Policies.h"
#include "shell/UserLanguage.h"

namespace {

// A second start in this session shows the running copy's settings and
// ends before it makes a window, an icon or a check of its own, or touches
// the settings. The first copy builds its services, creates its windows and
// runs until the main window closes.
void Start(platform::Texts& texts) {
  // The name stays claimed for the whole run.
  platform::Win32SingleInstance instance;
  if (ClaimOrHandOver(instance, layout::kSplashWindow.className) != TStartRole::FirstCopy) return;

  // One of each service for the whole run; the windows keep references,
  // and none of them outlives the message loop.
  platform::Win32Registry registry;
  platform::Win32Registry userRegistry(HKEY_CURRENT_USER);
  platform::Win32Drives drives;
  platform::Win32Files files;
  platform::Win32Clock clock;
  platform::Win32Locale locale;
  platform::Win32Shell shell;
  platform::Win32Sounds sounds;
  platform::Win32UserInterface ui;
  platform::Win32Session session;
  platform::Win32Timers timers;
  platform::Win32CommonDialogs dialogs;
  platform::Win32HelpSystem helpSystem;
  platform::Win32EventLog events(kEventSource);
  platform::ViewerChoosingHelp help(helpSystem, [&files] { return files.ApplicationDirectory(); },
                                    kHelpFiles);

  // The language is chosen before the first window shows a text, and kept
  // for the whole run: an administrator's policy over the user's choice.
  std::string languageSetting;
  const bool languageByPolicy = PolicyLanguage(registry, userRegistry, events, languageSetting);
  if (!languageByPolicy) languageSetting = StoredLanguage(registry);
  const std::string language = LoadUserLanguage(texts, files, locale, languageSetting) +
                               (languageByPolicy ? ", set by policy" : "");

  using platform::Application;
  Application.Initialize();
  Application.CreateForm(fmSplash, TSplashServices{shell, help, ui, session, drives, sounds, files,
                                                   clock, locale, timers, events, texts});
  Application.CreateForm(fmSettings,
                         TSettingsServices{registry, userRegistry, drives, shell, files, sounds,
                                           dialogs, help, events, texts});
  Application.CreateForm(fmAbout, shell, texts, fmSplash->LogoPicture(),
                         fmSplash->KestromePicture());
  ReportStart(fmSettings->Options, fmSettings->ManagedOptions(), language, events);
  // Windows Vista and later start the program again after an update closed
  // it, or after a crash, so that the machine is not left unguarded.
  session.RegisterForRestart();
  Application.Run();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::RestrictLibrarySearch();
  // A program that could not start would guard nothing, and no one would
  // see it: a failure before its message loop is shown under the program's
  // title (set first, so the box has it), and the start ends with this
  // exit code.
  constexpr int kNotStarted = 1;
  platform::Application.SetTitle(kApplicationTitle);
  // The texts outlive the start, whose failure the error box shows in them:
  // English until the start has read the language file.
  platform::Texts texts(TextTable(), kTextCount);
  platform::Application.SetTexts(texts, kPlatformTexts);
  return platform::Application.RunStart([&texts] { Start(texts); }) ? 0 : kNotStarted;
}
