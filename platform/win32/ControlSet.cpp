#include "platform/win32/ControlSet.h"

#include <commctrl.h>

#include <algorithm>
#include "platform/Dpi.h"
#include "platform/Failure.h"

#include "platform/win32/Module.h"
#include "platform/win32/OwnControls.h"
#include "platform/win32/Pages.h"

namespace platform {

namespace {

const char kCreateFailed[] = "Error creating window";

}  // namespace

namespace {

struct SystemClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

SystemClass SystemClassFor(const layout::Control& control) {
  const DWORD tab = control.tabOrder >= 0 ? WS_TABSTOP : 0;
  switch (control.kind) {
    case layout::Kind::Button: return {"Button", BS_PUSHBUTTON | tab, 0};
    case layout::Kind::CheckBox: return {"Button", BS_AUTOCHECKBOX | tab, 0};
    case layout::Kind::RadioButton: return {"Button", BS_AUTORADIOBUTTON | tab, 0};
    case layout::Kind::Edit: return {"Edit", ES_AUTOHSCROLL | tab, WS_EX_CLIENTEDGE};
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
    default: break;
  }
  return {"Static", 0, 0};
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

// The row of each control's parent, `count` for the window itself.
std::vector<std::size_t> ParentRows(const layout::Control* table, std::size_t count) {
  std::vector<std::size_t> parents(count, count);
  for (std::size_t i = 0; i < count; ++i) {
    if (table[i].parent == nullptr) continue;
    std::size_t j = 0;
    while (j < count && lstrcmpA(table[j].name, table[i].parent) != 0) ++j;
    if (j == count) throw Failure(std::string("no parent ") + table[i].parent);
    parents[i] = j;
  }
  return parents;
}

// The order of creation: parents before their children, and among
// siblings the tab order, since the window order is what the dialog keys
// follow; pictures and labels, which take no focus, come first.
std::vector<std::size_t> CreationOrder(const layout::Control* table,
                                       const std::vector<std::size_t>& parents) {
  const std::size_t count = parents.size();
  std::vector<std::size_t> depth(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    for (std::size_t p = parents[i]; p < count && depth[i] <= count; p = parents[p]) ++depth[i];
  }
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < count; ++i) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    if (depth[a] != depth[b]) return depth[a] < depth[b];
    return table[a].tabOrder < table[b].tabOrder;
  });
  return order;
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

void ControlSet::Create(HWND window, HFONT font, int dpi) {
  for (const TControl* member : members_) {
    if (member->row_ >= count_) throw Failure("no control in that row");
  }
  const std::vector<std::size_t> parents = ParentRows(table_, count_);
  byRow_.assign(count_, nullptr);
  for (std::size_t i : CreationOrder(table_, parents)) {
    const layout::Control control = ScaledControl(table_[i], dpi);
    HWND parent = parents[i] < count_ ? byRow_[parents[i]] : window;
    const int id = layout::kFirstControlId + static_cast<int>(i);
    // A page control shows its first page; the others wait hidden.
    const bool page = control.kind == layout::Kind::TabSheet && parent != window;
    const bool hiddenPage = page && ::SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0) > 0;
    const DWORD visibility = hiddenPage ? 0 : WS_VISIBLE;

    HWND hwnd = nullptr;
    if (IsOwnKind(control.kind)) {
      hwnd = CreateOwnControl(control, parent, id, visibility, font);
    } else {
      const SystemClass cls = SystemClassFor(control);
      hwnd = ::CreateWindowExA(cls.exStyle, cls.className, control.text,
                               WS_CHILD | visibility | cls.style, control.left, control.top,
                               control.width, control.height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(),
                               nullptr);
      if (hwnd != nullptr) ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (hwnd == nullptr) {
      // Out of window resources: the window gets none of its controls
      // rather than some, and a later show tries again. A control goes
      // with its parent, so only the window's own children are destroyed.
      for (std::size_t made = 0; made < count_; ++made) {
        if (byRow_[made] != nullptr && parents[made] >= count_) ::DestroyWindow(byRow_[made]);
      }
      byRow_.clear();
      throw Failure(kCreateFailed);
    }
    if (page) {
      TCITEMA tab = {};
      tab.mask = TCIF_TEXT;
      tab.pszText = const_cast<char*>(control.text);
      const LRESULT pages = ::SendMessageA(parent, TCM_GETITEMCOUNT, 0, 0);
      ::SendMessageA(parent, TCM_INSERTITEMA, pages, reinterpret_cast<LPARAM>(&tab));
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
  for (TControl* member : members_) member->handle_ = byRow_[member->row_];
}

void ControlSet::Place(int dpi, HFONT font) {
  for (std::size_t i = 0; i < byRow_.size(); ++i) {
    PlaceControl(byRow_[i], ScaledControl(table_[i], dpi));
    SetControlFont(byRow_[i], font);
  }
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
