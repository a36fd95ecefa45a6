#pragma once
// The controls of one window, made from its layout table in resources/,
// and bound to the window's named members.

#include <windows.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/Layout.h"

namespace platform {

class ControlSet;

// One control of a window, named as the layout table names it. The window
// declares it as a member beside its ControlSet; the set's creation binds
// it to the control of that name. It stands for the control's handle.
class TControl {
 public:
  TControl(ControlSet& set, const char* name);
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  operator HWND() const { return handle_; }
  HWND Handle() const { return handle_; }
  const char* Name() const { return name_; }
  int Id() const { return ::GetDlgCtrlID(handle_); }

 private:
  friend class ControlSet;
  const char* name_;
  HWND handle_ = nullptr;
};

class ControlSet {
 public:
  ControlSet() = default;
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control of `table` in `window`, each with `font`, placed
  // at `dpi`, and binds the members. A member whose name the table lacks
  // is a mistake in the program, reported at once (a Failure).
  template <std::size_t N>
  void Create(HWND window, const layout::Control (&table)[N], HFONT font, int dpi) {
    Create(window, table, N, font, dpi);
  }
  void Create(HWND window, const layout::Control* table, std::size_t count, HFONT font, int dpi);

  // Places every control again at `dpi`, each with `font` (made for that
  // DPI), when the window has moved to a monitor of another DPI.
  void Place(int dpi, HFONT font);

  // Whether Create has run: a window may make its controls only when it is
  // first shown.
  bool Created() const { return !byName_.empty(); }

  // The control of that name in the table, for tables that name controls
  // (the pages' pictures); null for none.
  HWND Named(const std::string& name) const;

 private:
  friend class TControl;
  std::map<std::string, HWND> byName_;
  std::vector<TControl*> members_;
  const layout::Control* table_ = nullptr;
  std::vector<HWND> byIndex_;
};

// The BS_ type of a system button (push, check, radio...), -1 for any
// other window.
LONG ButtonType(HWND hwnd);
bool IsRadioButton(HWND hwnd);
bool IsPushButton(HWND hwnd);

// The whole text of a window or control.
std::string WindowTextOf(HWND hwnd);

}  // namespace platform
