#pragma once
// Window messages that other programs know by name.

#include <windows.h>

namespace platform {

// RegisterWindowMessageA: the same number in every program of the session.
UINT RegisteredMessage(const char* name);

// "TaskbarCreated", which Explorer broadcasts to every top-level window when
// it starts again and has lost the notification area's icons.
UINT TaskbarCreatedMessage();

}  // namespace platform
