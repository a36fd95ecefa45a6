#pragma once
// The shape of a window layout: one table per window, in resources/. The
// program creates its controls from these tables, and the end-to-end tests
// compare the tables with what is on the screen.

#include <cstddef>
#include <vector>

#include "platform/Language.h"

namespace layout {

// A window's or control's text: one of the program's texts, by its row in
// the table of texts, which a language file may translate; or a fixed text
// shown as it stands in every language (a name, an address, "...").
struct Caption {
  constexpr Caption(const char* fixedText) : fixed(fixedText) {}
  constexpr Caption(platform::TextId textId) : fixed(nullptr), id(textId) {}
  const char* fixed;
  platform::TextId id{};

  // The text shown, UTF-8.
  const char* In(const platform::Texts& texts) const { return fixed != nullptr ? fixed : texts[id]; }
  // Whether a language file gave the text shown.
  bool Translated(const platform::Texts& texts) const {
    return fixed == nullptr && texts.IsTranslated(id);
  }
};

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
  Caption caption;
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
  Caption text;
  int tabOrder;
  unsigned options;
};

// Controls get the identifiers kFirstControlId + their index in the table,
// so that a test can find each control by its name.
constexpr int kFirstControlId = 1000;

// How far the control of `row` may grow to show a text longer than the one
// it was designed for, in the table's pixels: its right edge up to `right`
// and, at a width of `width`, its bottom edge up to `bottom`. The room is
// what its parent leaves free of the other controls (kGrowGap apart from
// them) and within the parent's margin (kGrowMargin); a control never
// shrinks, and one of the window itself keeps its size, since the windows
// keep theirs.
struct Room {
  int right;
  int bottom;
};
constexpr int kGrowGap = 4;
constexpr int kGrowMargin = 8;
Room RoomToGrow(const Control* table, std::size_t count, std::size_t row, int width);
// A control whose name, for a screen reader, is the text of another (its
// `by`): an edit box or a list named by the label before it, a panel by
// the option whose controls it holds. Both are rows of the same table.
struct NamedBy {
  std::size_t control;
  std::size_t by;
};

// The row of each control's parent, `count` for the window itself; a
// parent that the table lacks is a mistake in the program (a Failure).
std::vector<std::size_t> ParentRows(const Control* table, std::size_t count);

// The order in which a window's controls are made, which is the window
// order Windows keeps: parents before their children; among siblings the
// tab order, which the dialog keys follow, after the pictures and labels
// that take no focus; and a label that names a control of its parent just
// before it, since screen readers name a control by the static text that
// precedes it in the window order.
std::vector<std::size_t> WindowOrder(const Control* table, std::size_t count,
                                     const NamedBy* names, std::size_t nameCount);

}  // namespace layout

namespace layout {

// One item of a popup menu. A separator has the caption "-"; the items of
// a submenu name the item that opens it as their parent.
struct MenuItem {
  const char* name;
  const char* parent;   // null: the menu itself; else the item that opens this submenu
  Caption caption;
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
