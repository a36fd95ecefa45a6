#pragma once
// The program's own small control classes, for what the system's controls
// lack: bevelled panels and tab pages that hold other controls, pictures
// drawn with a transparent background, labels with their own font and
// colour (links among them), and etched bevel lines.

#include <windows.h>

#include <functional>

#include "platform/Layout.h"

namespace platform {

// The colour of a link's text while the mouse leaves it alone.
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

// Whether the layout kind is drawn by one of the program's own classes.
bool IsOwnKind(layout::Kind kind);

// Creates one of the program's own controls for a layout entry, showing
// `text` (UTF-8).
HWND CreateOwnControl(const layout::Control& control, const char* text, HWND parent, int id,
                      DWORD visibility, HFONT font);

// Moves a control to the place and size of `placed` (an entry already
// scaled to the window's DPI). A label that sizes itself keeps only its
// place (a right-aligned one its right edge), a picture that does its size.
void PlaceControl(HWND hwnd, const layout::Control& placed);

// Whether `hwnd` is one of the program's own controls of that kind.
bool IsOwnControlOfKind(HWND hwnd, layout::Kind kind);

// Text and pictures of the program's own controls; a system control takes
// the font by WM_SETFONT.
void SetControlFont(HWND control, HFONT font);
void SetLabelColour(HWND label, COLORREF colour);
// Gives an image its picture (not owned) and sizes it to it.
void SetImagePicture(HWND image, HBITMAP picture);

// The control whose text names `control` for screen readers (a panel's
// option); a system control takes its name from the label before it.
void SetAccessibleNameSource(HWND control, HWND source);

// What a screen reader says a link does when it is used (UTF-8): the
// verb Windows gives its own links, in the user's language.
void SetLinkAction(HWND link, const std::string& action);

// A label's mouse: `onButton` for each press and release (the message),
// `onClick` for a left press and release over the label, and for Enter or
// Space on a link that has the focus. While the left button is held the
// label keeps the mouse.
void SetLabelMouse(HWND label, std::function<void(UINT message)> onButton,
                   std::function<void()> onClick);

}  // namespace platform
