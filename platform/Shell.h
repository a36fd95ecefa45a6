#pragma once
// The Windows shell: the system's icon list for drives, the notification-area
// icon and opening documents and links.

#include <string>

#include "platform/Types.h"

namespace platform {

// The fields of the notification-area icon record that the program fills.
struct NotifyIconRecord {
  WindowHandle window = nullptr;
  unsigned id = 0;
  unsigned flags = 0;
  unsigned callbackMessage = 0;
  IconHandle icon = nullptr;
  std::string tip;
};

// The record's flags: which of its fields the shell reads.
constexpr unsigned kNifMessage = 0x1;
constexpr unsigned kNifIcon = 0x2;
constexpr unsigned kNifTip = 0x4;

constexpr unsigned kNimAdd = 0;
constexpr unsigned kNimModify = 1;
constexpr unsigned kNimDelete = 2;

class Shell {
 public:
  virtual ~Shell() = default;

  // SHGetFileInfoA("", 0, ..., SHGFI_SYSICONINDEX | SHGFI_SMALLICON): the
  // system's list of small icons, or null. The list belongs to the system
  // and must never be destroyed.
  virtual ImageListHandle SystemSmallImageList() = 0;

  // SHGetFileInfoA(path, 0, ..., SHGFI_SYSICONINDEX): the index of the
  // path's icon in the system image list.
  virtual int SystemIconIndex(const std::string& path) = 0;

  // Shell_NotifyIconA with a record of the first version's size (88 bytes).
  virtual bool NotifyIcon(unsigned message, const NotifyIconRecord& record) = 0;

  // Shell_NotifyIconW(NIM_MODIFY) of the record's icon with a balloon: the
  // warning icon, `title` and `text`, shown texts (UTF-8), cut to what the
  // shell's fields hold.
  // False where the shell has no balloons (before Windows 2000 and Internet
  // Explorer 5's shell), or where the icon is not shown.
  virtual bool ShowBalloon(const NotifyIconRecord& record, const std::string& title,
                           const std::string& text) = 0;

  // ShellExecuteA(owner, verb, file, parameters, directory, show).
  virtual void Execute(WindowHandle owner, const std::string& verb, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       int show) = 0;
};

}  // namespace platform
