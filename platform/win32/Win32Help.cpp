// The two help viewers: WinHelp, imported as ever, and HTML Help, loaded
// at run time so that the program still starts where hhctrl.ocx is
// missing, and never imported.
#include <windows.h>

#include <string>

#include "platform/win32/Win32Services.h"

namespace platform {

namespace {

// HtmlHelpA's commands that the program gives besides the displays.
constexpr UINT kHtmlHelpCloseAll = 0x12;  // HH_CLOSE_ALL

}  // namespace

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
  // By its full path in the system folder: a bare name would be looked for
  // in the program's own folder first, where anyone who can put a file
  // beside a downloaded program would have it run. Tried once; a system
  // without HTML Help stays without it.
  if (triedToLoad_) return false;
  triedToLoad_ = true;
  char folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  const std::string path = std::string(folder, length) + "\\hhctrl.ocx";
  Library library(::LoadLibraryA(path.c_str()));
  if (!library.Valid()) return false;
  const auto function = reinterpret_cast<HtmlHelpFunction>(
      reinterpret_cast<void*>(::GetProcAddress(library.Get(), "HtmlHelpA")));
  if (function == nullptr) return false;
  hhctrl_ = std::move(library);
  htmlHelp_ = function;
  return true;
}

bool Win32HelpSystem::HtmlHelp(WindowHandle owner, const std::string& file, unsigned command) {
  if (htmlHelp_ == nullptr) return false;
  return htmlHelp_(static_cast<HWND>(owner), file.c_str(), command, 0) != nullptr;
}

}  // namespace platform
