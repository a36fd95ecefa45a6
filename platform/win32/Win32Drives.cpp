#include <windows.h>

#include "platform/win32/Win32Services.h"

namespace platform {

std::uint32_t Win32Drives::LogicalDrives() { return ::GetLogicalDrives(); }

unsigned Win32Drives::DriveType(const std::string& root) { return ::GetDriveTypeA(root.c_str()); }

bool Win32Drives::ChangeDirectory(const std::string& path) {
  return ::SetCurrentDirectoryA(path.c_str()) != FALSE;
}

std::string Win32Drives::CurrentDirectory() {
  // Asked for its length first: a directory may be longer than MAX_PATH.
  const DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return {};
  std::string path(needed, '\0');
  const DWORD length = ::GetCurrentDirectoryA(needed, path.data());
  if (length == 0 || length >= needed) return {};
  path.resize(length);
  return path;
}

bool Win32Drives::VolumeLabel(const std::string& root, std::string& label) {
  char volumeName[MAX_PATH] = {};
  char fileSystemName[MAX_PATH] = {};
  DWORD serialNumber = 0;
  DWORD maximumComponentLength = 0;
  DWORD fileSystemFlags = 0;
  if (!::GetVolumeInformationA(root.c_str(), volumeName, sizeof volumeName, &serialNumber,
                               &maximumComponentLength, &fileSystemFlags, fileSystemName,
                               sizeof fileSystemName)) {
    return false;
  }
  // The buffer is terminated by the call; the guard only protects against a
  // label that fills it exactly.
  label.assign(volumeName, strnlen(volumeName, sizeof volumeName));
  return true;
}

}  // namespace platform
