// The two help viewers: WinHelp, imported as ever, and HTML Help, loaded
// at run time so that the program still starts where hhctrl.ocx is
// missing, and never imported.
#include <windows.h>

#include <string>

#include "platform/win32/SystemLibraries.h"
#include "platform/win32/Win32Services.h"

namespace platform {

Win32HelpSystem::~Win32HelpSystem() {
  // Help windows run in this process: they close before their code goes.
  if (htmlHelp_ != nullptr) htmlHelp_(nullptr, nullptr, kHtmlHelpCloseAll, 0);
}

bool Win32HelpSystem::VistaOrLater() {
  // Without a manifest that names later versions, Windows 8.1 and later
  // answer 6.2; every answer from Vista on is 6 or more all the same.
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return ::GetVersionExA(&version) && version.dwMajorVersion >= 6;
}

bool Win32HelpSystem::FileExists(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32HelpSystem::WinHelp(WindowHandle owner, const std::string& file, unsigned command,
                              std::uintptr_t data) {
  return ::WinHelpA(static_cast<HWND>(owner), file.c_str(), command, data) != FALSE;
}

bool Win32HelpSystem::LoadHtmlHelp() {
  if (htmlHelp_ != nullptr) return true;
  // From the system folder only (SystemLibraries.h), and tried once: a
  // system without HTML Help stays without it. It stays loaded with its
  // windows until the program ends.
  if (triedToLoad_) return false;
  triedToLoad_ = true;
  htmlHelp_ = SystemFunction<HtmlHelpFunction>("hhctrl.ocx", "HtmlHelpA");
  return htmlHelp_ != nullptr;
}

bool Win32HelpSystem::HtmlHelp(WindowHandle owner, const std::string& file, unsigned command) {
  if (htmlHelp_ == nullptr) return false;
  return htmlHelp_(static_cast<HWND>(owner), file.c_str(), command, 0) != nullptr;
}

}  // namespace platform
