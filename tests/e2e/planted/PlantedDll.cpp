// Stands in for a DLL that someone put beside the program under the name
// of a system DLL: loaded into a process, it leaves a mark, an empty file
// named after itself with ".loaded" added, and does nothing else.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char mark[MAX_PATH + 8] = {};
  const DWORD length = ::GetModuleFileNameA(self, mark, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  ::lstrcatA(mark, ".loaded");
  HANDLE file = ::CreateFileA(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
  return TRUE;
}
