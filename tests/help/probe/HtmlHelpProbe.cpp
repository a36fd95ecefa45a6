// Asks a running dorvane.exe for help as its user does, and reports what
// opened: the tests' hands and eyes in tests/help/test_htmlhelp.py.
//
//   HtmlHelpProbe topics | howto   the tray menu's Help Topics, How to use help
//   HtmlHelpProbe settings         the settings dialog's Help button
//   HtmlHelpProbe show             the program's HTML Help window: its
//                                  caption and its contents tree
//   HtmlHelpProbe winhelp          the caption of Wine's WinHelp viewer
//   HtmlHelpProbe exit             the tray menu's Exit
//
// Built from the layout tables, so the commands follow the program's.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "resources/SettingsLayout.h"
#include "resources/SplashLayout.h"

namespace {

constexpr UINT kTrayNotify = WM_USER + 1;  // the icon's callback message
constexpr DWORD kWaitMs = 20000;

template <class Found>
HWND WaitFor(Found found) {
  const DWORD start = ::GetTickCount();
  do {
    if (HWND hwnd = found()) return hwnd;
    ::Sleep(50);
  } while (::GetTickCount() - start < kWaitMs);
  return nullptr;
}

HWND MainWindow() { return ::FindWindowA(layout::kSplashWindow.className, nullptr); }

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

// A visible top-level window of the class in the program's process.
HWND ProgramWindow(const char* className) {
  const DWORD program = ProcessOf(MainWindow());
  HWND hwnd = nullptr;
  while ((hwnd = ::FindWindowExA(nullptr, hwnd, className, nullptr)) != nullptr) {
    if (ProcessOf(hwnd) == program && ::IsWindowVisible(hwnd)) return hwnd;
  }
  return nullptr;
}

int TrayCommand(const char* item) {
  HWND main = WaitFor(MainWindow);
  if (main == nullptr) return std::puts("no main window"), 2;
  ::PostMessageA(main, WM_COMMAND, layout::MenuItemId(layout::kTrayMenu, item), 0);
  return 0;
}

int SettingsHelp() {
  HWND main = WaitFor(MainWindow);
  if (main == nullptr) return std::puts("no main window"), 2;
  ::PostMessageA(main, kTrayNotify, 0, WM_LBUTTONDBLCLK);
  HWND dialog = WaitFor([] { return ProgramWindow("TfmSettings"); });
  if (dialog == nullptr) return std::puts("no settings dialog"), 2;
  int id = layout::kFirstControlId;
  for (const layout::Control& control : layout::kSettingsLayout) {
    if (std::strcmp(control.name, "buHelp") == 0) break;
    ++id;
  }
  HWND button = WaitFor([&] { return ::GetDlgItem(dialog, id); });
  if (button == nullptr) return std::puts("no Help button"), 2;
  ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return 0;
}

std::string Caption(HWND hwnd) {
  char text[256] = {};
  ::GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// The tree's items with their levels, read through memory of the
// program's process: a tree view gives its items' text only there.
void PrintTree(HWND tree, HANDLE process, HTREEITEM item, int level) {
  struct Remote {
    TVITEMA item;
    char text[260];
  };
  auto* remote = static_cast<Remote*>(
      ::VirtualAllocEx(process, nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
  for (; item != nullptr;
       item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT,
                                                         reinterpret_cast<LPARAM>(item)))) {
    Remote local = {};
    local.item.mask = TVIF_TEXT;
    local.item.hItem = item;
    local.item.pszText = remote->text;
    local.item.cchTextMax = sizeof local.text;
    ::WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
    ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
    std::printf("tree=%d %s\n", level, local.text);
    HTREEITEM child = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    PrintTree(tree, process, child, level + 1);
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
}

BOOL CALLBACK FindTree(HWND hwnd, LPARAM found) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  if (std::strcmp(name, WC_TREEVIEWA) != 0 || !::IsWindowVisible(hwnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = hwnd;
  return FALSE;
}

int ShowHtmlHelp() {
  HWND viewer = WaitFor([] { return ProgramWindow("HH Parent"); });
  if (viewer == nullptr) return std::puts("no HTML Help window"), 1;
  std::printf("caption=%s\n", Caption(viewer).c_str());
  // The viewer makes its contents tree and fills it after its window
  // shows: on a busy machine, seconds later.
  HWND tree = WaitFor([viewer] {
    HWND found = nullptr;
    ::EnumChildWindows(viewer, FindTree, reinterpret_cast<LPARAM>(&found));
    return found != nullptr && ::SendMessageA(found, TVM_GETCOUNT, 0, 0) > 0 ? found : nullptr;
  });
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                                 FALSE, ProcessOf(viewer));
  if (tree != nullptr && process != nullptr) {
    PrintTree(tree, process,
              reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 1);
  }
  if (process != nullptr) ::CloseHandle(process);
  return 0;
}

int ShowWinHelp() {
  HWND viewer = WaitFor([] {
    HWND hwnd = nullptr;
    while ((hwnd = ::FindWindowExA(nullptr, hwnd, "MS_WINHELP", nullptr)) != nullptr) {
      if (::IsWindowVisible(hwnd)) return hwnd;
    }
    return hwnd;
  });
  if (viewer == nullptr) return std::puts("no WinHelp window"), 1;
  std::printf("caption=%s\n", Caption(viewer).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 2 ? argv[1] : "";
  if (command == "topics") return TrayCommand("miHelpTopics");
  if (command == "howto") return TrayCommand("miHowtoUseHelp");
  if (command == "settings") return SettingsHelp();
  if (command == "show") return ShowHtmlHelp();
  if (command == "winhelp") return ShowWinHelp();
  if (command == "exit") return TrayCommand("miExit");
  std::puts("usage: HtmlHelpProbe topics|howto|settings|show|winhelp|exit");
  return 2;
}
