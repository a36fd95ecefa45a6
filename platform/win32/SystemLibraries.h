#pragma once
// The system's DLLs that are not among Windows' known DLLs (winmm,
// msimg32, comctl32, oleacc): for a DLL that a program imports, or loads by a bare
// name, the loader looks in the program's own folder first, so a file of
// that name put beside a copy unpacked into Downloads would run inside it.
// The program imports none of them, nor comdlg32, which imports comctl32
// itself (and under Wine takes it from the program's folder); it loads
// them here by their full path in the system folder, and looks up what it
// uses of them, and the calls of later Windows, at run time.

#include <windows.h>

namespace platform {

// From Windows 8 on (and Windows 7 with its security update), every later
// load by a bare name, the system DLLs' own delayed loads among them,
// searches the system folder only. Elsewhere (Windows XP) nothing changes.
// Called first thing at start.
void RestrictLibrarySearch();

// The system folder's DLL `fileName` ("winmm.dll"), loaded by its full path
// once and kept for the process's life; null where it cannot be loaded.
HMODULE SystemLibrary(const char* fileName);

// Enters this thread into a single-threaded COM apartment, once, and keeps
// it for the process's life; false where COM cannot be had. For the
// windows' thread: Active Accessibility hands its objects to screen
// readers through COM, and ShellExecute may run shell extensions that need
// it ("ShellExecuteA function", learn.microsoft.com, which also advises
// COINIT_DISABLE_OLE1DDE). A thread that has an apartment already keeps it.
bool EnterComApartment();

// A function of that DLL, or null where the DLL or the function is missing
// (a call of later Windows on Windows XP).
template <class Function>
Function SystemFunction(const char* fileName, const char* name) {
  HMODULE library = SystemLibrary(fileName);
  if (library == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

}  // namespace platform
