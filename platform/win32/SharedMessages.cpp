#include "platform/win32/SharedMessages.h"

#include "platform/win32/SystemLibraries.h"

namespace platform {

UINT RegisteredMessage(const char* name) { return ::RegisterWindowMessageA(name); }

UINT TaskbarCreatedMessage() {
  const UINT message = RegisteredMessage("TaskbarCreated");
  // Windows Vista and later keep a program started with Run as
  // administrator from hearing messages of programs with fewer rights,
  // Explorer among them, unless it lets this one through.
  using ChangeWindowMessageFilter = BOOL(WINAPI*)(UINT, DWORD);
  constexpr DWORD kMessageFilterAdd = 1;
  const auto letThrough =
      SystemFunction<ChangeWindowMessageFilter>("user32.dll", "ChangeWindowMessageFilter");
  if (message != 0 && letThrough != nullptr) letThrough(message, kMessageFilterAdd);
  return message;
}

}  // namespace platform
