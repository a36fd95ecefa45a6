#include "shell/Commands.h"

#include "resources/Texts.h"

const SessionEndCommand kRestartCommand = {TextNamed("Restart.Question"), TextNamed("Restart.Caption"),
                                           platform::kEwxReboot};
const SessionEndCommand kShutDownCommand = {TextNamed("ShutDown.Question"), TextNamed("ShutDown.Caption"),
                                            platform::kEwxShutdown};

void RunSessionEndCommand(const SessionEndCommand& command, const platform::Texts& texts,
                          platform::UserInterface& ui, platform::WindowHandle boxOwner,
                          platform::Session& session, const std::function<void()>& checkDrives) {
  if (ui.ShowMessageBox(boxOwner, texts[command.question], texts[command.caption],
                        platform::kMbYesNo | platform::kMbIconQuestion) != platform::kIdYes) {
    return;
  }
  checkDrives();
  // Not forced: where Windows or another program refuses, the program
  // simply runs on, as after any refused end of the session.
  session.EndSession(command.exitFlag, 0);
}
