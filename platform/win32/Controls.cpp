#include "platform/win32/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace platform {

namespace {

const char kPanelClass[] = "TPanel";
const char kImageClass[] = "TImage";
const char kLabelClass[] = "TLabel";
const char kBevelClass[] = "TBevel";
const char kTabSheetClass[] = "TTabSheet";

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

// What the program's own controls remember.
struct ControlState {
  layout::Kind kind;
  unsigned options = 0;
  int anchor = 0;  // the right edge of a right-aligned label
  HFONT font = nullptr;
  COLORREF colour = ::GetSysColor(COLOR_WINDOWTEXT);
  HBITMAP picture = nullptr;
  std::function<void(UINT)> onButton;
  std::function<void()> onClick;
  bool leftDown = false;
};

bool IsOwnControl(HWND hwnd) {
  char cls[32] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  for (const char* own : {kPanelClass, kImageClass, kLabelClass, kBevelClass, kTabSheetClass}) {
    if (lstrcmpA(cls, own) == 0) return true;
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
  HDC dc = ::GetDC(hwnd);
  HGDIOBJ old = ::SelectObject(dc, state.font ? state.font : ::GetStockObject(DEFAULT_GUI_FONT));
  std::string text = WindowTextOf(hwnd);
  RECT rect = {0, 0, 0, 0};
  ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, old);
  ::ReleaseDC(hwnd, dc);

  RECT current;
  ::GetWindowRect(hwnd, &current);
  ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&current), 2);
  int left = (state.options & layout::kAlignRight) ? state.anchor - rect.right : current.left;
  ::SetWindowPos(hwnd, nullptr, left, current.top, rect.right, rect.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void PaintBackground(HWND hwnd, HDC dc, const RECT& rect) {
  (void)hwnd;
  ::FillRect(dc, &rect, ::GetSysColorBrush(COLOR_BTNFACE));
}

void PaintPanel(HWND hwnd, HDC dc, ControlState& state) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(hwnd, dc, rect);
  // A lowered outer bevel around a raised inner one.
  ::DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
  std::string text = WindowTextOf(hwnd);
  if (!text.empty()) {
    HGDIOBJ old = ::SelectObject(dc, state.font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
  }
}

void PaintImage(HWND hwnd, HDC dc, ControlState& state) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(hwnd, dc, rect);
  if (state.picture == nullptr) return;
  BITMAP info;
  ::GetObjectA(state.picture, sizeof info, &info);
  HDC source = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(source, state.picture);
  if (state.options & layout::kTransparent) {
    // The picture's background is the colour of its bottom-left pixel.
    COLORREF key = ::GetPixel(source, 0, info.bmHeight - 1);
    ::TransparentBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth,
                     info.bmHeight, key);
  } else {
    ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  }
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

void PaintLabel(HWND hwnd, HDC dc, ControlState& state) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(hwnd, dc, rect);
  HGDIOBJ old = ::SelectObject(dc, state.font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::IsWindowEnabled(hwnd) ? state.colour : ::GetSysColor(COLOR_GRAYTEXT));
  UINT format = DT_NOPREFIX;
  format |= (state.options & layout::kWordWrap) ? DT_WORDBREAK : DT_SINGLELINE;
  if (state.options & layout::kAlignRight) format |= DT_RIGHT;
  std::string text = WindowTextOf(hwnd);
  ::DrawTextA(dc, text.c_str(), -1, &rect, format);
  ::SelectObject(dc, old);
}

void PaintBevel(HWND hwnd, HDC dc) {
  RECT rect;
  ::GetClientRect(hwnd, &rect);
  PaintBackground(hwnd, dc, rect);
  ::DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP);
}

LRESULT CALLBACK OwnControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<ControlState*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_NCDESTROY:
      delete state;
      ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      if (state == nullptr) break;
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd, &paint);
      switch (state->kind) {
        case layout::Kind::Panel: PaintPanel(hwnd, dc, *state); break;
        case layout::Kind::Image: PaintImage(hwnd, dc, *state); break;
        case layout::Kind::Label: PaintLabel(hwnd, dc, *state); break;
        case layout::Kind::Bevel: PaintBevel(hwnd, dc); break;
        default: PaintBackground(hwnd, dc, paint.rcPaint); break;
      }
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_SETTEXT: {
      LRESULT result = ::DefWindowProcA(hwnd, message, wParam, lParam);
      if (state != nullptr && state->kind == layout::Kind::Label &&
          (state->options & layout::kAutoSize)) {
        AutoSizeLabel(hwnd, *state);
      }
      ::InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_GETFONT:
      return state != nullptr ? reinterpret_cast<LRESULT>(state->font) : 0;
    case WM_SETCURSOR:
      if (state != nullptr && (state->options & layout::kLink)) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_NCHITTEST:
      // Labels and pictures of a window are part of its face; only links
      // take the mouse.
      if (state != nullptr && state->kind == layout::Kind::Label &&
          (state->options & layout::kLink)) {
        return HTCLIENT;
      }
      if (state != nullptr && state->kind != layout::Kind::Panel &&
          state->kind != layout::Kind::TabSheet) {
        return HTTRANSPARENT;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (state != nullptr && state->onButton) {
        if (message == WM_LBUTTONDOWN) {
          state->leftDown = true;
          ::SetCapture(hwnd);
        }
        state->onButton(message);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (state != nullptr && state->onButton) {
        bool click = false;
        if (message == WM_LBUTTONUP && state->leftDown) {
          state->leftDown = false;
          ::ReleaseCapture();
          POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
          RECT rect;
          ::GetClientRect(hwnd, &rect);
          click = ::PtInRect(&rect, point) != FALSE;
        } else if (message == WM_LBUTTONUP && ::GetCapture() == hwnd) {
          // The release after the second press of a double click: no click,
          // but the mouse goes back to the other windows.
          ::ReleaseCapture();
        }
        state->onButton(message);
        if (click && state->onClick) state->onClick();
        return 0;
      }
      break;
    case WM_LBUTTONDBLCLK:
      // The second press of a double click is a press, but never a click.
      if (state != nullptr && state->onButton) {
        state->leftDown = false;
        ::SetCapture(hwnd);
        state->onButton(WM_LBUTTONDOWN);
        return 0;
      }
      break;
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      // A quick second press of the other buttons is a press as well.
      if (state != nullptr && state->onButton) {
        state->onButton(message == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN : WM_MBUTTONDOWN);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (state != nullptr) state->leftDown = false;
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // Containers pass their children's notifications up to the window.
      return ::SendMessageA(::GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    default:
      break;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterOwnClasses() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  for (const char* name : {kPanelClass, kImageClass, kLabelClass, kBevelClass, kTabSheetClass}) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = OwnControlProc;
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    ::RegisterClassExA(&wc);
  }
}

struct ClassAndStyle {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ClassAndStyle ClassFor(const layout::Control& control) {
  const DWORD tab = control.tabOrder >= 0 ? WS_TABSTOP : 0;
  switch (control.kind) {
    case layout::Kind::Panel:
      return {kPanelClass, WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case layout::Kind::TabSheet:
      return {kTabSheetClass, WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case layout::Kind::Image: return {kImageClass, 0, 0};
    case layout::Kind::Label: return {kLabelClass, 0, 0};
    case layout::Kind::Bevel: return {kBevelClass, 0, 0};
    case layout::Kind::Button: return {"Button", BS_PUSHBUTTON | tab, 0};
    case layout::Kind::CheckBox: return {"Button", BS_AUTOCHECKBOX | tab, 0};
    case layout::Kind::RadioButton: return {"Button", BS_AUTORADIOBUTTON | tab, 0};
    case layout::Kind::Edit:
      return {"Edit", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case layout::Kind::ListView:
      return {WC_LISTVIEWA, LVS_LIST | LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS | tab,
              WS_EX_CLIENTEDGE};
    case layout::Kind::ListBox:
      return {"ListBox", LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab,
              WS_EX_CLIENTEDGE};
    case layout::Kind::PageControl:
      // The pages are its children and paint the display area themselves.
      return {WC_TABCONTROLA, TCS_HOTTRACK | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | tab,
              WS_EX_CONTROLPARENT};
  }
  return {kLabelClass, 0, 0};
}

bool IsRadioButton(HWND hwnd) {
  const LONG type = ButtonType(hwnd);
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsTabSheet(HWND hwnd) {
  char cls[32] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  return lstrcmpA(cls, kTabSheetClass) == 0;
}

// Radio buttons form a group with the radio buttons next to them in the
// same container; every other control starts a group of its own. The
// dialog keys' arrows and the buttons' own unchecking of the others of
// their group then stay inside one container.
void MarkGroups(HWND container) {
  bool previousIsRadio = false;
  for (HWND child = ::GetWindow(container, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const bool radio = IsRadioButton(child);
    LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if (radio && previousIsRadio) {
      style &= ~WS_GROUP;
    } else {
      style |= WS_GROUP;
    }
    ::SetWindowLongA(child, GWL_STYLE, style);
    previousIsRadio = radio;
    MarkGroups(child);
  }
}

// The radio buttons of `radio`'s group: its radio neighbours in window order.
std::vector<HWND> RadioGroupOf(HWND radio) {
  HWND first = radio;
  for (HWND previous = ::GetWindow(first, GW_HWNDPREV);
       previous != nullptr && IsRadioButton(previous);
       previous = ::GetWindow(previous, GW_HWNDPREV)) {
    first = previous;
  }
  std::vector<HWND> group;
  for (HWND member = first; member != nullptr && IsRadioButton(member);
       member = ::GetWindow(member, GW_HWNDNEXT)) {
    group.push_back(member);
  }
  return group;
}

}  // namespace

LONG ButtonType(HWND hwnd) {
  char cls[16] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") != 0) return -1;
  return ::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
}

std::string WindowTextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthA(hwnd);
  std::string text(length + 1, '\0');
  const int copied = ::GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(copied);
  return text;
}

Font CreateFontByName(const char* face, int height, bool bold, bool underline) {
  LOGFONTA font = {};
  font.lfHeight = -height;
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
  return Font(::CreateFontIndirectA(&font));
}

Bitmap LoadBitmapResource(const char* name) {
  return Bitmap(static_cast<HBITMAP>(
      ::LoadImageA(Instance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

Icon LoadIconResource(const char* name, int size) {
  return Icon(static_cast<HICON>(::LoadImageA(Instance(), name, IMAGE_ICON, size, size, 0)));
}

Bitmap LoadPictureOn(const char* name, COLORREF background) {
  Bitmap source = LoadBitmapResource(name);
  if (source.Get() == nullptr) return Bitmap();
  BITMAP info;
  ::GetObjectA(source.Get(), sizeof info, &info);
  HDC screen = ::GetDC(nullptr);
  HDC from = ::CreateCompatibleDC(screen);
  HDC to = ::CreateCompatibleDC(screen);
  Bitmap result(::CreateCompatibleBitmap(screen, info.bmWidth, info.bmHeight));
  HGDIOBJ oldFrom = ::SelectObject(from, source.Get());
  HGDIOBJ oldTo = ::SelectObject(to, result.Get());
  RECT rect = {0, 0, info.bmWidth, info.bmHeight};
  HBRUSH brush = ::CreateSolidBrush(background);
  ::FillRect(to, &rect, brush);
  ::DeleteObject(brush);
  COLORREF key = ::GetPixel(from, 0, info.bmHeight - 1);
  ::TransparentBlt(to, 0, 0, info.bmWidth, info.bmHeight, from, 0, 0, info.bmWidth, info.bmHeight,
                   key);
  ::SelectObject(from, oldFrom);
  ::SelectObject(to, oldTo);
  ::DeleteDC(from);
  ::DeleteDC(to);
  ::ReleaseDC(nullptr, screen);
  return result;
}

PopupMenu::~PopupMenu() {
  if (menu_ != nullptr) ::DestroyMenu(menu_);
}

void PopupMenu::Create(const layout::MenuItem* table, std::size_t count) {
  menu_ = ::CreatePopupMenu();
  std::map<std::string, HMENU> submenus;
  for (std::size_t i = 0; i < count; ++i) {
    const layout::MenuItem& item = table[i];
    const int id = layout::kFirstMenuId + static_cast<int>(i);
    ids_[item.name] = id;
    HMENU parent = item.parent == nullptr ? menu_ : submenus[item.parent];

    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    if (lstrcmpA(item.caption, "-") == 0) {
      info.fMask = MIIM_FTYPE | MIIM_ID;
      info.fType = MFT_SEPARATOR;
      info.wID = id;
    } else {
      info.fMask = MIIM_STRING | MIIM_ID;
      info.dwTypeData = const_cast<char*>(item.caption);
      info.wID = id;
      // An item that is the parent of later items opens a submenu.
      for (std::size_t j = i + 1; j < count; ++j) {
        if (table[j].parent != nullptr && lstrcmpA(table[j].parent, item.name) == 0) {
          info.fMask |= MIIM_SUBMENU;
          info.hSubMenu = submenus[item.name] = ::CreatePopupMenu();
          break;
        }
      }
      if (item.picture != nullptr) {
        pictures_.push_back(LoadPictureOn(item.picture, ::GetSysColor(COLOR_MENU)));
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = pictures_.back().Get();
      }
    }
    ::InsertMenuItemA(parent, ::GetMenuItemCount(parent), TRUE, &info);
  }
}

int PopupMenu::IdOf(const std::string& name) const {
  auto found = ids_.find(name);
  return found == ids_.end() ? 0 : found->second;
}

std::string PopupMenu::NameOf(int id) const {
  for (const auto& [name, itemId] : ids_) {
    if (itemId == id) return name;
  }
  return std::string();
}

void ControlSet::Create(HWND window, const layout::Control* table, std::size_t count, HFONT font) {
  RegisterOwnClasses();
  // Creating in tab order makes the window order the tab order, which is
  // what the dialog keys follow; pictures and labels come first. Every
  // parent is made before its children, so that no child is made ahead of
  // a sibling that waited for the parent.
  std::vector<std::size_t> depth(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const char* parent = table[i].parent;
    while (parent != nullptr && depth[i] <= count) {
      ++depth[i];
      const layout::Control* found = nullptr;
      for (std::size_t j = 0; j < count; ++j) {
        if (lstrcmpA(table[j].name, parent) == 0) found = &table[j];
      }
      parent = found != nullptr ? found->parent : nullptr;
    }
  }
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < count; ++i) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (depth[a] != depth[b]) return depth[a] < depth[b];
    return table[a].tabOrder < table[b].tabOrder;
  });
  // Parents before their children.
  std::vector<bool> created(count, false);
  for (std::size_t round = 0; round < count; ++round) {
    for (std::size_t i : order) {
      if (created[i]) continue;
      const layout::Control& control = table[i];
      HWND parent = window;
      if (control.parent != nullptr) {
        auto found = byName_.find(control.parent);
        if (found == byName_.end()) continue;
        parent = found->second;
      }
      ClassAndStyle cls = ClassFor(control);
      ControlState* state = nullptr;
      if (cls.className == kPanelClass || cls.className == kImageClass ||
          cls.className == kLabelClass || cls.className == kBevelClass ||
          cls.className == kTabSheetClass) {
        state = new ControlState;
        state->kind = control.kind;
        state->options = control.options;
        state->anchor = control.left;
        state->font = font;
        if (control.options & layout::kLink) state->colour = RGB(0, 0, 255);
      }
      const int id = layout::kFirstControlId + static_cast<int>(i);
      // A page control shows its first page; the others wait hidden.
      const bool page = control.kind == layout::Kind::TabSheet && parent != window;
      const bool hiddenPage = page && ::SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0) > 0;
      HWND hwnd = ::CreateWindowExA(
          cls.exStyle, cls.className, control.text,
          WS_CHILD | (hiddenPage ? 0 : WS_VISIBLE) | cls.style, control.left, control.top,
          control.width, control.height, parent,
          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), state);
      if (page) {
        TCITEMA tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<char*>(control.text);
        const LRESULT count = ::SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0);
        ::SendMessageA(parent, TCM_INSERTITEMA, count, reinterpret_cast<LPARAM>(&tab));
      }
      if (control.kind == layout::Kind::ListView) {
        ::SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
      }
      if (state == nullptr) {
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      } else if (control.kind == layout::Kind::Label && (control.options & layout::kAutoSize)) {
        AutoSizeLabel(hwnd, *state);
      }
      byName_[control.name] = hwnd;
      byId_[id] = control.name;
      created[i] = true;
    }
  }
  MarkGroups(window);
  for (std::size_t i = 0; i < count; ++i) {
    if (table[i].kind == layout::Kind::RadioButton) UpdateRadioTabStops(byName_[table[i].name]);
  }
}

HWND ControlSet::operator[](const std::string& name) const {
  auto found = byName_.find(name);
  return found == byName_.end() ? nullptr : found->second;
}

std::string ControlSet::NameOf(int id) const {
  auto found = byId_.find(id);
  return found == byId_.end() ? std::string() : found->second;
}

int ControlSet::IdOf(const std::string& name) const {
  HWND hwnd = (*this)[name];
  return hwnd != nullptr ? ::GetDlgCtrlID(hwnd) : 0;
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
  ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SetLabelColour(HWND label, COLORREF colour) {
  if (ControlState* state = StateOf(label)) {
    state->colour = colour;
    ::InvalidateRect(label, nullptr, TRUE);
  }
}

COLORREF LabelColour(HWND label) {
  ControlState* state = StateOf(label);
  return state != nullptr ? state->colour : 0;
}

void SetImagePicture(HWND image, HBITMAP picture) {
  ControlState* state = StateOf(image);
  if (state == nullptr) return;
  state->picture = picture;
  if (picture != nullptr && (state->options & layout::kAutoSize)) {
    BITMAP info;
    ::GetObjectA(picture, sizeof info, &info);
    ::SetWindowPos(image, nullptr, 0, 0, info.bmWidth, info.bmHeight,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ::InvalidateRect(image, nullptr, TRUE);
}

HBITMAP ImagePicture(HWND image) {
  ControlState* state = StateOf(image);
  return state != nullptr ? state->picture : nullptr;
}

void SetLabelMouse(HWND label, std::function<void(UINT)> onButton, std::function<void()> onClick) {
  if (ControlState* state = StateOf(label)) {
    state->onButton = std::move(onButton);
    state->onClick = std::move(onClick);
  }
}

// ---------------------------------------------------------------------------
// Page controls and radio groups

int PageCount(HWND pageControl) {
  return static_cast<int>(::SendMessageA(pageControl, TCM_GETITEMCOUNT, 0, 0));
}

HWND PageAt(HWND pageControl, int index) {
  int position = 0;
  for (HWND child = ::GetWindow(pageControl, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!IsTabSheet(child)) continue;
    if (position++ == index) return child;
  }
  return nullptr;
}

int ActivePageIndex(HWND pageControl) {
  return static_cast<int>(::SendMessageA(pageControl, TCM_GETCURSEL, 0, 0));
}

void ShowPage(HWND pageControl, int index) {
  if (index < 0 || index >= PageCount(pageControl)) return;
  ::SendMessageA(pageControl, TCM_SETCURSEL, index, 0);
  // The new page appears before the old one goes, so nothing flashes.
  HWND shown = PageAt(pageControl, index);
  if (shown != nullptr) ::ShowWindow(shown, SW_SHOW);
  for (int i = 0; i < PageCount(pageControl); ++i) {
    HWND page = PageAt(pageControl, i);
    if (page != nullptr && page != shown) ::ShowWindow(page, SW_HIDE);
  }
}

void SetRadioChecked(HWND radio) {
  for (HWND member : RadioGroupOf(radio)) {
    ::SendMessageA(member, BM_SETCHECK, member == radio ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  UpdateRadioTabStops(radio);
}

void UpdateRadioTabStops(HWND radio) {
  // Tab leads into a group at its checked button; the arrows move within.
  for (HWND member : RadioGroupOf(radio)) {
    LONG style = ::GetWindowLongA(member, GWL_STYLE);
    if (::SendMessageA(member, BM_GETCHECK, 0, 0) == BST_CHECKED) {
      style |= WS_TABSTOP;
    } else {
      style &= ~WS_TABSTOP;
    }
    ::SetWindowLongA(member, GWL_STYLE, style);
  }
}

}  // namespace platform
