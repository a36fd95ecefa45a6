// Loaded into dorvane.exe by the end-to-end tests to tell how many GDI and
// USER objects the program holds and how much private memory it uses;
// writes them to C:\gui-probe.txt, one "name number" a line, then unloads
// itself.
//
// Windows answers GetGuiResources; Wine's is a stub that answers 0, so the
// objects are also counted here, through the same calls the program could
// make on its own handles: Wine keeps each process's GDI objects in a
// table of 65536 entries, and every menu, icon and cursor has a 16-bit
// handle number that Wine accepts without its upper half; each possible
// number is asked about once. The windows are those of the process's
// threads and their descendants. The private memory is what
// GetProcessMemoryInfo tells.

#include <windows.h>
#include <psapi.h>

#include <set>
#include <string>

#include "ProbeOutput.h"

namespace {

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

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM count) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId()) return TRUE;
  ++*reinterpret_cast<int*>(count);
  ::EnumChildWindows(window, CountWindow, count);  // every descendant
  return TRUE;
}

// The process's top-level windows, of whichever thread, and all their
// descendants. (Asking each handle number would cost a call to Wine's
// server for every number that is not one of this process's.)
int CountWindows() {
  int count = 0;
  if (!::EnumWindows(CountWindowAndChildren, reinterpret_cast<LPARAM>(&count))) return -1;
  return count;
}

using CursorFrameInfo = HCURSOR(WINAPI*)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);

// Wine numbers USER handles 0x20, 0x22, ... 0xFFEE; a number that is not
// one of this process's objects is answered without Wine's server.
UserObjects CountUserObjects() {
  UserObjects objects;
  objects.windows = CountWindows();
  // Not in the headers: answers the icon or cursor itself for one of this
  // process's, null for any other number, and makes no copy of it.
  auto frameInfo = reinterpret_cast<CursorFrameInfo>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
  for (UINT_PTR number = 0x20; number <= 0xFFEE; number += 2) {
    if (::IsMenu(reinterpret_cast<HMENU>(number))) {
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

// The process's commit charge, which Windows also gives as its private
// usage. Wine fills only the first: from the process's own
// /proc/self/status, its anonymous resident memory and its swap. (A
// /proc/self/status opened through drive Z: would be read by Wine's
// server, whose /proc/self it is.)
long PrivateKilobytes() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.PagefileUsage / 1024);
}

std::string Count() {
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
  line("privateKb", PrivateKilobytes());
  return out;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  return StartProbe(instance, reason, Count, "C:\\gui-probe.tmp", "C:\\gui-probe.txt");
}
