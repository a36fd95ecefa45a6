#pragma once
// Page controls and radio groups, and the keyboard of a dialog whose
// controls stand on the pages of a page control.

#include <windows.h>

#include <vector>

namespace platform {

// A page control's pages are the TTabSheet children made from the layout
// table, in table order; the first is shown at creation.
int PageCount(HWND pageControl);
HWND PageAt(HWND pageControl, int index);
int ActivePageIndex(HWND pageControl);
// Selects the tab and shows its page; the other pages are hidden. Sends no
// notification.
void ShowPage(HWND pageControl, int index);

// Checks `radio` and clears the other radio buttons of its group (its radio
// neighbours in the same container).
void SetRadioChecked(HWND radio);
// Only the checked button of a radio group is a tab stop.
void UpdateRadioTabStops(HWND radio);

// The dialog keys for a window with a page control. The system's dialog
// keys pass over the tabs, which hold the pages, and know neither Ctrl+Tab
// nor the tabs' access keys; this adds what a tabbed dialog of Windows does.
class PageDialogKeys {
 public:
  // `defaultButton` is the button that Enter presses while no push button
  // has the focus. Every push button of the dialog starts reporting its
  // focus, so that the one with the focus is the one Enter presses.
  void Attach(HWND dialog, HWND pageControl, HWND defaultButton);

  // A key message for the dialog while it is active; true when handled
  // here: Tab and Shift+Tab through the buttons, the tabs and the page,
  // Ctrl+Tab through the pages, and the tabs' access keys.
  bool PreviewDialogKey(MSG& msg);

  // Shows a page. When the focus was on the page that goes, it moves to
  // the first control of the new one (or the tabs, when it has none).
  void SelectPage(int index);

  // Makes the push button with the focus the default one, or the dialog's
  // default button when no push button has the focus.
  void UpdateDefaultButton();

 private:
  std::vector<HWND> TabStops() const;
  void CollectTabStops(HWND parent, std::vector<HWND>& stops) const;
  void FocusNextControl(bool forward);
  HWND VisiblePage() const;
  int PageWithAccessKey(wchar_t key) const;

  HWND dialog_ = nullptr;
  HWND pageControl_ = nullptr;
  HWND defaultButton_ = nullptr;
  std::vector<HWND> pushButtons_;
};

}  // namespace platform
