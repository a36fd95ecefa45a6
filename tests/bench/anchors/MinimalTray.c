/* The start-up and memory anchor: the least a tray program does. It loads
   the system DLLs that dorvane.exe loads (the table below puts one function
   of each into its import table), creates one hidden window, adds an icon
   to the notification area and waits for messages. */
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shellapi.h>

/* Never called: each entry only makes the loader map its DLL, as dorvane's
   imports do. */
static void* volatile kImportedDlls[] = {
    (void*)&RegCloseKey,         /* advapi32 */
    (void*)&InitCommonControlsEx, /* comctl32 */
    (void*)&GetOpenFileNameA,    /* comdlg32 */
    (void*)&GetStockObject,      /* gdi32 */
    (void*)&TransparentBlt,      /* msimg32 */
    (void*)&sndPlaySoundA,       /* winmm */
};

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  WNDCLASSA wc = {0};
  NOTIFYICONDATAA icon = {0};
  MSG msg;
  HWND window;
  (void)previous;
  (void)commandLine;
  (void)show;
  (void)kImportedDlls;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "BenchMinimalTray";
  RegisterClassA(&wc);
  window = CreateWindowExA(0, wc.lpszClassName, "tray", WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                           instance, NULL);
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  icon.uCallbackMessage = WM_USER + 1;
  icon.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
  lstrcpynA(icon.szTip, "tray", sizeof icon.szTip);
  Shell_NotifyIconA(NIM_ADD, &icon);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Shell_NotifyIconA(NIM_DELETE, &icon);
  return 0;
}
