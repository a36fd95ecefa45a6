#pragma once
// The end-to-end driver's tools: it starts dorvane.exe in the test run's
// virtual desktop and talks to it as Windows and a user do, from outside.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Settings of the run, from the environment that run-e2e.sh sets.
std::string ProgramPath();   // C:\Dorvane\dorvane.exe
std::string ProgramFolder(); // C:\Dorvane\ (trailing backslash)
std::string MediaFolder();   // the folder whose subfolders are the drives' media
std::string DesktopName();

// Makes the calling thread see the windows of the virtual desktop.
void AttachToDesktop();

// Puts the drive's medium back into drive `letter`, or takes it out. The
// media and their labels are made before the prefix starts: A: holds a
// disk labelled MYDISK.
void InsertMedium(char letter);
void RemoveMedium(char letter);

// Polls `condition` every 50 ms until it holds or `timeoutMs` passes.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// The program's top-level windows of a class, visible or not.
std::vector<HWND> WindowsOf(DWORD processId, const char* className);

std::string WindowText(HWND hwnd);
std::string ClassOf(HWND hwnd);

// A message box of the program: its caption, its text and its buttons.
struct MessageBoxInfo {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
  LONG style = 0;
  LONG exStyle = 0;
  HWND owner = nullptr;
};
std::optional<MessageBoxInfo> FindMessageBox(DWORD processId);
std::optional<MessageBoxInfo> WaitForMessageBox(DWORD processId, DWORD timeoutMs);
// Closes a box as its button `id` would (IDOK, IDYES, IDNO).
void PressBoxButton(HWND box, int id);

// One running dorvane.exe.
class Program {
 public:
  Program() = default;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program();

  // Starts the program in the virtual desktop and waits for its main window.
  void Start();
  void Kill();
  bool WaitForExit(DWORD timeoutMs);
  bool Running();

  DWORD ProcessId() const { return processId_; }
  HWND MainWindow() const { return mainWindow_; }
  HWND ApplicationWindow() const;
  HWND Window(const char* className) const;

  // Calls GetErrorMode inside the program's process and returns its answer.
  UINT ErrorMode();
  // Loads a DLL of the tests into the program's process.
  void LoadLibraryInside(const std::string& path);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND mainWindow_ = nullptr;
};

// WM_QUERYENDSESSION sent from a worker thread, as Windows asks every
// top-level window, so that the test can answer the boxes meanwhile.
class EndSessionQuery {
 public:
  explicit EndSessionQuery(HWND window, UINT message = WM_QUERYENDSESSION, WPARAM wParam = 0,
                           LPARAM lParam = 0);
  EndSessionQuery(const EndSessionQuery&) = delete;
  EndSessionQuery& operator=(const EndSessionQuery&) = delete;
  ~EndSessionQuery();

  // Whether the window has answered within `timeoutMs`.
  bool Answered(DWORD timeoutMs);
  // The window's answer (valid once Answered is true).
  LRESULT Answer() const { return answer_; }
  bool Delivered() const { return delivered_; }

 private:
  static DWORD WINAPI Run(void* self);
  HWND window_;
  UINT message_;
  WPARAM wParam_;
  LPARAM lParam_;
  HANDLE thread_ = nullptr;
  DWORD_PTR answer_ = 0;
  bool delivered_ = false;
};

// Registry values of the program's settings key under HKLM.
void DeleteSettings();
void SetSettingString(const std::string& name, const std::string& value, DWORD type = REG_SZ);
void SetSettingDword(const std::string& name, DWORD value);
std::optional<std::string> SettingString(const std::string& name);
std::optional<DWORD> SettingDword(const std::string& name);

// A whole file's bytes; nullopt when it does not exist.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace e2e

namespace e2e {

// Real mouse input at a point of the virtual desktop: a right or left click
// as the user's hand makes it, through the system's input queue.
void ClickAt(int x, int y, bool right, int clicks = 1);
// Real key strokes.
void PressKey(WORD virtualKey);

// Saves the virtual desktop as build/screenshots/NAME.bmp.
void SaveScreenshot(const std::string& name);

}  // namespace e2e

namespace e2e {

// The items of the program's open popup menu, one line each:
// "depth|caption|default|picture WxH" (a separator's caption is "-").
std::vector<std::string> OpenMenuItems(Program& program);

}  // namespace e2e
