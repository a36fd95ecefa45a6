#include "platform/win32/SystemLibraries.h"

#include <objbase.h>

#include <cstring>

namespace platform {

void RestrictLibrarySearch() {
  using SetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  // kernel32 is a known DLL: its name alone can only mean the system's.
  HMODULE kernel32 = ::GetModuleHandleA("kernel32.dll");
  if (kernel32 == nullptr) return;
  auto restrict = reinterpret_cast<SetDefaultDllDirectories>(
      reinterpret_cast<void*>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (restrict != nullptr) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool EnterComApartment() {
  using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
  static bool entered = false;
  if (!entered) {
    static const auto initialise =
        SystemFunction<CoInitializeExFunction>("ole32.dll", "CoInitializeEx");
    entered = initialise != nullptr &&
              SUCCEEDED(initialise(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  return entered;
}

HMODULE SystemLibrary(const char* fileName) {
  // A plain buffer: the file is the one a user copies, and small.
  char path[MAX_PATH];
  const UINT folderLength = ::GetSystemDirectoryA(path, MAX_PATH);
  const std::size_t nameLength = std::strlen(fileName);
  // Without the system folder's path there is no safe way to name the DLL.
  if (folderLength == 0 || folderLength + 1 + nameLength >= MAX_PATH) return nullptr;
  path[folderLength] = '\\';
  std::memcpy(path + folderLength + 1, fileName, nameLength + 1);
  // The DLL's own imports are looked for in its folder first, not in the
  // program's: Wine's comdlg32 imports comctl32, for one. Loading a DLL
  // that is already loaded only counts it once more; the program never
  // frees them.
  return ::LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace platform
