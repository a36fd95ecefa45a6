// Prints the tray menu's Exit command as an NSIS definition, for the setup
// and its uninstaller: they end a running Dorvane by posting this command
// to its main window, as the menu does, so that no disk check runs and no
// warning box holds them. Built from the menu's own table, the number
// follows any change to the menu.
#include <cstdio>

#include "resources/SplashLayout.h"

namespace {

// Without an miExit item in the menu this fails to compile.
constexpr int kExitCommand = layout::MenuItemId(layout::kTrayMenu, "miExit");

}  // namespace

int main() {
  std::printf("; Made by setup/ExitCommand.cpp from resources/SplashLayout.h.\n");
  std::printf("!define DORVANE_EXIT_COMMAND %d\n", kExitCommand);
  std::printf("!define DORVANE_WINDOW_CLASS \"%s\"\n", layout::kSplashWindow.className);
  return 0;
}
