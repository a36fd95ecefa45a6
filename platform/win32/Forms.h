#pragma once
// The window framework: the application object that owns the taskbar
// button and runs the message loop, and the base class of the program's
// windows. Failures raised while a window message is handled stop at the
// window procedure: they are shown in the error box and the message
// answers 0.

#include <windows.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "platform/Failure.h"
#include "platform/Language.h"
#include "platform/win32/Module.h"

namespace platform {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TForm;

class TApplication {
 public:
  TApplication() = default;
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Registers the window classes and creates the application window.
  void Initialize();

  // The caption of the taskbar button and of the error boxes.
  void SetTitle(const std::string& title);
  // The texts of the error boxes, in the user's language, and the rows of
  // `texts` that word the platform's own failures; until they are given,
  // the failures' own English messages.
  void SetTexts(const Texts& texts, const TextId (&platformTexts)[kPlatformTextCount]) {
    texts_ = &texts;
    platformTexts_ = platformTexts;
  }

  // The window that owns the others and carries the one taskbar button.
  HWND Handle() const { return handle_; }
  TForm* MainForm() const { return mainForm_; }

  // Creates a form with what it is given to work with; the first form
  // created becomes the main window. A failure in the form's creation
  // handler is shown and the program goes on.
  template <class T, class... Arguments>
  void CreateForm(T*& reference, Arguments&&... arguments) {
    reference = new T(std::forward<Arguments>(arguments)...);
    Adopt(reference);
  }

  // Shows the main window, then dispatches messages until the quit message;
  // a failure in one message is shown and the loop goes on.
  void Run();
  void Terminate();

  // Inside a catch: the error box for the failure being handled, which no
  // handler caught.
  void ShowException() noexcept;

  // Runs the program's start and, through it, the message loop. What runs
  // before the loop (a second start's hand-over, the services, the windows'
  // constructors) is outside any window procedure: a failure there is shown
  // in the error box, and the answer is false, since the program cannot go
  // on without its windows.
  template <class Start>
  bool RunStart(Start start) {
    try {
      start();
      return true;
    } catch (...) {
      ShowException();
      return false;
    }
  }

  // A message box owned by the application window, with shown texts (UTF-8).
  int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);

  // The big and small program icons, shown by the taskbar button.
  void SetIcons(HICON big, HICON small);

  // Keeps the taskbar button in step with the forms: shown while any of
  // them is visible.
  void UpdateTaskbarButton();

 private:
  friend class TForm;
  void Adopt(TForm* form);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool IsFormMessage(MSG& msg);

  std::string title_;
  const Texts* texts_ = nullptr;
  const TextId* platformTexts_ = nullptr;
  HWND handle_ = nullptr;
  TForm* mainForm_ = nullptr;
  std::vector<TForm*> forms_;
  // The window that was activated last, which the taskbar button gives the
  // focus back to.
  TForm* lastActive_ = nullptr;
};

extern TApplication Application;

// The base of the program's windows. Each derived window registers its own
// class name, so that Windows and tools see "TfmSplash", "TfmSettings"...
class TForm {
 public:
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;
  virtual ~TForm();

  HWND Handle() const { return handle_; }
  // The DPI the window is drawn at, and a layout's 96-DPI pixels at it.
  int Dpi() const { return dpi_; }
  int Scaled(int value) const;
  bool Visible() const { return handle_ != nullptr && IsWindowVisible(handle_) != FALSE; }

  // Shows the window without modality and brings it to the front; the
  // first show centres it on the screen.
  void Show();
  // As Show, but the window the user is working in keeps the keyboard
  // focus: for a window that only announces itself.
  void ShowWithoutFocus();
  void Hide();
  // Asks the close query, runs the close handler and hides the window; the
  // main window's close ends the program.
  void Close();

 protected:
  TForm() = default;

  // Creates the window with a client area of the given size in 96-DPI
  // pixels, scaled to the DPI of the monitor it is on; `caption` is a shown
  // text (UTF-8).
  void CreateHandle(const char* className, const std::string& caption, DWORD style,
                    DWORD exStyle, int clientWidth, int clientHeight);

  virtual void FormCreate() {}
  // Runs before the window is shown for the first time.
  virtual void FormFirstShow() {}
  // False keeps the window open.
  virtual bool FormCloseQuery() { return true; }
  virtual void FormClose(TCloseAction& action) { (void)action; }
  // The window has moved to a monitor of another DPI (Dpi() gives it):
  // the fonts are made again and the controls placed anew. Windows then
  // gives the window the size it suggests for the new DPI.
  virtual void FormDpiChanged() {}
  // The system's colours or its visual style have changed: the window and
  // its controls are drawn again with them; what the window keeps drawn
  // in the colours before it makes again here.
  virtual void FormColoursChanged() {}

  // One method per window class; the default passes on to DefWindowProc.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

  // A key message for the window while it is active, seen before the dialog
  // keys (Tab, arrows, Enter, Esc, access keys) are handled; true when the
  // window has handled it itself.
  virtual bool PreviewDialogKey(MSG& msg) {
    (void)msg;
    return false;
  }

  // The control that had the focus when the window was last deactivated,
  // given it back when the window is activated again.
  HWND activeControl_ = nullptr;

 private:
  friend class TApplication;
  friend void RegisterFormClass(const char* className, HICON icon, HBRUSH background);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Present(bool takeFocus);
  void DpiChanged(int dpi, const RECT& suggested);
  void ColoursChanged(UINT message, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  int dpi_ = 96;
  bool shownBefore_ = false;
};

// Registers a form's window class once.
inline void RegisterFormClass(const char* className, HICON icon, HBRUSH background) {
  RegisterWindowClass(className, TForm::WindowProc, CS_DBLCLKS, icon, background);
}

}  // namespace platform
