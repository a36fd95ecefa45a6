// Loaded into dorvane.exe by the end-to-end tests to tell how many GDI and
// USER objects the program holds and how much private memory it uses;
// writes them to C:\gui-probe.txt, one "name number" a line, then unloads
// itself.
//
// Windows answers GetGuiResources; Wine's is a stub that answers 0, so the
// objects are also counted here, through the same calls the program could
// make on its own handles: Wine keeps each process's GDI objects in a
// table of 65536 entries, and every USER object (window, menu, icon or
// cursor) has a 16-bit handle number that Wine accepts without its upper
// half. Each possible number is asked about once. The private memory is the
// process's anonymous resident memory, from /proc/self/status through
// Wine's drive Z:.

#include <windows.h>

#include <cstdlib>
#include <set>
#include <string>

namespace {

HMODULE self = nullptr;

// Stock objects belong to the system, not to the program.
int CountGdiObjects() {
  std::set<UINT_PTR> stock;
  for (int i = 0; i <= DC_PEN; ++i) {
    if (HGDIOBJ object = ::GetStockObject(i)) stock.insert(reinterpret_cast<UINT_PTR>(object) & 0xFFFF);
  }
  int count = 0;
  for (UINT_PTR index = 1; index <= 0xFFFF; ++index) {
    if (stock.count(index) == 0 && ::GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

struct UserObjects {
  int windows = 0;
  int menus = 0;
  int icons = 0;  // icons and cursors
};

using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

// Wine numbers USER handles 0x20, 0x22, ... 0xFFEE.
UserObjects CountUserObjects() {
  UserObjects objects;
  const DWORD process = ::GetCurrentProcessId();
  // Not in the headers: answers the icon or cursor itself for one of this
  // process's, null for any other number, and makes no copy of it.
  auto frameInfo = reinterpret_cast<CursorFrameInfo>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  for (UINT_PTR number = 0x20; number <= 0xFFEE; number += 2) {
    HWND window = reinterpret_cast<HWND>(number);
    DWORD owner = 0;
    if (::IsWindow(window) && ::GetWindowThreadProcessId(window, &owner) != 0 && owner == process) {
      ++objects.windows;
    } else if (::IsMenu(reinterpret_cast<HMENU>(number))) {
      ++objects.menus;
    } else if (frameInfo != nullptr) {
      DWORD rate = 0, steps = 0;
      if (frameInfo(reinterpret_cast<HCURSOR>(number), 0, 0, &rate, &steps) != nullptr) {
        ++objects.icons;
      }
    }
  }
  return objects;
}

// A number of kB from a line "Name:   1234 kB" of /proc/self/status; -1
// when there is none.
long StatusKilobytes(const char* name) {
  HANDLE file = ::CreateFileA("Z:\\proc\\self\\status", GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  std::string text;
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
  ::CloseHandle(file);
  const std::string key = std::string("\n") + name + ":";
  const std::string::size_type at = text.find(key);
  if (at == std::string::npos) return -1;
  return std::strtol(text.c_str() + at + key.size(), nullptr, 10);
}

DWORD WINAPI Count(void*) {
  const int gdi = CountGdiObjects();
  const UserObjects user = CountUserObjects();
  std::string out;
  auto line = [&](const char* name, long value) {
    out += std::string(name) + " " + std::to_string(value) + "\n";
  };
  line("reportedGdi", static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)));
  line("reportedUser", static_cast<long>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)));
  line("gdi", gdi);
  line("user", user.windows + user.menus + user.icons);
  line("windows", user.windows);
  line("menus", user.menus);
  line("icons", user.icons);
  line("privateKb", StatusKilobytes("RssAnon"));
  HANDLE file = ::CreateFileA("C:\\gui-probe.tmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
  DWORD written = 0;
  ::WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExA("C:\\gui-probe.tmp", "C:\\gui-probe.txt", MOVEFILE_REPLACE_EXISTING);
  ::FreeLibraryAndExitThread(self, 0);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    self = instance;
    HANDLE thread = ::CreateThread(nullptr, 0, Count, nullptr, 0, nullptr);
    if (thread != nullptr) ::CloseHandle(thread);
  }
  return TRUE;
}
