#include "platform/win32/PopupMenu.h"

#include "platform/Failure.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/WideText.h"

namespace platform {

namespace {

const char kMenuInsertFailed[] = "Unable to insert a menu item";

}  // namespace

void PopupMenu::Create(const layout::MenuItem* table, std::size_t count, int dpi,
                       const Texts& texts) {
  // The menu before goes first: its items refer to its pictures.
  menu_ = Menu();
  pictures_.clear();
  menu_ = Menu(::CreatePopupMenu());
  if (!menu_.Valid()) throw Failure(PlatformText::InsertMenuItem, kMenuInsertFailed);
  // The submenu each item opens, by row; an item's parent comes before it.
  std::vector<HMENU> submenus(count, nullptr);
  for (std::size_t i = 0; i < count; ++i) {
    const layout::MenuItem& item = table[i];
    const int id = layout::MenuItemId(i);
    HMENU parent = item.parent == nullptr ? menu_.Get() : nullptr;
    for (std::size_t j = 0; item.parent != nullptr && j < i; ++j) {
      if (lstrcmpA(table[j].name, item.parent) == 0) parent = submenus[j];
    }

    // A menu keeps its own copy of each caption, in UTF-16.
    WideText caption(item.caption.In(texts));
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.wID = id;
    Menu submenu;
    if (lstrcmpW(caption.c_str(), L"-") == 0) {
      info.fMask = MIIM_FTYPE | MIIM_ID;
      info.fType = MFT_SEPARATOR;
    } else {
      info.fMask = MIIM_STRING | MIIM_ID;
      info.dwTypeData = caption.data();
      // An item that is the parent of later items opens a submenu.
      for (std::size_t j = i + 1; j < count; ++j) {
        if (table[j].parent != nullptr && lstrcmpA(table[j].parent, item.name) == 0) {
          submenu = Menu(::CreatePopupMenu());
          if (!submenu.Valid()) throw Failure(PlatformText::InsertMenuItem, kMenuInsertFailed);
          info.fMask |= MIIM_SUBMENU;
          info.hSubMenu = submenu.Get();
          break;
        }
      }
      if (item.picture != nullptr) {
        // Menus draw no transparency: the picture's background becomes the
        // menu's own colour.
        pictures_.push_back(LoadPictureOn(item.picture, ::GetSysColor(COLOR_MENU), dpi));
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = pictures_.back().Get();
      }
    }
    // A menu without one of its items would run the wrong commands from
    // the keyboard, and a submenu that no menu took would be lost.
    if (parent == nullptr || !::InsertMenuItemW(parent, ::GetMenuItemCount(parent), TRUE, &info)) {
      throw Failure(PlatformText::InsertMenuItem, kMenuInsertFailed);
    }
    submenus[i] = submenu.Release();  // its menu destroys it now
  }
}

}  // namespace platform
