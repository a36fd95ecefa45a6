/*
 * Asks Wine's help viewer what it shows, for the help tests: the tests run
 * it once per step and read what it prints.
 *
 *   help_probe help FILE COMMAND DATA  WinHelpA(NULL, FILE, COMMAND, DATA)
 *   help_probe show                    caption and text of the help window
 *   help_probe index                   opens the index, prints its entries
 *   help_probe pick KEYWORD            chooses an entry of the open index
 *   help_probe errors                  the viewer's error boxes, if any
 *   help_probe close                   closes every help window
 *
 * Built with the test programs, for the same Wine as the viewer it reads.
 */
#include <windows.h>
#include <prsht.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>

#define TEXT_ID 0x701 /* the viewer's rich-edit control */

static DWORD viewer_pid;

static HWND find_viewer(void)
{
    /* The viewer's windows are of class MS_WINHELP; take a visible one. */
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, "MS_WINHELP", NULL)) != NULL)
        if (IsWindowVisible(hwnd)) return hwnd;
    return NULL;
}

static HWND wait_viewer(int ms)
{
    HWND hwnd;
    int waited;
    for (waited = 0; waited < ms; waited += 100)
    {
        if ((hwnd = find_viewer()) != NULL) return hwnd;
        Sleep(100);
    }
    return NULL;
}

static void read_text(HWND hwnd, char *text, int size)
{
    text[0] = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, size, (LPARAM)text, SMTO_NORMAL, 5000, NULL);
}

/* Prints the viewer's caption and page. `previous` is the page shown
   before a new one was asked for, or NULL. */
static int show_page(const char *previous)
{
    static char text[65536], before[65536];
    char caption[512] = "";
    HWND viewer = wait_viewer(10000), page = NULL;
    int waited, steady = 0;
    if (!viewer) { printf("no help window\n"); return 1; }
    /* The viewer fills the page it was asked for after its window shows,
       and a busy machine can take its time: the page is read once its
       text is there and has stayed the same for 300 ms; after a page
       asked for, once it differs from the one before (or after 3 s: the
       page asked for may be the one that was shown). */
    before[0] = 0;
    for (waited = 0; waited < 10000 && steady < 300; waited += 100)
    {
        Sleep(100);
        if (!page) page = GetDlgItem(viewer, TEXT_ID);
        if (!page) continue;
        read_text(page, text, sizeof(text));
        if (previous && waited < 3000 && !strcmp(text, previous)) continue;
        steady = text[0] && !strcmp(text, before) ? steady + 100 : 0;
        strcpy(before, text);
    }
    GetWindowTextA(viewer, caption, sizeof(caption));
    printf("caption=%s\n", caption);
    if (!page) { printf("no text control\n"); return 1; }
    printf("text<<<\n%s\n>>>\n", text);
    return 0;
}

static int show(void)
{
    return show_page(NULL);
}

struct search { const char *text; const char *cls; DWORD pid; HWND found; };

static BOOL CALLBACK find_child(HWND hwnd, LPARAM param)
{
    struct search *s = (struct search *)param;
    char buf[256] = "", cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof(cls));
    GetWindowTextA(hwnd, buf, sizeof(buf));
    if ((!s->cls || !lstrcmpiA(cls, s->cls)) && (!s->text || !strcmp(buf, s->text)))
    {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK find_dialog(HWND hwnd, LPARAM param)
{
    struct search *s = (struct search *)param;
    char cls[64] = "";
    DWORD pid;
    GetWindowThreadProcessId(hwnd, &pid);
    GetClassNameA(hwnd, cls, sizeof(cls));
    if (pid == s->pid && IsWindowVisible(hwnd) && !strcmp(cls, "#32770"))
    {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

static HWND viewer_dialog(int ms)
{
    struct search s = {NULL, NULL, viewer_pid, NULL};
    int waited;
    for (waited = 0; waited < ms && !s.found; waited += 100)
    {
        EnumWindows(find_dialog, (LPARAM)&s);
        if (!s.found) Sleep(100);
    }
    return s.found;
}

static HWND child(HWND parent, const char *cls, const char *text)
{
    struct search s = {text, cls, 0, NULL};
    EnumChildWindows(parent, find_child, (LPARAM)&s);
    return s.found;
}

static HWND index_list(HWND sheet)
{
    return child(sheet, "ListBox", NULL);
}

static int open_index(void)
{
    HWND viewer = wait_viewer(10000), button, sheet, list;
    char caption[512] = "", entry[512];
    int count, i;
    if (!viewer) { printf("no help window\n"); return 1; }
    GetWindowThreadProcessId(viewer, &viewer_pid);
    button = child(viewer, "Button", "&Index");
    if (!button) button = child(viewer, "Button", "Index");
    if (!button) { printf("no Index button\n"); return 1; }
    /* Posted: the index is a modal sheet, a sent click would wait for it. */
    PostMessageA(button, BM_CLICK, 0, 0);
    sheet = viewer_dialog(10000);
    if (!sheet) { printf("no index window\n"); return 1; }
    /* The sheet shows before its list is filled. */
    list = NULL;
    count = 0;
    for (i = 0; i < 100 && count <= 0; i++)
    {
        if (!list) list = index_list(sheet);
        if (list) count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
        if (count <= 0) Sleep(100);
    }
    GetWindowTextA(sheet, caption, sizeof(caption));
    printf("caption=%s\n", caption);
    if (!list) { printf("no index list\n"); return 1; }
    printf("count=%d\n", count);
    for (i = 0; i < count; i++)
    {
        /* Wine hands another process an entry's text only in Unicode. */
        WCHAR wide[512];
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) >= (LRESULT)ARRAYSIZE(wide)) continue;
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)wide);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, entry, sizeof(entry), NULL, NULL);
        printf("entry=%s\n", entry);
    }
    return 0;
}

static int pick(const char *keyword)
{
    static char previous[65536];
    HWND viewer = wait_viewer(10000), sheet, list, page;
    LRESULT at;
    int waited;
    if (!viewer) { printf("no help window\n"); return 1; }
    GetWindowThreadProcessId(viewer, &viewer_pid);
    sheet = viewer_dialog(2000);
    if (!sheet) { printf("no index window\n"); return 1; }
    list = index_list(sheet);
    at = SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)keyword);
    if (at == LB_ERR) { printf("no entry %s\n", keyword); return 1; }
    SendMessageA(list, LB_SETCURSEL, at, 0);
    page = GetDlgItem(viewer, TEXT_ID);
    if (page) read_text(page, previous, sizeof(previous));
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    for (waited = 0; waited < 10000 && IsWindow(sheet); waited += 100) Sleep(100);
    if (IsWindow(sheet)) { printf("the index window stays open\n"); return 1; }
    return show_page(previous);
}

static BOOL CALLBACK print_error(HWND hwnd, LPARAM param)
{
    char caption[256] = "";
    (void)param;
    GetWindowTextA(hwnd, caption, sizeof(caption));
    if (IsWindowVisible(hwnd) && !strcmp(caption, "ERROR"))
    {
        char message[1024] = "";
        /* A message box's first static is its icon: take the one with text. */
        HWND s = NULL;
        while ((s = FindWindowExA(hwnd, s, "Static", NULL)) != NULL)
        {
            GetWindowTextA(s, message, sizeof(message));
            if (message[0]) break;
        }
        printf("error=%s\n", message);
    }
    return TRUE;
}

static int close_all(void)
{
    HWND hwnd;
    int waited;
    while ((hwnd = FindWindowExA(NULL, NULL, "MS_WINHELP", NULL)) != NULL)
    {
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        for (waited = 0; waited < 5000 && IsWindow(hwnd); waited += 100) Sleep(100);
        if (IsWindow(hwnd)) { printf("a help window does not close\n"); return 1; }
    }
    return 0;
}

int main(int argc, char **argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    if (argc == 5 && !strcmp(argv[1], "help"))
    {
        BOOL ok = WinHelpA(NULL, argv[2], (UINT)strtoul(argv[3], NULL, 0),
                           (ULONG_PTR)strtoul(argv[4], NULL, 0));
        printf("result=%d\n", ok);
        return ok ? 0 : 1;
    }
    if (argc == 2 && !strcmp(argv[1], "show")) return show();
    if (argc == 2 && !strcmp(argv[1], "index")) return open_index();
    if (argc == 3 && !strcmp(argv[1], "pick")) return pick(argv[2]);
    if (argc == 2 && !strcmp(argv[1], "errors"))
    {
        EnumWindows(print_error, 0);
        return 0;
    }
    if (argc == 2 && !strcmp(argv[1], "close")) return close_all();
    fprintf(stderr, "usage: help_probe help FILE COMMAND DATA | show | index | pick KEYWORD"
                    " | errors | close\n");
    return 2;
}
