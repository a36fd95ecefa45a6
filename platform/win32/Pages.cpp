#include "platform/win32/Pages.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/Layout.h"
#include "platform/Text.h"
#include "platform/win32/ControlSet.h"
#include "platform/win32/OwnControls.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

bool IsTabSheet(HWND hwnd) { return IsOwnControlOfKind(hwnd, layout::Kind::TabSheet); }

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


void CollectPushButtons(HWND parent, std::vector<HWND>& buttons) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (IsPushButton(child)) buttons.push_back(child);
    CollectPushButtons(child, buttons);
  }
}

// A character in upper case as Windows folds it, for any letter of any
// language: a translated tab's access key may be "Ł".
wchar_t UpperCase(wchar_t c) {
  return static_cast<wchar_t>(reinterpret_cast<UINT_PTR>(
      ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(c)))));
}

// The character after the single "&" of a caption, upper case; 0 for none.
wchar_t AccessKeyOf(const wchar_t* caption) {
  for (; caption[0] != L'\0' && caption[1] != L'\0'; ++caption) {
    if (caption[0] != L'&') continue;
    if (caption[1] != L'&') return UpperCase(caption[1]);
    ++caption;
  }
  return L'\0';
}

}  // namespace

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


// ---------------------------------------------------------------------------
// The keyboard of a tabbed dialog

void PageDialogKeys::Attach(HWND dialog, HWND pageControl, HWND defaultButton) {
  dialog_ = dialog;
  pageControl_ = pageControl;
  defaultButton_ = defaultButton;
  pushButtons_.clear();
  CollectPushButtons(dialog, pushButtons_);
  for (HWND button : pushButtons_) {
    ::SetWindowLongA(button, GWL_STYLE, ::GetWindowLongA(button, GWL_STYLE) | BS_NOTIFY);
  }
  UpdateDefaultButton();
}

void PageDialogKeys::UpdateDefaultButton() {
  HWND focus = ::GetFocus();
  const bool buttonFocused = focus != nullptr && ::IsChild(dialog_, focus) && IsPushButton(focus);
  for (HWND button : pushButtons_) {
    const bool isDefault = buttonFocused ? button == focus : button == defaultButton_;
    // The style message replaces the low word of the style, BS_NOTIFY too.
    ::SendMessageA(button, BM_SETSTYLE, (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_NOTIFY,
                   TRUE);
  }
}

bool PageDialogKeys::PreviewDialogKey(MSG& msg) {
  if (msg.hwnd != dialog_ && !::IsChild(dialog_, msg.hwnd)) return false;
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && ::GetKeyState(VK_MENU) >= 0) {
    const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
    if (control) {
      // Ctrl+Tab turns the pages while the focus is on the tabs or a page.
      HWND focus = ::GetFocus();
      if (focus == pageControl_ || ::IsChild(pageControl_, focus)) {
        const int count = PageCount(pageControl_);
        const int active = ActivePageIndex(pageControl_);
        SelectPage((active + (backwards ? count - 1 : 1)) % count);
      }
    } else {
      // The dialog keys would pass over the tabs, which hold the pages;
      // here they take the focus between the buttons and the page.
      FocusNextControl(!backwards);
    }
    return true;
  }
  const bool accelerator =
      msg.message == WM_SYSCHAR ||
      (msg.message == WM_CHAR && !control &&
       (::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
        (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) == 0);
  if (accelerator) {
    // The tabs' access keys come first, as the page control is the first
    // control of the window.
    const int page = PageWithAccessKey(static_cast<wchar_t>(msg.wParam));
    if (page >= 0) {
      SelectPage(page);
      return true;
    }
  }
  return false;
}

std::vector<HWND> PageDialogKeys::TabStops() const {
  std::vector<HWND> stops;
  CollectTabStops(dialog_, stops);
  return stops;
}

void PageDialogKeys::CollectTabStops(HWND parent, std::vector<HWND>& stops) const {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    const LONG style = ::GetWindowLongA(child, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) continue;
    if (child == pageControl_) {
      stops.push_back(child);
      CollectTabStops(child, stops);
    } else if (::GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      CollectTabStops(child, stops);
    } else if (style & WS_TABSTOP) {
      stops.push_back(child);
    }
  }
}

void PageDialogKeys::FocusNextControl(bool forward) {
  const std::vector<HWND> stops = TabStops();
  if (stops.empty()) return;
  const auto current = std::find(stops.begin(), stops.end(), ::GetFocus());
  std::size_t next = 0;
  if (current == stops.end()) {
    next = forward ? 0 : stops.size() - 1;
  } else {
    const std::size_t at = static_cast<std::size_t>(current - stops.begin());
    next = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
  }
  // An edit box reached by Tab has its text selected, as in every dialog.
  if (::SendMessageA(stops[next], WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
    ::SendMessageA(stops[next], EM_SETSEL, 0, -1);
  }
  ::SetFocus(stops[next]);
}

HWND PageDialogKeys::VisiblePage() const {
  for (int i = 0; i < PageCount(pageControl_); ++i) {
    HWND page = PageAt(pageControl_, i);
    if (::GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) return page;
  }
  return nullptr;
}

// Shows a page. When the focus was on the page that goes, it moves to the
// first control of the new one (or the tabs, when the page has none).
void PageDialogKeys::SelectPage(int index) {
  HWND old = VisiblePage();
  HWND focus = ::GetFocus();
  const bool focusOnOldPage = old != nullptr && focus != nullptr && ::IsChild(old, focus);
  ShowPage(pageControl_, index);
  if (!focusOnOldPage) return;
  std::vector<HWND> onPage;
  CollectTabStops(PageAt(pageControl_, index), onPage);
  ::SetFocus(onPage.empty() ? pageControl_ : onPage.front());
}

int PageDialogKeys::PageWithAccessKey(wchar_t key) const {
  const wchar_t wanted = UpperCase(key);
  if (wanted == L'\0') return -1;
  for (int i = 0; i < PageCount(pageControl_); ++i) {
    if (AccessKeyOf(WideText::OfWindow(PageAt(pageControl_, i)).c_str()) == wanted) return i;
  }
  return -1;
}

}  // namespace platform
