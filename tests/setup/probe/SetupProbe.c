/* What the setup tests ask on the Windows side, one command per run:
 *   setup_probe splash       each running Dorvane: "splash pid=N path=P"
 *   setup_probe query        asks Dorvane whether the session may end, as
 *                            Windows does; answers its warning box with OK
 *                            and prints "box=TEXT" and "answer=N"
 *   setup_probe wizard       the setup's (or uninstaller's) window, once
 *                            it has painted what it shows: "caption=",
 *                            "rect=L,T,R,B" and each visible control's
 *                            "text=" ("check=" for check boxes)
 *   setup_probe click ID     presses that button of the setup's window
 *   setup_probe stub SECONDS a main window of Dorvane's class that ignores
 *                            every command, Exit included, for that long:
 *                            a copy that will not end
 * With SETUP_PROBE_DESKTOP set it looks on that desktop (a virtual desktop
 * of Wine's explorer), whose windows other desktops' threads do not see.
 * Exit code 0 when it found what it looked for, 1 when not, 2 on misuse. */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char kSplashClass[] = "TfmSplash";
static const char kDialogClass[] = "#32770";

typedef struct {
  HWND found[16];
  int count;
  DWORD pid; /* 0: any process */
  const char* className;
  const char* captionPart; /* NULL: any caption; else a part of it, in any language */
} Search;

static BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  Search* search = (Search*)param;
  char name[64], caption[256];
  DWORD pid = 0;
  if (!GetClassNameA(window, name, sizeof name) || strcmp(name, search->className) != 0)
    return TRUE;
  GetWindowThreadProcessId(window, &pid);
  if (search->pid != 0 && pid != search->pid) return TRUE;
  GetWindowTextA(window, caption, sizeof caption);
  if (search->captionPart != NULL && strstr(caption, search->captionPart) == NULL) return TRUE;
  if (search->count < 16) search->found[search->count++] = window;
  return TRUE;
}

static int FindTopLevel(Search* search) {
  search->count = 0;
  EnumWindows(CollectWindow, (LPARAM)search);
  return search->count;
}

static int ListSplash(void) {
  Search search = {{0}, 0, 0, kSplashClass, NULL};
  int i;
  for (i = 0; i < FindTopLevel(&search); ++i) {
    DWORD pid = 0;
    char path[MAX_PATH] = "";
    HANDLE process;
    GetWindowThreadProcessId(search.found[i], &pid);
    process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (process != NULL) {
      GetModuleFileNameExA(process, NULL, path, sizeof path);
      CloseHandle(process);
    }
    printf("splash pid=%lu path=%s\n", (unsigned long)pid, path);
  }
  return search.count > 0 ? 0 : 1;
}

typedef struct {
  HWND window;
  DWORD_PTR answer;
  LRESULT sent;
} Query;

static DWORD WINAPI AskEndOfSession(LPVOID param) {
  Query* query = (Query*)param;
  query->sent = SendMessageTimeoutA(query->window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 60000,
                                    &query->answer);
  return 0;
}

static BOOL CALLBACK PrintStatic(HWND control, LPARAM param) {
  char name[64], text[1024];
  (void)param;
  if (GetClassNameA(control, name, sizeof name) && _stricmp(name, "Static") == 0 &&
      GetWindowTextA(control, text, sizeof text) > 0) {
    printf("box=%s\n", text);
  }
  return TRUE;
}

static int AskSplash(void) {
  Search splash = {{0}, 0, 0, kSplashClass, NULL};
  Search boxes = {{0}, 0, 0, kDialogClass, NULL};
  Query query = {NULL, 0, 0};
  HANDLE worker;
  int i;
  if (FindTopLevel(&splash) == 0) return 1;
  query.window = splash.found[0];
  GetWindowThreadProcessId(query.window, &boxes.pid);
  worker = CreateThread(NULL, 0, AskEndOfSession, &query, 0, NULL);
  /* The warning is system-modal and holds the answer until it is closed.
     Each box is read once, then answered, and the next looked for only
     once it has gone: a busy program takes its time to close it. */
  for (i = 0; i < 300 && WaitForSingleObject(worker, 100) == WAIT_TIMEOUT; ++i) {
    if (FindTopLevel(&boxes) > 0 && IsWindowVisible(boxes.found[0])) {
      HWND box = boxes.found[0];
      int waited;
      EnumChildWindows(box, PrintStatic, 0);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      for (waited = 0; waited < 10000 && IsWindow(box); waited += 50) Sleep(50);
    }
  }
  WaitForSingleObject(worker, 60000);
  CloseHandle(worker);
  printf("answer=%ld\n", query.sent ? (long)query.answer : -1L);
  return query.sent ? 0 : 1;
}

/* The wizard of the setup or of its uninstaller, both captioned with the
 * product's name. */
static HWND FindWizard(void) {
  Search search = {{0}, 0, 0, kDialogClass, "Dorvane 4.0"};
  int i;
  FindTopLevel(&search);
  for (i = 0; i < search.count; ++i) {
    if (IsWindowVisible(search.found[i])) return search.found[i];
  }
  return NULL;
}

/* The setup is a Unicode program: its texts are read as such and printed
 * in the ANSI code page. */
static void TextOf(HWND window, char* text, int size) {
  WCHAR wide[1024];
  wide[0] = 0;
  GetWindowTextW(window, wide, 1024);
  if (!WideCharToMultiByte(CP_ACP, 0, wide, -1, text, size, NULL, NULL)) text[0] = '\0';
}

static BOOL CALLBACK PrintControl(HWND control, LPARAM param) {
  char name[64], text[1024];
  (void)param;
  if (!IsWindowVisible(control)) return TRUE;
  GetClassNameA(control, name, sizeof name);
  TextOf(control, text, sizeof text);
  if (_stricmp(name, "Button") == 0 &&
      (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
    printf("check=%s=%d\n", text, (int)SendMessageA(control, BM_GETCHECK, 0, 0));
  } else if (text[0] != '\0') {
    printf("text=%s\n", text);
  }
  return TRUE;
}

static int DescribeWizard(void) {
  HWND wizard = FindWizard();
  char caption[256];
  RECT rect;
  DWORD_PTR answer;
  if (wizard == NULL) return 1;
  /* A picture taken after this answer shows the page as described: the
     wizard's thread handles a message sent now once it has finished what
     it was doing, and RDW_UPDATENOW has it paint what it has left to
     paint before RedrawWindow returns. */
  if (SendMessageTimeoutA(wizard, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
    RedrawWindow(wizard, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
  TextOf(wizard, caption, sizeof caption);
  GetWindowRect(wizard, &rect);
  printf("caption=%s\nrect=%ld,%ld,%ld,%ld\n", caption, rect.left, rect.top, rect.right,
         rect.bottom);
  EnumChildWindows(wizard, PrintControl, 0);
  return 0;
}

static int ClickWizard(int id) {
  HWND wizard = FindWizard();
  HWND button = wizard != NULL ? GetDlgItem(wizard, id) : NULL;
  if (button == NULL || !IsWindowEnabled(button)) return 1;
  /* What a click on the button tells its dialog. */
  PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
  return 0;
}

static LRESULT CALLBACK IgnoreCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

static int RunStub(int seconds) {
  WNDCLASSA windowClass;
  HWND window;
  MSG msg;
  memset(&windowClass, 0, sizeof windowClass);
  windowClass.lpfnWndProc = IgnoreCommands;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.lpszClassName = kSplashClass;
  if (!RegisterClassA(&windowClass)) return 1;
  window = CreateWindowExA(0, kSplashClass, "Dorvane 4.0", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                           windowClass.hInstance, NULL);
  if (window == NULL) return 1;
  SetTimer(window, 1, (UINT)seconds * 1000, NULL);
  while (GetMessageA(&msg, NULL, 0, 0) > 0 && msg.message != WM_TIMER) DispatchMessageA(&msg);
  DestroyWindow(window);
  return 0;
}

int main(int argc, char** argv) {
  int status = 2;
  const char* desktop = getenv("SETUP_PROBE_DESKTOP");
  if (desktop != NULL && desktop[0] != '\0') {
    HDESK handle = OpenDesktopA(desktop, 0, FALSE, GENERIC_ALL);
    if (handle == NULL || !SetThreadDesktop(handle)) {
      fprintf(stderr, "no desktop %s\n", desktop);
      return 2;
    }
  }
  if (argc == 2 && strcmp(argv[1], "splash") == 0) status = ListSplash();
  else if (argc == 2 && strcmp(argv[1], "query") == 0) status = AskSplash();
  else if (argc == 2 && strcmp(argv[1], "wizard") == 0) status = DescribeWizard();
  else if (argc == 3 && strcmp(argv[1], "click") == 0) status = ClickWizard(atoi(argv[2]));
  else if (argc == 3 && strcmp(argv[1], "stub") == 0) status = RunStub(atoi(argv[2]));
  else fprintf(stderr, "usage: setup_probe splash | query | wizard | click ID | stub SECONDS\n");
  fflush(stdout);
  return status;
}
