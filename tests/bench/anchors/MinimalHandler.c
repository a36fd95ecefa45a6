/* The end-of-session anchors: a hidden window that answers
   WM_QUERYENDSESSION after probing the same drives as the disk check
   (changing into each root; a drive that answers has its label read).
   The command line says what else it does for a drive with a medium:

     probe              nothing: the least a check can do
     rewrite LOGFILE    the least safe rewrite of the log: read the file,
                        make its breaks CR LF with a block scan, add a line,
                        write it beside, flush it and rename it over the log
     copy LOGFILE       CopyFileA of the log to a file beside it

   The window's text is the mode, so that the benchmark finds each. The
   drives are those of the DRIVES environment variable (default A). With
   REMOVABLE_DRIVES=1, as dorvane.exe with its removable drives' option, each
   query walks the letters A to Z and also probes every drive that exists
   and whose type is removable or CD-ROM, asking GetLogicalDrives and
   GetDriveTypeA each time. */
#include <windows.h>
#include <stdlib.h>
#include <string.h>

static char mode[16] = "probe";
static char logFile[MAX_PATH];
static char drives[27] = "A";
static int removableDrives = 0;

static const char kLine[] =
    "12/8/2026   -   4:35:12 PM   -   Left a disk with the label \"BENCH\" in the A-drive.\r\n";

static const char* Next(const char* from, const char* end, char byte) {
  const char* found = (const char*)memchr(from, byte, (size_t)(end - from));
  return found != NULL ? found : end;
}

static void Rewrite(void) {
  HANDLE file = CreateFileA(logFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  LARGE_INTEGER size;
  DWORD count = 0;
  char *text, *out, *o;
  const char *at, *end, *cr, *lf;
  char temporary[MAX_PATH + 8];
  if (file == INVALID_HANDLE_VALUE) return;
  GetFileSizeEx(file, &size);
  text = (char*)malloc((size_t)size.QuadPart + 1);
  ReadFile(file, text, (DWORD)size.QuadPart, &count, NULL);
  CloseHandle(file);

  /* Every lone CR or LF may become two bytes. */
  out = (char*)malloc(2 * (size_t)count + sizeof kLine);
  o = out;
  end = text + count;
  cr = Next(text, end, '\r');
  lf = Next(text, end, '\n');
  for (at = text;;) {
    const char* found;
    if (cr < at) cr = Next(at, end, '\r');
    if (lf < at) lf = Next(at, end, '\n');
    found = cr < lf ? cr : lf;
    memcpy(o, at, (size_t)(found - at));
    o += found - at;
    if (found == end) break;
    *o++ = '\r';
    *o++ = '\n';
    at = found + (*found == '\r' && found + 1 < end && found[1] == '\n' ? 2 : 1);
  }
  memcpy(o, kLine, sizeof kLine - 1);
  o += sizeof kLine - 1;
  free(text);

  lstrcpyA(temporary, logFile);
  lstrcatA(temporary, ".tmp");
  file = CreateFileA(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     NULL);
  if (file != INVALID_HANDLE_VALUE) {
    WriteFile(file, out, (DWORD)(o - out), &count, NULL);
    FlushFileBuffers(file);
    CloseHandle(file);
    MoveFileExA(temporary, logFile, MOVEFILE_REPLACE_EXISTING);
  }
  free(out);
}

static void Copy(void) {
  char copy[MAX_PATH + 8];
  lstrcpyA(copy, logFile);
  lstrcatA(copy, ".copy");
  CopyFileA(logFile, copy, FALSE);
}

static void CheckDrive(char letter) {
  char root[4] = {0, ':', '\\', 0};
  char label[MAX_PATH];
  DWORD serial, length, flags;
  char system[MAX_PATH];
  root[0] = letter;
  if (!SetCurrentDirectoryA(root)) return;
  GetVolumeInformationA(root, label, sizeof label, &serial, &length, &flags, system,
                        sizeof system);
  if (lstrcmpA(mode, "rewrite") == 0) Rewrite();
  if (lstrcmpA(mode, "copy") == 0) Copy();
}

static void CheckDrives(void) {
  const char* letter;
  DWORD existing;
  int bit;
  if (!removableDrives) {
    for (letter = drives; *letter != '\0'; ++letter) CheckDrive(*letter);
    return;
  }
  existing = GetLogicalDrives();
  for (bit = 0; bit < 26; ++bit) {
    char root[4] = {0, ':', '\\', 0};
    root[0] = (char)('A' + bit);
    if (strchr(drives, root[0]) == NULL) {
      UINT type;
      if ((existing & (1u << bit)) == 0) continue;
      type = GetDriveTypeA(root);
      if (type != DRIVE_REMOVABLE && type != DRIVE_CDROM) continue;
    }
    CheckDrive(root[0]);
  }
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_QUERYENDSESSION:
      CheckDrives();
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) ExitProcess(0);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
  WNDCLASSA wc = {0};
  MSG msg;
  const char* space;
  (void)previous;
  (void)show;
  space = strchr(commandLine, ' ');
  lstrcpynA(mode, commandLine, space != NULL && space - commandLine < (int)sizeof mode
                                   ? (int)(space - commandLine) + 1
                                   : (int)sizeof mode);
  if (mode[0] == '\0') lstrcpyA(mode, "probe");
  if (space != NULL) lstrcpynA(logFile, space + 1, sizeof logFile);
  if (GetEnvironmentVariableA("DRIVES", drives, sizeof drives) == 0) lstrcpyA(drives, "A");
  {
    char flag[4] = "";
    GetEnvironmentVariableA("REMOVABLE_DRIVES", flag, sizeof flag);
    removableDrives = lstrcmpA(flag, "1") == 0;
  }

  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = "BenchMinimalHandler";
  RegisterClassA(&wc);
  CreateWindowExA(0, wc.lpszClassName, mode, WS_POPUP, 0, 0, 0, 0, NULL, NULL, instance, NULL);
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
