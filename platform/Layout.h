#pragma once
// The shape of a window layout: one table per window, in resources/. The
// program creates its controls from these tables, and the end-to-end tests
// compare the tables with what is on the screen.

#include <cstddef>

namespace layout {

enum class Kind {
  Panel,        // a raised-and-lowered bevelled box that holds other controls
  Image,        // a picture, sized to it
  Label,        // text
  Bevel,        // an etched line along its top edge
  Button,       // push button
  CheckBox,
  RadioButton,  // grouped with the radio buttons of the same parent
  Edit,         // one-line edit box
  ListView,     // list style, check boxes, small icons
  ListBox,      // sorted, single selection
  PageControl,  // tabs; its pages are TabSheet entries
  TabSheet,     // one page of a page control (its text is the tab's caption)
};

// A font by face, character height in pixels at 96 DPI and style.
struct Font {
  const char* face;
  int height;
  bool bold;
  bool underline;
};

// The window itself.
struct Window {
  const char* className;
  const char* caption;
  int clientWidth;
  int clientHeight;
};

// Options of a control.
constexpr unsigned kAutoSize = 1;    // sized to its text or picture
constexpr unsigned kAlignRight = 2;  // with kAutoSize: `left` holds the right edge
constexpr unsigned kWordWrap = 4;
constexpr unsigned kTransparent = 8; // a picture whose bottom-left colour is not drawn
constexpr unsigned kLink = 16;       // a label the user clicks: hand cursor, underlined

// One control. Positions are in pixels relative to the parent's client
// area; `parent` is the name of another entry of the same table, or null
// for the window. `tabOrder` is the place among the focusable controls of
// the same parent, -1 for a control that never takes the focus.
struct Control {
  const char* name;
  Kind kind;
  const char* parent;
  int left;
  int top;
  int width;
  int height;
  const char* text;
  int tabOrder;
  unsigned options;
};

// Controls get the identifiers kFirstControlId + their index in the table,
// so that a test can find each control by its name.
constexpr int kFirstControlId = 1000;

}  // namespace layout

namespace layout {

// One item of a popup menu. A separator has the caption "-"; the items of
// a submenu name the item that opens it as their parent.
struct MenuItem {
  const char* name;
  const char* parent;   // null: the menu itself; else the item that opens this submenu
  const char* caption;
  const char* picture;  // a 16 x 16 bitmap resource, or null
};

constexpr int kFirstMenuId = 2000;

// The command that the item at `index` of a menu table posts to the menu's
// owner (WM_COMMAND, the identifier in wParam) when the user chooses it.
constexpr int MenuItemId(std::size_t index) { return kFirstMenuId + static_cast<int>(index); }

// The index of the entry named `name` in a control or menu table. Names
// match whole. A name that the table lacks ends in the throw, which cannot
// be evaluated while compiling: looked up for a case label or a constexpr
// value, a misspelt name fails the build instead of routing nothing.
template <typename Entry, std::size_t N>
constexpr std::size_t IndexOf(const Entry (&table)[N], const char* name) {
  for (std::size_t i = 0; i < N; ++i) {
    const char* a = table[i].name;
    const char* b = name;
    while (*a != '\0' && *a == *b) ++a, ++b;
    if (*a == *b) return i;
  }
  throw "no entry of that name in the table";
}

// The command of the item named `name`: known when the program is
// compiled, so a tool built beside it can send the same.
template <std::size_t N>
constexpr int MenuItemId(const MenuItem (&table)[N], const char* name) {
  return MenuItemId(IndexOf(table, name));
}

// The identifier of the control named `name`, as the window's controls
// are created from `table`.
template <std::size_t N>
constexpr int ControlId(const Control (&table)[N], const char* name) {
  return kFirstControlId + static_cast<int>(IndexOf(table, name));
}

}  // namespace layout
