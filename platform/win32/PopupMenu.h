#pragma once
// A popup menu made from a menu table, with its pictures.

#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/Language.h"
#include "platform/Layout.h"
#include "platform/win32/Handles.h"

namespace platform {

// Items get the identifiers layout::MenuItemId(their index in the table), the
// command that a chosen item posts to the menu's owner. The menu, its
// submenus and its pictures live as long as the object.
class PopupMenu {
 public:
  // The pictures are drawn for `dpi`, the captions in the language of
  // `texts`. Created again, the menu replaces the one before, with the same
  // identifiers.
  template <std::size_t N>
  void Create(const layout::MenuItem (&table)[N], int dpi, const Texts& texts) {
    Create(table, N, dpi, texts);
  }
  void Create(const layout::MenuItem* table, std::size_t count, int dpi, const Texts& texts);

  HMENU Get() const { return menu_.Get(); }

 private:
  std::vector<Bitmap> pictures_;
  // After the pictures, so that it is destroyed before them: its items
  // refer to them until then.
  Menu menu_;
};

}  // namespace platform
