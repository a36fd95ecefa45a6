#pragma once
// The end-to-end driver's tools: it starts dorvane.exe in the test run's
// virtual desktop and talks to it as Windows and a user do, from outside.

#include <windows.h>

#include <cstddef>
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

// Polls `condition` every `pollMs` until it holds or `timeoutMs` passes,
// stretched for a loaded machine: for what must happen. What must not
// happen is shown by HoldsOnceHandled (or HoldsFor), whose hold is kept as
// it is.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 50);

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

  // Starts the program in the virtual desktop and waits for its main window;
  // `path` names another copy of it.
  void Start(const std::string& path = ProgramPath());
  // Ends the splash at once, with the WM_TIMER that its four seconds would
  // bring, and waits until the program is resident: for the tests whose
  // subject comes after the splash. The splash's own tests wait its time.
  bool EndSplash(DWORD timeoutMs = 15000);
  void Kill();
  bool WaitForExit(DWORD timeoutMs);
  bool Running();

  DWORD ProcessId() const { return processId_; }
  HWND MainWindow() const { return mainWindow_; }
  HWND ApplicationWindow() const;
  HWND Window(const char* className) const;

  // Calls GetErrorMode inside the program's process and returns its answer.
  UINT ErrorMode();
  // The program's current directory, read from its process parameters;
  // nothing when they cannot be read.
  std::optional<std::string> CurrentDirectory();
  // Loads a DLL of the tests into the program's process.
  void LoadLibraryInside(const std::string& path);
  // Runs kernel32's `function` as a thread of the program, with `argument`
  // copied into the program's memory: the thread's exit code (the low half
  // of a handle it returns), nothing when it could not run.
  std::optional<DWORD> CallInside(const char* function, const std::string& argument);

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND mainWindow_ = nullptr;
  bool resident_ = false;  // the splash has ended since the start
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

// Asks the main window whether the session may end, as Windows does, and
// meanwhile answers each box of the program with OK, as a user would.
struct SessionEndReply {
  bool answered = false;  // within the time allowed
  LRESULT answer = 0;
  std::vector<std::string> boxes;  // their texts, in order
};
SessionEndReply AskEndOfSession(const Program& program, DWORD timeoutMs = 30000);

// Registry values of the program's settings key under HKLM.
void DeleteSettings();
void SetSettingString(const std::string& name, const std::string& value, DWORD type = REG_SZ);
void SetSettingDword(const std::string& name, DWORD value);
// A whole store that logs into `logFile` and does nothing else: no sound,
// no warning box, drive A: only.
void StoreLoggingOnly(const std::string& logFile);
// A whole store as a save of the defaults leaves it, with the drive string
// `drives`: no sound, no log (into dvn.dvl beside the program), the box.
void StoreWarningOnly(const std::string& drives);
std::optional<std::string> SettingString(const std::string& name);
std::optional<DWORD> SettingDword(const std::string& name);

// A whole file's bytes; nullopt when it does not exist.
std::optional<std::string> ReadFileBytes(const std::string& path);

}  // namespace e2e

namespace e2e {

// Real key strokes.
void PressKey(WORD virtualKey);

// Saves the virtual desktop as build/screenshots/NAME.bmp, once what it
// shows has settled.
void SaveScreenshot(const std::string& name);

}  // namespace e2e

namespace e2e {

// The items of the program's open popup menu, one line each:
// "depth|caption|default|picture WxH" (a separator's caption is "-").
std::vector<std::string> OpenMenuItems(Program& program);

// The program's GDI and USER objects and its private memory in kB, from
// inside its process by gui_probe.dll; -1 for a figure it could not get.
// `reported` are GetGuiResources' answers, which are the counts where they
// are given; Wine gives 0, and the probe's own counts stand.
struct ResourceFigures {
  long gdi = -1;
  long user = -1;
  long windows = -1, menus = -1, icons = -1;  // the USER objects by kind
  long privateKb = -1;
  long reportedGdi = -1, reportedUser = -1;
};
ResourceFigures CountResources(Program& program);
// The same figures of the driver's own process, to check the counting.
ResourceFigures CountOwnResources();

}  // namespace e2e

// ---------------------------------------------------------------------------
// The user's side of the program's dialogs: menu commands, real mouse and
// keyboard input, what the screen shows, and the links that the program
// has the shell open.

namespace e2e {

// Chooses the tray menu item `name` (a name of layout::kTrayMenu): its
// command reaches the main window as the menu posts it.
void ChooseTrayCommand(HWND mainWindow, const char* name);
// The same command sent: it returns once the program has carried it out
// (for a command that opens no box or menu of its own).
void SendTrayCommand(HWND mainWindow, const char* name);

// A window's rectangle, or its client area's, in screen coordinates.
RECT ScreenRect(HWND hwnd);
RECT ClientScreenRect(HWND hwnd);
POINT CentreOf(const RECT& rect);

// Real input through the desktop's input queue, beside PressKey: the
// pointer moved (it is there when the call returns), one button pressed or
// released (the mouse goes to the window under the pointer or to the one
// that holds the mouse), left clicks, and a key pressed with Alt held.
void MoveMouse(POINT screen);
void SendMouse(DWORD buttonFlag);  // MOUSEEVENTF_LEFTDOWN, ..._RIGHTUP...
void ClickAt(POINT screen);
void DoubleClickAt(POINT screen);
void RightClickAt(POINT screen);
void PressAltKey(WORD key);

// Whether `condition` holds at every poll for `durationMs`: for what must
// not happen.
bool HoldsFor(const std::function<bool()>& condition, DWORD durationMs);

// Lets the thread of `window` finish what it was sent: a WM_NULL sent now
// comes back only once that thread has handled every message sent to it
// before, with all they did at once (a box one of them opened is up then,
// its loop answering the WM_NULL). Messages posted to it and input may
// still wait in its queue: those come after sent ones. False when the
// thread does not answer in time.
bool Handled(HWND window, DWORD timeoutMs = 10000);

// For what must not happen, once per case: once `window` has handled what
// it was sent, whether `condition` holds throughout kQuietMs, by when
// anything the program posted itself, or a box it opened, has shown.
constexpr DWORD kQuietMs = 500;
bool HoldsOnceHandled(HWND window, const std::function<bool()>& condition);

// A caption as it is shown and said: each "&" that marks an access key
// left out, "&&" one "&".
std::string WithoutAccessKey(const std::string& caption);

// What the screen shows in a rectangle, row by row, as COLORREF values.
struct ScreenPixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> colours;
  COLORREF At(int x, int y) const { return colours[static_cast<size_t>(y) * width + x]; }
};
ScreenPixels CaptureScreen(const RECT& rect);

// A picture that dorvane.exe stores (RCDATA), unpacked as the program
// unpacks it: 24-bit rows, bottom row first, each padded to four bytes;
// none (no rows) where there is no such picture or it does not unpack.
struct StoredPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rows;
};
StoredPicture ProgramPicture(const char* name);
// Such rows as the screen shows them, top row first.
ScreenPixels PixelsOfRows(const unsigned char* rows, int width, int height);
int CountColour(const ScreenPixels& pixels, COLORREF colour);

// Writes NAME.png into the run's screenshot folder (SCREENSHOT_DIR, a Unix
// path reached through drive Z:); false when there is none or the file
// cannot be written.
bool SavePng(const ScreenPixels& pixels, const std::string& name);

// The links that the shell opened for the program, one entry per start of
// the registered program: the address, a tab, the show command.
std::vector<std::string> OpenedLinks();
void ForgetOpenedLinks();

// ---------------------------------------------------------------------------
// Controls of the program's windows, reached from outside (added with the
// settings dialog's tests).

// A block of memory inside the program's process, for the common
// controls' messages that pass a pointer: Windows carries no pointer of
// theirs across processes.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD processId, std::size_t size);
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  ~RemoteBuffer();

  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  void Write(const void* data, std::size_t size, std::size_t offset = 0);
  void Read(void* data, std::size_t size, std::size_t offset = 0) const;

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

// The descendant of `root` with the control identifier `id`, or null.
HWND FindControl(HWND root, int id);
// The children of `parent` in window order, which is the tab order.
std::vector<HWND> ChildrenOf(HWND parent);

// The keyboard focus and the active window of the thread that owns `window`.
HWND FocusOf(HWND window);
HWND ActiveWindowOf(HWND window);

// Input posted as the mouse and keyboard deliver it: a left click at a
// point of the control's client area, a key press, typed characters.
void PostClick(HWND control, int x, int y);
void PostKey(HWND control, UINT virtualKey);
void PostChars(HWND control, const std::string& text);

// A list view's items, a list box's items and a tab control's tabs.
int ListViewCount(HWND listView);
std::string ListViewText(DWORD processId, HWND listView, int index);
bool ListViewChecked(HWND listView, int index);
RECT ListViewItemRect(DWORD processId, HWND listView, int index, int part);
std::vector<std::string> ListBoxItems(DWORD processId, HWND listBox);
std::string TabText(DWORD processId, HWND tabControl, int index);
RECT TabRect(DWORD processId, HWND tabControl, int index);

// Saves the screen area of `window` as <name>.png in the run's screenshot
// folder, once the window has painted; false when there is none or the
// file cannot be written.
bool SaveScreenshot(HWND window, const std::string& name);

// The label list stored under the settings key's subkey "Exclusions": the
// value names, in the order the registry lists them.
std::vector<std::string> StoredLabels();
// Adds `label` to that list, as the program's own save stores it.
void StoreLabel(const std::string& label);

// The settings dialog as a user opens it: a double click on the icon once
// the splash has made way for it; null when it does not show.
HWND ShowSettingsDialog(Program& program);
// Clicks the dialog's button `id` as the button itself reports a click;
// false when the dialog has no such control.
bool ClickButton(HWND dialog, int id);

}  // namespace e2e
