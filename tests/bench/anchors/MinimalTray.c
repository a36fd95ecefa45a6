/* The start-up and memory anchor: the least a tray program does. It loads
   the system DLLs that dorvane.exe loads at start: the known DLLs it
   imports (the table below puts one function of each into its import
   table), and comctl32 and msimg32, which dorvane.exe loads from the
   system folder by full path (winmm waits for the first sound, comdlg32
   for the first file chooser). Then it creates one hidden window, adds an
   icon to the notification area and waits for messages. */
#include <windows.h>
#include <shellapi.h>

/* Never called: each entry only makes the loader map its DLL, as dorvane's
   imports do. */
static void* volatile kImportedDlls[] = {
    (void*)&RegCloseKey,         /* advapi32 */
    (void*)&GetStockObject,      /* gdi32 */
};

static void LoadFromSystemFolder(const char* name) {
  char path[MAX_PATH];
  UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length + 1 + lstrlenA(name) >= MAX_PATH) return;
  path[length] = '\\';
  lstrcpyA(path + length + 1, name);
  LoadLibraryA(path);
}

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
  LoadFromSystemFolder("comctl32.dll");
  LoadFromSystemFolder("msimg32.dll");
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
