#pragma once
// How a probe loaded into dorvane.exe hands its findings to the driver:
// written beside, then renamed into place, so the driver never reads a
// half-written file.

#include <windows.h>

#include <string>

inline void PublishProbeOutput(const char* temporary, const char* path, const std::string& text) {
  HANDLE file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  ::MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING);
}
