#pragma once
// The platform services of the running program: the Win32 implementations,
// one of each, for the whole run.

#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Services.h"

struct TServices {
  platform::Win32Registry registry;
  platform::Win32Drives drives;
  platform::Win32Files files;
  platform::Win32Clock clock;
  platform::Win32Locale locale;
  platform::Win32Shell shell;
  platform::Win32Sounds sounds;
  platform::Win32UserInterface ui;
  platform::Win32Session session;
  platform::Win32Help help;
  platform::Win32CommonDialogs dialogs;
};

extern TServices Services;
