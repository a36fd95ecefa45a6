#pragma once
// A popup menu made from a menu table, with its pictures.

#include <windows.h>

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/Layout.h"
#include "platform/win32/Handles.h"

namespace platform {

// Items get the identifiers layout::MenuItemId(their index in the table), the
// command that a chosen item posts to the menu's owner. Destroyed with its
// owner.
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

 private:
  HMENU menu_ = nullptr;
  std::vector<Bitmap> pictures_;
};

}  // namespace platform
