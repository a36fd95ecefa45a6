#include "shell/Commands.h"

const SessionEndCommand kRestartCommand = {"Are you sure you want to restart your computer?",
                                           "Restart", platform::kEwxReboot};
const SessionEndCommand kShutDownCommand = {"Are you sure you want to shut down Windows?",
                                            "Shut Down", platform::kEwxShutdown};

void RunSessionEndCommand(const SessionEndCommand& command, platform::UserInterface& ui,
                          platform::WindowHandle boxOwner, platform::Session& session,
                          const std::function<void()>& checkDrives) {
  if (ui.ShowMessageBox(boxOwner, command.question, command.caption,
                        platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
    return;
  }
  checkDrives();
  // Not forced: where Windows or another program refuses, the program
  // simply runs on, as after any refused end of the session.
  session.EndSession(command.exitFlag, 0);
}
