#pragma once
// The controls of one window, made from its layout table in resources/,
// and bound to the window's members by their rows in that table.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Language.h"
#include "platform/Layout.h"

namespace platform {

class ControlSet;

// One control of a window: a row of the window's layout table. The window
// declares it as a member beside its ControlSet, with the row worked out
// from the control's name while compiling (layout::SettingsRow and the
// like, beside each table), so that a name the table lacks fails the
// build; the set's creation binds it to the control made from that row. It stands for the control's handle.
class TControl {
 public:
  TControl(ControlSet& set, std::size_t row);
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  operator HWND() const { return handle_; }
  HWND Handle() const { return handle_; }
  int Id() const { return ::GetDlgCtrlID(handle_); }

 private:
  friend class ControlSet;
  std::size_t row_;
  HWND handle_ = nullptr;
};

class ControlSet {
 public:
  template <std::size_t N>
  explicit ControlSet(const layout::Control (&table)[N]) : table_(table), count_(N) {}
  // With the controls that others name for screen readers (layout::NamedBy).
  template <std::size_t N, std::size_t M>
  ControlSet(const layout::Control (&table)[N], const layout::NamedBy (&names)[M])
      : table_(table), count_(N), names_(names), nameCount_(M) {}
  ControlSet(const ControlSet&) = delete;
  ControlSet& operator=(const ControlSet&) = delete;

  // Creates every control of the table in `window`, each with `font`,
  // placed at `dpi` and showing its text in the language of `texts` (which
  // outlive the set), and binds the members. A member whose row lies
  // outside the table, or a parent that the table lacks, is a mistake in
  // the program, reported at once (a Failure).
  void Create(HWND window, HFONT font, int dpi, const Texts& texts);

  // Places every control again at `dpi`, each with `font` (made for that
  // DPI), when the window has moved to a monitor of another DPI.
  void Place(int dpi, HFONT font);

  // Whether Create has run: a window may make its controls only when it is
  // first shown.
  bool Created() const { return !byRow_.empty(); }

  // The control made from `row`, for the tables that refer to rows of the
  // layout (the pages' pictures); null before Create.
  HWND At(std::size_t row) const { return row < byRow_.size() ? byRow_[row] : nullptr; }

 private:
  friend class TControl;
  // The translated texts that their designed controls cannot hold, given
  // room at `dpi`.
  void FitTexts(int dpi);
  void FitText(std::size_t row, int dpi);

  const layout::Control* table_;
  std::size_t count_;
  const Texts* texts_ = nullptr;
  const layout::NamedBy* names_ = nullptr;
  std::size_t nameCount_ = 0;
  std::vector<TControl*> members_;
  std::vector<HWND> byRow_;
};

// The BS_ type of a system button (push, check, radio...), -1 for any
// other window.
LONG ButtonType(HWND hwnd);
bool IsRadioButton(HWND hwnd);
bool IsPushButton(HWND hwnd);

// The whole text of a window or control.
std::string WindowTextOf(HWND hwnd);

}  // namespace platform
