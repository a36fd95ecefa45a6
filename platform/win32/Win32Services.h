#pragma once
// The Win32 implementations of the platform services.

#include <functional>
#include <string>
#include <utility>

#include "platform/CommonDialogs.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/Help.h"
#include "platform/Registry.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/Sounds.h"
#include "platform/Timers.h"
#include "platform/UserInterface.h"
#include "platform/win32/Handles.h"

namespace platform {

class Win32Drives : public Drives {
 public:
  std::uint32_t LogicalDrives() override;
  unsigned DriveType(const std::string& root) override;
  bool ChangeDirectory(const std::string& path) override;
  std::string CurrentDirectory() override;
  bool VolumeLabel(const std::string& root, std::string& label) override;
};

class Win32Shell : public Shell {
 public:
  ImageListHandle SystemSmallImageList() override;
  int SystemIconIndex(const std::string& path) override;
  bool NotifyIcon(unsigned message, const NotifyIconRecord& record) override;
  bool ShowBalloon(const NotifyIconRecord& record, const std::string& title,
                   const std::string& text) override;
  void Execute(WindowHandle owner, const std::string& verb, const std::string& file,
               const std::string& parameters, const std::string& directory, int show) override;
};

class Win32Sounds : public Sounds {
 public:
  bool PlayWave(const std::string& fileName, unsigned flags) override;
  bool Beep(unsigned type) override;
};

class Win32UserInterface : public UserInterface {
 public:
  int ShowMessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
                 unsigned flags) override;
};

class Win32Session : public Session {
 public:
  bool EndSession(unsigned flags, unsigned reason) override;
  bool SetBlockReason(WindowHandle window, const std::string& reason) override;
  void ClearBlockReason(WindowHandle window) override;
  unsigned WatchSessionChanges(WindowHandle window) override;
  void StopWatchingSessionChanges(WindowHandle window) override;
  bool RegisterForRestart() override;
};

class Win32Timers : public Timers {
 public:
  void StartTimer(WindowHandle window, unsigned id, unsigned intervalMs) override;
  void StopTimer(WindowHandle window, unsigned id) override;
};

// Holds the session's name, once claimed, until it is destroyed: the
// program body keeps it for the whole run.
class Win32SingleInstance : public SingleInstance {
 public:
  bool Claim(const std::string& name) override;
  WindowHandle FindMainWindow(const std::string& className) override;
  void AllowForeground(WindowHandle window) override;
  std::optional<std::intptr_t> Ask(WindowHandle window, const std::string& message,
                                   unsigned timeoutMs) override;
  void Pause(unsigned milliseconds) override;

 private:
  ScopedHandle name_;
};

// WinHelp, and HTML Help loaded from the system folder at its first use;
// it stays loaded, with its windows, until the program ends.
class Win32HelpSystem : public HelpSystem {
 public:
  Win32HelpSystem() = default;
  Win32HelpSystem(const Win32HelpSystem&) = delete;
  Win32HelpSystem& operator=(const Win32HelpSystem&) = delete;
  ~Win32HelpSystem() override;

  bool VistaOrLater() override;
  bool FileExists(const std::string& path) override;
  bool WinHelp(WindowHandle owner, const std::string& file, unsigned command,
               std::uintptr_t data) override;
  bool LoadHtmlHelp() override;
  bool HtmlHelp(WindowHandle owner, const std::string& file, unsigned command) override;

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

  HtmlHelpFunction htmlHelp_ = nullptr;
  bool triedToLoad_ = false;
};

class Win32CommonDialogs : public CommonDialogs {
 public:
  bool OpenFileName(const OpenFileRequest& request, std::string& chosen) override;
};

}  // namespace platform
