// Stands in for a DLL that someone put beside the program under the name
// of a system DLL: loaded into a process, it leaves a mark, an empty file
// named after itself with ".loaded" added, and does nothing else. It
// exports the functions the program uses of the four DLLs, doing nothing,
// so that a program that did load it runs on and the test can say so.
// No GDI declarations: this file defines its own TransparentBlt.
#define NOGDI
#include <windows.h>

extern "C" {

__declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR, UINT) { return FALSE; }
__declspec(dllexport) BOOL WINAPI TransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int,
                                                 UINT) {
  return FALSE;
}
__declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*) { return TRUE; }
__declspec(dllexport) BOOL WINAPI WTSRegisterSessionNotification(HWND, DWORD) { return FALSE; }
__declspec(dllexport) BOOL WINAPI WTSUnRegisterSessionNotification(HWND) { return FALSE; }

}  // extern "C"

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
