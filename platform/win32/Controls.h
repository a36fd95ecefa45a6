#pragma once
// The controls of the program's windows, made from the layout tables in
// resources/: the system's own buttons, edits and lists, and four small
// classes of the program's own for what the system lacks: bevelled panels,
// pictures, labels with their own font and colour, and bevel lines.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/Handles.h"
#include "resources/Layout.h"

namespace platform {

// A font by face name and character height in pixels (a negative LOGFONT
// height: the characters, not the cell, are that high).
Font CreateFontByName(const char* face, int height, bool bold = false, bool underline = false);

// A picture or icon of the program's resources.
Bitmap LoadBitmapResource(const char* name);
Icon LoadIconResource(const char* name, int size);

// A picture whose background (the colour of its bottom-left pixel) is
// replaced by `background`, for places that draw no transparency.
Bitmap LoadPictureOn(const char* name, COLORREF background);

// A popup menu made from a menu table, with its pictures. Destroyed with
// its owner.
class PopupMenu {
 public:
  PopupMenu() = default;
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  ~PopupMenu();

  template <std::size_t N>
  void Create(const layout::MenuItem (&table)[N]) {
    Create(table, N);
  }
  void Create(const layout::MenuItem* table, std::size_t count);

  HMENU Get() const { return menu_; }
  int IdOf(const std::string& name) const;
  std::string NameOf(int id) const;

 private:
  HMENU menu_ = nullptr;
  std::vector<Bitmap> pictures_;
  std::map<std::string, int> ids_;
};

// The controls of one window, by their names in the layout table.
class ControlSet {
 public:
  // Creates every control of `table` in `window`, each with `font`.
  template <std::size_t N>
  void Create(HWND window, const layout::Control (&table)[N], HFONT font) {
    Create(window, table, N, font);
  }
  void Create(HWND window, const layout::Control* table, std::size_t count, HFONT font);

  HWND operator[](const std::string& name) const;
  // The name of the control with this identifier, or "".
  std::string NameOf(int id) const;
  int IdOf(const std::string& name) const;

 private:
  std::map<std::string, HWND> byName_;
  std::map<int, std::string> byId_;
};

// The BS_ type of a system button (push, check, radio...), -1 for any
// other window.
LONG ButtonType(HWND hwnd);

// The whole text of a window or control.
std::string WindowTextOf(HWND hwnd);

// Text and pictures of the program's own controls.
void SetControlFont(HWND control, HFONT font);
void SetLabelColour(HWND label, COLORREF colour);
COLORREF LabelColour(HWND label);
// Gives an image its picture (not owned) and sizes it to it.
void SetImagePicture(HWND image, HBITMAP picture);
HBITMAP ImagePicture(HWND image);

// A label's mouse: `onButton` for each press and release (the message),
// `onClick` for a left press and release over the label. While the left
// button is held the label keeps the mouse.
void SetLabelMouse(HWND label, std::function<void(UINT message)> onButton,
                   std::function<void()> onClick);

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

}  // namespace platform
