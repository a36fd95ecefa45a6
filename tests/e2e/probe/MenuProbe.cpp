// Loaded into dorvane.exe by the end-to-end tests while its tray menu is
// open: writes the open menu's items, as the program built them, to
// C:\menu-probe.txt (captions in UTF-8), then unloads itself. Menus belong to their process,
// so this is the one way to read them from outside.

#include <windows.h>

#include <string>

#include "ProbeOutput.h"

namespace {

HMODULE self = nullptr;

// A caption as the menu holds it, in UTF-16, written as UTF-8.
std::string Utf8(const wchar_t* text) {
  char utf8[1024] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

void Describe(HMENU menu, int depth, std::string& out) {
  const UINT defaultId = ::GetMenuDefaultItem(menu, FALSE, 0);
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t caption[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_BITMAP | MIIM_STATE;
    info.dwTypeData = caption;
    info.cch = sizeof caption / sizeof caption[0];
    ::GetMenuItemInfoW(menu, i, TRUE, &info);
    out += std::to_string(depth) + "|";
    out += (info.fType & MFT_SEPARATOR) ? std::string("-") : Utf8(caption);
    out += "|";
    out += (info.fState & MFS_DEFAULT) || (defaultId != static_cast<UINT>(-1) && info.wID == defaultId &&
                                           !(info.fType & MFT_SEPARATOR))
               ? "default"
               : "";
    out += "|";
    if (info.hbmpItem != nullptr) {
      BITMAP bitmap = {};
      ::GetObjectA(info.hbmpItem, sizeof bitmap, &bitmap);
      out += "picture " + std::to_string(bitmap.bmWidth) + "x" + std::to_string(bitmap.bmHeight);
    }
    out += "\n";
    if (info.hSubMenu != nullptr) Describe(info.hSubMenu, depth + 1, out);
  }
}

DWORD WINAPI Dump(void*) {
  std::string out;
  HWND window = nullptr;
  DWORD self_pid = ::GetCurrentProcessId();
  while ((window = ::FindWindowExA(nullptr, window, "#32768", nullptr)) != nullptr) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != self_pid || !::IsWindowVisible(window)) continue;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(window, MN_GETHMENU, 0, 0));
    if (menu != nullptr) {
      Describe(menu, 0, out);
      break;
    }
  }
  PublishProbeOutput("C:\\menu-probe.tmp", "C:\\menu-probe.txt", out);
  ::FreeLibraryAndExitThread(self, 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    HANDLE thread = ::CreateThread(nullptr, 0, Dump, nullptr, 0, nullptr);
    if (thread != nullptr) ::CloseHandle(thread);
  }
  return TRUE;
}
