#pragma once
// How a probe loaded into dorvane.exe hands its findings to the driver:
// written beside, then renamed into place, so the driver never reads a
// half-written file; and how a probe that reads the program's windows
// starts and ends.

#include <windows.h>

#include <string>

inline void PublishProbeOutput(const char* temporary, const char* path, const std::string& text) {
  HANDLE file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING);
}

// What a probe finds, as the text it publishes.
using ProbeWork = std::string (*)();

namespace probe_detail {

struct Start {
  HMODULE self;
  // The desktop of the thread that loaded the probe: windows are listed
  // per desktop, and the driver's thread works on the tests' own desktop,
  // which a new thread does not start on.
  HDESK desktop;
  ProbeWork work;
  const char* temporary;
  const char* path;
};

inline Start& Current() {
  static Start start;
  return start;
}

inline DWORD WINAPI Run(void*) {
  const Start& start = Current();
  if (start.desktop != nullptr) ::SetThreadDesktop(start.desktop);
  PublishProbeOutput(start.temporary, start.path, start.work());
  ::FreeLibraryAndExitThread(start.self, 0);
}

}  // namespace probe_detail

// A probe's DllMain: once loaded, the probe does its work in a thread of
// its own (DllMain holds the loader lock) on the loading thread's desktop,
// publishes what it found at `path`, and unloads itself.
inline BOOL StartProbe(HINSTANCE instance, DWORD reason, ProbeWork work, const char* temporary,
                       const char* path) {
  if (reason == DLL_PROCESS_ATTACH) {
    probe_detail::Current() = {instance, ::GetThreadDesktop(::GetCurrentThreadId()), work,
                               temporary, path};
    HANDLE thread = ::CreateThread(nullptr, 0, probe_detail::Run, nullptr, 0, nullptr);
    if (thread != nullptr) ::CloseHandle(thread);
  }
  return TRUE;
}
