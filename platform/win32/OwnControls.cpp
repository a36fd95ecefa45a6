#include "platform/win32/OwnControls.h"

#include <oleacc.h>

#include <exception>
#include <string>
#include <utility>

#include "platform/Failure.h"
#include "platform/win32/Accessibility.h"
#include "platform/win32/ControlSet.h"
#include "platform/win32/Forms.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Module.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

// The class of each own kind, named as Windows tools show them, and the
// role it tells screen readers (a label that is a link tells its own).
struct OwnClass {
  layout::Kind kind;
  const char* name;
  DWORD style;
  DWORD exStyle;
  LONG role;
};
// Panels and pages hold controls: the dialog keys go into them, and they
// never paint over their children.
constexpr OwnClass kOwnClasses[] = {
    {layout::Kind::Panel, "TPanel", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
     ROLE_SYSTEM_GROUPING},
    {layout::Kind::Image, "TImage", 0, 0, ROLE_SYSTEM_GRAPHIC},
    {layout::Kind::Label, "TLabel", 0, 0, ROLE_SYSTEM_STATICTEXT},
    {layout::Kind::Bevel, "TBevel", 0, 0, ROLE_SYSTEM_SEPARATOR},
    {layout::Kind::TabSheet, "TTabSheet", WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
     ROLE_SYSTEM_PROPERTYPAGE},
};

// A label's colour that is the system's text colour rather than one of its
// own (CLR_INVALID is no colour a label is given).
constexpr COLORREF kSystemTextColour = CLR_INVALID;

// What the program's own controls remember.
struct ControlState {
  layout::Kind kind;
  unsigned options = 0;
  int anchor = 0;  // the right edge of a right-aligned label
  HFONT font = nullptr;
  COLORREF colour = kSystemTextColour;
  HBITMAP picture = nullptr;
  HWND nameSource = nullptr;  // the control whose text names it for screen readers
  std::string action;         // a link's default action as screen readers say it, UTF-8
  std::function<void(UINT)> onButton;
  std::function<void()> onClick;
  bool leftDown = false;
};

bool IsOwnControl(HWND hwnd) {
  char cls[32] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  for (const OwnClass& own : kOwnClasses) {
    if (lstrcmpA(cls, own.name) == 0) return true;
  }
  return false;
}

// The state of one of the program's own controls; null for the system's.
ControlState* StateOf(HWND hwnd) {
  if (!IsOwnControl(hwnd)) return nullptr;
  return reinterpret_cast<ControlState*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// A label sized to its text: for a right-aligned one the right edge stays.
void AutoSizeLabel(HWND hwnd, ControlState& state) {
  RECT rect = {0, 0, 0, 0};
  {
    WindowDC dc(hwnd);
    SelectedObject font(dc.Get(), state.font ? state.font : ::GetStockObject(DEFAULT_GUI_FONT));
    const WideText text = WideText::OfWindow(hwnd);
    ::DrawTextW(dc.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT current;
  ::GetWindowRect(hwnd, &current);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&current), 2);
  const int left = (state.options & layout::kAlignRight) ? state.anchor - rect.right : current.left;
  ::SetWindowPos(hwnd, nullptr, left, current.top, rect.right, rect.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintBackground(HDC dc, const RECT& rect) {
  ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
}

void PaintPanel(HWND hwnd, HDC dc, ControlState& state) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(dc, rect);
  // A lowered outer bevel around a raised inner one.
  ::DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
  const WideText text = WideText::OfWindow(hwnd);
  if (text.Length() > 0) {
    SelectedObject font(dc, state.font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(dc, text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
}

void PaintImage(HWND hwnd, HDC dc, ControlState& state) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(dc, rect);
  const SIZE size = PictureSize(state.picture);
  if (size.cx == 0) return;
  MemoryDC source(::CreateCompatibleDC(dc));
  SelectedObject picture(source.Get(), state.picture);
  if (state.options & layout::kTransparent) {
    // The picture's background is the colour of its bottom-left pixel.
    const COLORREF key = ::GetPixel(source.Get(), 0, size.cy - 1);
    CopyTransparent(dc, source.Get(), size.cx, size.cy, key);
  } else {
    ::BitBlt(dc, 0, 0, size.cx, size.cy, source.Get(), 0, 0, SRCCOPY);
  }
}

bool IsLink(const ControlState& state) {
  return state.kind == layout::Kind::Label && (state.options & layout::kLink) != 0;
}

COLORREF LabelColour(HWND hwnd, const ControlState& state) {
  if (!::IsWindowEnabled(hwnd)) return ::GetSysColor(COLOR_GRAYTEXT);
  // With high contrast every text takes the system's colours: the text
  // colour of the face that labels stand on, and a link the one Windows
  // gives links.
  if (HighContrast()) return ::GetSysColor(IsLink(state) ? COLOR_HOTLIGHT : COLOR_BTNTEXT);
  return state.colour == kSystemTextColour ? ::GetSysColor(COLOR_WINDOWTEXT) : state.colour;
}

// A link that has the focus shows it as Windows' own controls do: a dotted
// rectangle, unless the window hides focus until the keyboard is used.
bool ShowsFocus(HWND hwnd) {
  return ::GetFocus() == hwnd && (::SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

void PaintLabel(HWND hwnd, HDC dc, ControlState& state) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(dc, rect);
  SelectedObject font(dc, state.font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, LabelColour(hwnd, state));
  UINT format = DT_NOPREFIX;
  format |= (state.options & layout::kWordWrap) ? DT_WORDBREAK : DT_SINGLELINE;
  if (state.options & layout::kAlignRight) format |= DT_RIGHT;
  ::DrawTextW(dc, WideText::OfWindow(hwnd).c_str(), -1, &rect, format);
  if (IsLink(state) && ShowsFocus(hwnd)) ::DrawFocusRect(dc, &rect);
}

void PaintBevel(HWND hwnd, HDC dc) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(dc, rect);
  ::DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP);
}

// One handler per message; each answers as DefWindowProc would where the
// control has nothing of its own to do.

LRESULT OnNcCreate(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
  ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT OnNcDestroy(HWND hwnd, ControlState* state, UINT message, WPARAM wParam, LPARAM lParam) {
  delete state;
  ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT OnPaint(HWND hwnd, ControlState& state) {
  PaintDC paint(hwnd);
  switch (state.kind) {
    case layout::Kind::Panel: PaintPanel(hwnd, paint.Get(), state); break;
    case layout::Kind::Image: PaintImage(hwnd, paint.Get(), state); break;
    case layout::Kind::Label: PaintLabel(hwnd, paint.Get(), state); break;
    case layout::Kind::Bevel: PaintBevel(hwnd, paint.Get()); break;
    default: PaintBackground(paint.Get(), paint.Area()); break;
  }
  return 0;
}

LRESULT OnSetText(HWND hwnd, ControlState* state, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (state != nullptr && state->kind == layout::Kind::Label &&
      (state->options & layout::kAutoSize)) {
    AutoSizeLabel(hwnd, *state);
  }
  ::InvalidateRect(hwnd, nullptr, TRUE);
  return result;
}

LRESULT OnSetCursor(HWND hwnd, const ControlState& state, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  if (!(state.options & layout::kLink)) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
  return TRUE;
}

// Labels and pictures of a window are part of its face; only links take
// the mouse.
LRESULT OnNcHitTest(HWND hwnd, const ControlState& state, UINT message, WPARAM wParam,
                    LPARAM lParam) {
  if (state.kind == layout::Kind::Label && (state.options & layout::kLink)) return HTCLIENT;
  if (state.kind == layout::Kind::Panel || state.kind == layout::Kind::TabSheet) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return HTTRANSPARENT;
}

// A label that reports the mouse: the press, the release and the click.
LRESULT OnButtonDown(HWND hwnd, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!state.onButton) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_LBUTTONDOWN) {
    state.leftDown = true;
    ::SetCapture(hwnd);
  }
  state.onButton(message);
  return 0;
}

LRESULT OnButtonUp(HWND hwnd, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!state.onButton) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  bool click = false;
  if (message == WM_LBUTTONUP && state.leftDown) {
    state.leftDown = false;
    ::ReleaseCapture();
    POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT rect;
    ::GetClientRect(hwnd, &rect);
    click = ::PtInRect(&rect, point) != FALSE;
  } else if (message == WM_LBUTTONUP && ::GetCapture() == hwnd) {
    // The release after the second press of a double click: no click, but
    // the mouse goes back to the other windows.
    ::ReleaseCapture();
  }
  state.onButton(message);
  if (click && state.onClick) state.onClick();
  return 0;
}

// The second press of a double click is a press, but never a click; a
// quick second press of the other buttons is a press as well.
LRESULT OnDoubleClick(HWND hwnd, ControlState& state, UINT message, WPARAM wParam,
                      LPARAM lParam) {
  if (!state.onButton) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_LBUTTONDBLCLK) {
    state.leftDown = false;
    ::SetCapture(hwnd);
    state.onButton(WM_LBUTTONDOWN);
  } else {
    state.onButton(message == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN : WM_MBUTTONDOWN);
  }
  return 0;
}

// A link takes Enter and Space as a click, when the keyboard has brought
// the focus to it; a held key repeats nothing.
LRESULT OnKeyDown(HWND hwnd, ControlState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  const bool repeat = (lParam & (1 << 30)) != 0;
  if (!IsLink(state) || (wParam != VK_RETURN && wParam != VK_SPACE)) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (!repeat && state.onClick) state.onClick();
  return 0;
}

// The dialog keys would take Enter for the default button: a link keeps it.
LRESULT OnGetDlgCode(HWND hwnd, const ControlState& state, UINT message, WPARAM wParam,
                     LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (IsLink(state) && msg != nullptr && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    return DLGC_WANTMESSAGE;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

const OwnClass* OwnClassOf(layout::Kind kind) {
  for (const OwnClass& own : kOwnClasses) {
    if (own.kind == kind) return &own;
  }
  return nullptr;
}

// What the control tells screen readers: a label or a link its text, a
// picture its text or, with none, nothing, since it is decoration, which
// screen readers pass over as they pass over what cannot be seen
// (learn.microsoft.com, "Screening Out Unnecessary Objects"); a panel the
// text of the option its controls belong to, a page its tab's caption.
AccessibleFace FaceOf(HWND hwnd, const ControlState& state) {
  AccessibleFace face = {};
  face.role = OwnClassOf(state.kind)->role;
  face.staticLike = state.kind == layout::Kind::Label;
  face.nameSource = state.nameSource;
  const bool namedByLabel =
      state.nameSource != nullptr && IsOwnControlOfKind(state.nameSource, layout::Kind::Label);
  face.stripAccessKey = state.nameSource != nullptr ? !namedByLabel
                                                    : state.kind == layout::Kind::TabSheet;
  if (IsLink(state)) {
    face.role = ROLE_SYSTEM_LINK;
    face.states = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED;
    face.link = true;
    ::lstrcpynW(face.action, WideText(state.action.c_str()).c_str(), ARRAYSIZE(face.action));
  } else if (state.kind == layout::Kind::Label) {
    face.states = STATE_SYSTEM_READONLY;
  } else if (state.kind == layout::Kind::Image) {
    face.states = ::GetWindowTextLengthW(hwnd) > 0 ? STATE_SYSTEM_READONLY : STATE_SYSTEM_INVISIBLE;
  }
  return face;
}

// Containers pass their children's notifications up to the window.
LRESULT PassToWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(::GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
}

LRESULT HandleOwnControlMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<ControlState*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: return OnNcCreate(hwnd, message, wParam, lParam);
    case WM_NCDESTROY: return OnNcDestroy(hwnd, state, message, wParam, lParam);
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: return OnSetText(hwnd, state, message, wParam, lParam);
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM: return PassToWindow(hwnd, message, wParam, lParam);
    default: break;
  }
  // The rest are the control's own, once it has its state.
  if (state == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_PAINT: return OnPaint(hwnd, *state);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETCURSOR: return OnSetCursor(hwnd, *state, message, wParam, lParam);
    case WM_NCHITTEST: return OnNcHitTest(hwnd, *state, message, wParam, lParam);
    case WM_CAPTURECHANGED: state->leftDown = false; break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: return OnButtonDown(hwnd, *state, message, wParam, lParam);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: return OnButtonUp(hwnd, *state, message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: return OnDoubleClick(hwnd, *state, message, wParam, lParam);
    case WM_GETOBJECT:
      // What it leaves unanswered goes on to DefWindowProc, as Windows asks.
      if (const LRESULT answer = AnswerGetObject(hwnd, wParam, lParam, FaceOf(hwnd, *state))) {
        return answer;
      }
      break;
    case WM_GETDLGCODE: return OnGetDlgCode(hwnd, *state, message, wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(hwnd, *state, message, wParam, lParam);
    case BM_CLICK:
      // What a screen reader's default action asks of a link.
      if (IsLink(*state) && state->onClick) state->onClick();
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: ::InvalidateRect(hwnd, nullptr, TRUE); break;
    case WM_UPDATEUISTATE: {
      const LRESULT result = ::DefWindowProcW(hwnd, message, wParam, lParam);
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    default: break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

// The links' handlers run inside this procedure, so a failure of theirs
// stops here like any other: the error box, and the message answers 0.
LRESULT CALLBACK OwnControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return HandleOwnControlMessage(hwnd, message, wParam, lParam);
  } catch (...) {
    Application.ShowException();
    return 0;
  }
}

void RegisterOwnClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  for (const OwnClass& own : kOwnClasses) {
    RegisterWindowClass(own.name, OwnControlProc, CS_DBLCLKS);
  }
}

}  // namespace

bool IsOwnKind(layout::Kind kind) { return OwnClassOf(kind) != nullptr; }

HWND CreateOwnControl(const layout::Control& control, const char* text, HWND parent, int id,
                      DWORD visibility, HFONT font) {
  RegisterOwnClasses();
  const OwnClass* own = OwnClassOf(control.kind);
  if (own == nullptr) return nullptr;
  auto* state = new ControlState;
  state->kind = control.kind;
  state->options = control.options;
  state->anchor = control.left;
  state->font = font;
  if (control.options & layout::kLink) state->colour = kLinkColour;
  // The window owns its state from WM_NCCREATE on and frees it at
  // WM_NCDESTROY, which a creation that fails after WM_NCCREATE sends too.
  const DWORD tab = control.tabOrder >= 0 ? WS_TABSTOP : 0;
  HWND hwnd = ::CreateWindowExW(own->exStyle, WideText(own->name).c_str(), WideText(text).c_str(),
                                WS_CHILD | visibility | tab | own->style, control.left, control.top,
                                control.width, control.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), state);
  if (hwnd == nullptr) return nullptr;
  if (control.kind == layout::Kind::Label && (control.options & layout::kAutoSize)) {
    AutoSizeLabel(hwnd, *state);
  }
  return hwnd;
}

void PlaceControl(HWND hwnd, const layout::Control& placed) {
  ControlState* state = StateOf(hwnd);
  int width = placed.width;
  int height = placed.height;
  if (state != nullptr && state->kind == layout::Kind::Image && state->picture != nullptr &&
      (state->options & layout::kAutoSize)) {
    const SIZE size = PictureSize(state->picture);
    width = size.cx;
    height = size.cy;
  }
  ::SetWindowPos(hwnd, nullptr, placed.left, placed.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (state != nullptr) {
    state->anchor = placed.left;
    if (state->kind == layout::Kind::Label && (state->options & layout::kAutoSize)) {
      AutoSizeLabel(hwnd, *state);
    }
  }
}

bool IsOwnControlOfKind(HWND hwnd, layout::Kind kind) {
  const ControlState* state = StateOf(hwnd);
  return state != nullptr && state->kind == kind;
}

void SetControlFont(HWND control, HFONT font) {
  if (ControlState* state = StateOf(control)) {
    state->font = font;
    if (state->kind == layout::Kind::Label && (state->options & layout::kAutoSize)) {
      AutoSizeLabel(control, *state);
    }
    ::InvalidateRect(control, nullptr, TRUE);
    return;
  }
  ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SetLabelColour(HWND label, COLORREF colour) {
  if (ControlState* state = StateOf(label)) {
    state->colour = colour;
    ::InvalidateRect(label, nullptr, TRUE);
  }
}

void SetImagePicture(HWND image, HBITMAP picture) {
  ControlState* state = StateOf(image);
  if (state == nullptr) return;
  state->picture = picture;
  if (picture != nullptr && (state->options & layout::kAutoSize)) {
    const SIZE size = PictureSize(picture);
    ::SetWindowPos(image, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(image, nullptr, TRUE);
}

void SetAccessibleNameSource(HWND control, HWND source) {
  if (ControlState* state = StateOf(control)) state->nameSource = source;
}

void SetLinkAction(HWND link, const std::string& action) {
  if (ControlState* state = StateOf(link)) state->action = action;
}

void SetLabelMouse(HWND label, std::function<void(UINT)> onButton, std::function<void()> onClick) {
  if (ControlState* state = StateOf(label)) {
    state->onButton = std::move(onButton);
    state->onClick = std::move(onClick);
  }
}

}  // namespace platform
