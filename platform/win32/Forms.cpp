#include "platform/win32/Forms.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Failure.h"
#include "platform/win32/DisplayDpi.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Module.h"
#include "platform/win32/SystemLibraries.h"
#include "platform/win32/WideText.h"

namespace platform {

TApplication Application;

namespace {

const char kApplicationClass[] = "TApplication";

// WM_DPICHANGED, which the headers name only for Windows 7 and later; the
// program builds for Windows XP's.
constexpr UINT kDpiChangedMessage = 0x02E0;

// A message for every control of `parent`, its containers' controls too.
void TellControls(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    ::SendMessageA(child, message, wParam, lParam);
    TellControls(child, message, wParam, lParam);
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// The application object

void TApplication::Initialize() {
  // A floppy or card-reader drive without a medium would otherwise make
  // Windows ask "There is no disk in the drive" when the check probes it,
  // holding up the very shut-down the user is being warned about. Keep
  // whatever bits the process was started with.
  UINT mode = ::SetErrorMode(0);
  ::SetErrorMode(mode | SEM_FAILCRITICALERRORS);

  // The common controls come from the system folder's comctl32, never from
  // a file of that name beside the program; loading it registers their
  // window classes.
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto initCommonControls =
      SystemFunction<InitCommonControlsExFunction>("comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES};
  if (initCommonControls != nullptr) initCommonControls(&controls);

  RegisterWindowClass(kApplicationClass, WindowProc);

  // A window of no size in the middle of the screen: it exists only to
  // carry the taskbar button and to own the program's windows, so that
  // they have no buttons of their own.
  handle_ = ::CreateWindowExW(0, WideText(kApplicationClass).c_str(), WideText(title_).c_str(),
                              WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                              ::GetSystemMetrics(SM_CXSCREEN) / 2,
                              ::GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr, nullptr,
                              Instance(), nullptr);
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  ::SetWindowTextW(handle_, WideText(title_).c_str());
}

void TApplication::SetIcons(HICON big, HICON small) {
  ::SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  ::SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void TApplication::Adopt(TForm* form) {
  forms_.push_back(form);
  if (mainForm_ == nullptr) mainForm_ = form;
  try {
    form->FormCreate();
  } catch (...) {
    ShowException();
  }
}

void TApplication::Run() {
  try {
    // The main window first shows the splash, on top but without taking
    // the focus from the window the user works in, as a program started
    // at logon should. Nor does anything in the program need the focus
    // before the user opens a window: activating one sets up the input
    // method's context for the thread, which initialises COM (on Wine,
    // 1.2 MB for the rest of the run).
    if (mainForm_ != nullptr) mainForm_->ShowWithoutFocus();
  } catch (...) {
    ShowException();
  }
  // The wide loop: the program's windows are wide, and a character typed
  // into one of them is not narrowed to the system's code page on its way.
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // A window's own look at a key runs here, before any window procedure
    // could catch its failure: it ends that message only.
    try {
      if (IsFormMessage(msg)) continue;
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    } catch (...) {
      ShowException();
    }
  }
}

// Tab, the arrow keys, Enter, Esc and the access keys move through the
// controls of the window that is active, as in any dialog box.
bool TApplication::IsFormMessage(MSG& msg) {
  HWND active = ::GetActiveWindow();
  if (active == nullptr) return false;
  for (TForm* form : forms_) {
    if (form->Handle() != active) continue;
    if (form->PreviewDialogKey(msg)) return true;
    return ::IsDialogMessageW(active, &msg) != FALSE;
  }
  return false;
}

void TApplication::Terminate() { ::PostQuitMessage(0); }

void TApplication::ShowException() noexcept {
  // The last stop of every failure, so it must not fail itself: when the
  // box cannot be prepared (no memory left for its text or for the list of
  // windows it disables), the message is shown as it is.
  const Failure* failure = nullptr;
  const char* message = CurrentFailureText(&failure);
  try {
    // A failure of the program's texts is shown in the user's language; any
    // other message is in the system's code page, like the values it names.
    std::string shown = Utf8FromAnsi(message);
    if (texts_ != nullptr && failure != nullptr && failure->Text()) {
      shown = texts_->Format(*failure->Text(), {Utf8FromAnsi(failure->Value())});
    } else if (texts_ != nullptr && failure != nullptr && failure->Platform()) {
      shown = (*texts_)[platformTexts_[static_cast<std::size_t>(*failure->Platform())]];
    }
    ShowMessageBox(ErrorBoxText(shown), title_, MB_OK | MB_ICONERROR);
  } catch (...) {
    ::MessageBoxA(handle_, message, title_.c_str(), MB_OK | MB_ICONERROR);
  }
}

int TApplication::ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  return ShowProgramMessageBox(handle_, text, caption, flags);
}

void TApplication::UpdateTaskbarButton() {
  if (handle_ == nullptr) return;
  bool anyVisible = std::any_of(forms_.begin(), forms_.end(),
                                [](TForm* form) { return form->Visible(); });
  ::ShowWindow(handle_, anyVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

LRESULT CALLBACK TApplication::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (Application.handle_ == nullptr || hwnd != Application.handle_) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  try {
    return Application.HandleMessage(message, wParam, lParam);
  } catch (...) {
    Application.ShowException();
    return 0;
  }
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SYSCOMMAND:
      // Close from the taskbar button closes the main window, so the close
      // query's disk check runs first. Windows keeps the command's four low
      // bits for itself.
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        if (mainForm_ != nullptr) mainForm_->Close();
        return 0;
      }
      break;
    case WM_CLOSE:
      if (mainForm_ != nullptr) mainForm_->Close();
      return 0;
    case WM_SETFOCUS:
      // The application window has no face of its own: when the taskbar
      // button activates it, the window the user last worked in takes over.
      if (lastActive_ != nullptr && lastActive_ != mainForm_ && lastActive_->Visible()) {
        ::SetActiveWindow(lastActive_->Handle());
        return 0;
      }
      for (TForm* form : forms_) {
        if (form != mainForm_ && form->Visible()) {
          ::SetActiveWindow(form->Handle());
          return 0;
        }
      }
      if (mainForm_ != nullptr && mainForm_->Visible()) ::SetActiveWindow(mainForm_->Handle());
      return 0;
    case WM_ENDSESSION:
      // The session really ends: stop at once, with no close handler and
      // without taking the icon away; Windows is removing everything.
      if (wParam) ::ExitProcess(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(handle_, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Forms

TForm::~TForm() {
  if (handle_ != nullptr) ::DestroyWindow(handle_);
}

int TForm::Scaled(int value) const { return ScaleToDpi(value, dpi_); }

void TForm::CreateHandle(const char* className, const std::string& caption, DWORD style,
                         DWORD exStyle, int clientWidth, int clientHeight) {
  // Made at the system's DPI; a window that Windows puts on a monitor of
  // another one is sized again at that monitor's.
  dpi_ = SystemDpi();
  for (int pass = 0; pass < 2; ++pass) {
    const RECT rect = WindowRectForClient(Scaled(clientWidth), Scaled(clientHeight), style,
                                          exStyle, dpi_);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (handle_ == nullptr) {
      ::CreateWindowExW(exStyle, WideText(className).c_str(), WideText(caption).c_str(), style, 0,
                        0, width, height, Application.Handle(), nullptr, Instance(), this);
    } else {
      ::SetWindowPos(handle_, nullptr, 0, 0, width, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int windowDpi = WindowDpi(handle_);
    if (handle_ == nullptr || windowDpi == dpi_) break;
    dpi_ = windowDpi;
  }
}

void TForm::DpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  FormDpiChanged();
  ::SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::ColoursChanged(UINT message, WPARAM wParam, LPARAM lParam) {
  // Windows tells only the top-level windows of new system colours; the
  // common controls among their children take them when they are told
  // (learn.microsoft.com, "WM_SYSCOLORCHANGE message"). A new visual style
  // Windows tells every window itself.
  if (message == WM_SYSCOLORCHANGE) TellControls(handle_, message, wParam, lParam);
  FormColoursChanged();
  ::RedrawWindow(handle_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TForm::Show() { Present(true); }

void TForm::ShowWithoutFocus() { Present(false); }

void TForm::Present(bool takeFocus) {
  if (!shownBefore_) {
    // A first show whose controls could not be made is tried again at the
    // next show.
    FormFirstShow();
    shownBefore_ = true;
    RECT rect;
    ::GetWindowRect(handle_, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    ::SetWindowPos(handle_, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (takeFocus) {
    ::ShowWindow(handle_, SW_SHOW);
    ::BringWindowToTop(handle_);
    ::SetForegroundWindow(handle_);
  } else {
    ::ShowWindow(handle_, SW_SHOWNOACTIVATE);
    ::SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  Application.UpdateTaskbarButton();
}

void TForm::Hide() {
  ::ShowWindow(handle_, SW_HIDE);
  Application.UpdateTaskbarButton();
}

void TForm::Close() {
  if (!FormCloseQuery()) return;
  TCloseAction action = TCloseAction::caHide;
  FormClose(action);
  if (action == TCloseAction::caNone) return;
  if (this == Application.MainForm()) {
    Application.Terminate();
  } else {
    Hide();
  }
}

LRESULT TForm::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_QUERYENDSESSION:
      // The session may end when the window may close; the window stays
      // open either way. A close query that refuses, or one that fails (the
      // window procedure then answers 0), holds the session.
      return FormCloseQuery() ? 1 : 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      ColoursChanged(message, wParam, lParam);
      break;
    case WM_SETTINGCHANGE:
      // High contrast switched on or off without new colours.
      if (wParam == SPI_SETHIGHCONTRAST) ColoursChanged(message, wParam, lParam);
      break;
    case kDpiChangedMessage:
      // Only for a program aware of each monitor's DPI (Windows 10 and
      // later): both halves hold the same DPI.
      DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(handle_, focus)) activeControl_ = focus;
        break;
      }
      Application.lastActive_ = this;
      if (activeControl_ != nullptr && ::IsWindow(activeControl_)) {
        ::SetFocus(activeControl_);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefaultHandler(message, wParam, lParam);
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TForm* form = nullptr;
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    form = static_cast<TForm*>(create->lpCreateParams);
    form->handle_ = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  } else {
    form = reinterpret_cast<TForm*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (form == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return form->HandleMessage(message, wParam, lParam);
  } catch (...) {
    Application.ShowException();
    return 0;
  }
}

}  // namespace platform
