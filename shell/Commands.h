#pragma once
// The tray menu's commands that need no window: the restart or shut-down
// after a confirmation and a disk check.

#include <functional>
#include <string>

#include "platform/Language.h"
#include "platform/Session.h"
#include "platform/UserInterface.h"

struct SessionEndCommand {
  platform::TextId question;
  platform::TextId caption;
  unsigned exitFlag;
};
extern const SessionEndCommand kRestartCommand;
extern const SessionEndCommand kShutDownCommand;

// Asks the user, in the language of `texts`; on Yes runs the check and then
// asks Windows to end the session. A check that fails leaves the session
// alone: its failure passes on to the caller.
void RunSessionEndCommand(const SessionEndCommand& command, const platform::Texts& texts,
                          platform::UserInterface& ui, platform::WindowHandle boxOwner,
                          platform::Session& session, const std::function<void()>& checkDrives);
