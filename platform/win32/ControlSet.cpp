#include "platform/win32/ControlSet.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Dpi.h"
#include "platform/Failure.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Module.h"
#include "platform/win32/OwnControls.h"
#include "platform/win32/Pages.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

const char kCreateFailed[] = "Error creating window";  // English until the program words it

}  // namespace

namespace {

struct SystemClass {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

SystemClass SystemClassFor(const layout::Control& control) {
  const DWORD tab = control.tabOrder >= 0 ? WS_TABSTOP : 0;
  switch (control.kind) {
    case layout::Kind::Button: return {L"Button", BS_PUSHBUTTON | tab, 0};
    case layout::Kind::CheckBox: return {L"Button", BS_AUTOCHECKBOX | tab, 0};
    case layout::Kind::RadioButton: return {L"Button", BS_AUTORADIOBUTTON | tab, 0};
    case layout::Kind::Edit: return {L"Edit", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
    case layout::Kind::ListView:
      return {WC_LISTVIEWW, LVS_LIST | LVS_NOCOLUMNHEADER | LVS_SHAREIMAGELISTS | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS | tab,
              WS_EX_CLIENTEDGE};
    case layout::Kind::ListBox:
      return {L"ListBox", LBS_SORT | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | tab,
              WS_EX_CLIENTEDGE};
    case layout::Kind::PageControl:
      // The pages are its children and paint the display area themselves.
      return {WC_TABCONTROLW, TCS_HOTTRACK | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | tab,
              WS_EX_CONTROLPARENT};
    default: break;
  }
  return {L"Static", 0, 0};
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

// Room for the box or circle of a check box or radio button before its
// text, in 96-DPI pixels: the 13 of the box and the gap that Windows leaves.
constexpr int kButtonMark = 20;

// The size of `text` in the control's font, in pixels: on one line, or in
// lines broken to `width`. A button's "&" marks its access key; a label
// shows it.
SIZE TextSize(HWND control, const WideText& text, int width, bool button) {
  WindowDC dc(control);
  SelectedObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT rect = {0, 0, width, 0};
  const UINT lines = width > 0 ? DT_WORDBREAK : DT_SINGLELINE;
  ::DrawTextW(dc.Get(), text.c_str(), text.Length(), &rect,
              DT_CALCRECT | lines | (button ? 0 : DT_NOPREFIX));
  return {rect.right, rect.bottom};
}

// Pixels at `dpi` in 96-DPI pixels, rounded up: the room a text needs.
int DesignPixels(LONG pixels, int dpi) {
  return static_cast<int>((pixels * kDesignDpi + dpi - 1) / dpi);
}

// The entry with its place and size in pixels at `dpi`.
layout::Control ScaledControl(const layout::Control& control, int dpi) {
  layout::Control scaled = control;
  scaled.left = ScaleToDpi(control.left, dpi);
  scaled.top = ScaleToDpi(control.top, dpi);
  scaled.width = ScaleToDpi(control.width, dpi);
  scaled.height = ScaleToDpi(control.height, dpi);
  return scaled;
}

}  // namespace

TControl::TControl(ControlSet& set, std::size_t row) : row_(row) {
  set.members_.push_back(this);
}

void ControlSet::Create(HWND window, HFONT font, int dpi, const Texts& texts) {
  texts_ = &texts;
  for (const TControl* member : members_) {
    if (member->row_ >= count_) throw Failure("no control in that row");
  }
  const std::vector<std::size_t> parents = layout::ParentRows(table_, count_);
  byRow_.assign(count_, nullptr);
  for (std::size_t i : layout::WindowOrder(table_, count_, names_, nameCount_)) {
    const layout::Control control = ScaledControl(table_[i], dpi);
    HWND parent = parents[i] < count_ ? byRow_[parents[i]] : window;
    const int id = layout::kFirstControlId + static_cast<int>(i);
    // A page control shows its first page; the others wait hidden.
    const bool page = control.kind == layout::Kind::TabSheet && parent != window;
    const bool hiddenPage = page && ::SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0) > 0;
    const DWORD visibility = hiddenPage ? 0 : WS_VISIBLE;
    const char* text = control.text.In(texts);

    HWND hwnd = nullptr;
    if (IsOwnKind(control.kind)) {
      hwnd = CreateOwnControl(control, text, parent, id, visibility, font);
    } else {
      const SystemClass cls = SystemClassFor(control);
      hwnd = ::CreateWindowExW(cls.exStyle, cls.className, WideText(text).c_str(),
                               WS_CHILD | visibility | cls.style, control.left, control.top,
                               control.width, control.height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                               nullptr);
      if (hwnd != nullptr) ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (hwnd == nullptr) {
      // Out of window resources: the window gets none of its controls
      // rather than some, and a later show tries again. A control goes
      // with its parent, so only the window's own children are destroyed.
      for (std::size_t made = 0; made < count_; ++made) {
        if (byRow_[made] != nullptr && parents[made] >= count_) ::DestroyWindow(byRow_[made]);
      }
      byRow_.clear();
      throw Failure(PlatformText::CreateWindow, kCreateFailed);
    }
    if (page) {
      WideText caption(text);
      TCITEMW tab = {};
      tab.mask = TCIF_TEXT;
      tab.pszText = caption.data();
      const LRESULT pages = ::SendMessageW(parent, TCM_GETITEMCOUNT, 0, 0);
      ::SendMessageW(parent, TCM_INSERTITEMW, pages, reinterpret_cast<LPARAM>(&tab));
    }
    if (control.kind == layout::Kind::ListView) {
      ::SendMessageA(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    }
    byRow_[i] = hwnd;
  }
  MarkGroups(window);
  for (std::size_t i = 0; i < count_; ++i) {
    if (table_[i].kind == layout::Kind::RadioButton) UpdateRadioTabStops(byRow_[i]);
  }
  FitTexts(dpi);
  for (std::size_t n = 0; n < nameCount_; ++n) {
    SetAccessibleNameSource(byRow_[names_[n].control], byRow_[names_[n].by]);
  }
  for (TControl* member : members_) member->handle_ = byRow_[member->row_];
}

void ControlSet::Place(int dpi, HFONT font) {
  for (std::size_t i = 0; i < byRow_.size(); ++i) {
    PlaceControl(byRow_[i], ScaledControl(table_[i], dpi));
    SetControlFont(byRow_[i], font);
  }
  FitTexts(dpi);
}

void ControlSet::FitTexts(int dpi) {
  for (std::size_t row = 0; row < byRow_.size(); ++row) {
    if (table_[row].text.Translated(*texts_)) FitText(row, dpi);
  }
}

// The designed English fits its controls; a translation may not. A check
// box, a radio button or a label that is not sized to its text grows to
// the right into the room its page leaves free, and where one line is
// still too long, down, its text broken into lines. Push buttons keep
// their size: the language files are written to fit them.
void ControlSet::FitText(std::size_t row, int dpi) {
  const layout::Control& control = table_[row];
  const bool button =
      control.kind == layout::Kind::CheckBox || control.kind == layout::Kind::RadioButton;
  const bool label = control.kind == layout::Kind::Label && !(control.options & layout::kAutoSize);
  if (!button && !label) return;
  HWND hwnd = byRow_[row];
  const WideText text(control.text.In(*texts_));
  const int mark = button ? kButtonMark : 0;
  int width = control.width;
  auto resize = [&](int height) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, ScaleToDpi(width, dpi), ScaleToDpi(height, dpi),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  };
  auto wrappedHeight = [&] {
    return DesignPixels(TextSize(hwnd, text, ScaleToDpi(width - mark, dpi), button).cy, dpi);
  };
  // The room to the right is the same whatever the width; the room below
  // depends on it.
  const int widest = layout::RoomToGrow(table_, count_, row, width).right - control.left;
  if (control.options & layout::kWordWrap) {
    if (wrappedHeight() <= control.height) return;
  } else {
    const int oneLine = DesignPixels(TextSize(hwnd, text, 0, button).cx, dpi) + mark;
    if (oneLine <= width) return;
    if (oneLine <= widest) {
      width = oneLine;
      return resize(control.height);
    }
  }
  // Lines broken at the widest the room allows, as many as fit below.
  width = widest;
  const int needed = wrappedHeight();
  const int height = std::max(
      control.height,
      std::min(needed, layout::RoomToGrow(table_, count_, row, width).bottom - control.top));
  // A button shows its text on one line unless told, and then centres the
  // lines in its height.
  if (button && needed <= height) {
    ::SetWindowLongW(hwnd, GWL_STYLE, ::GetWindowLongW(hwnd, GWL_STYLE) | BS_MULTILINE);
  }
  resize(height);
}

LONG ButtonType(HWND hwnd) {
  char cls[16] = {};
  ::GetClassNameA(hwnd, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") != 0) return -1;
  return ::GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
}

bool IsRadioButton(HWND hwnd) {
  const LONG type = ButtonType(hwnd);
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsPushButton(HWND hwnd) {
  const LONG type = ButtonType(hwnd);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

std::string WindowTextOf(HWND hwnd) {
  const int length = ::GetWindowTextLengthA(hwnd);
  std::string text(length + 1, '\0');
  const int copied = ::GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(copied);
  return text;
}

}  // namespace platform
